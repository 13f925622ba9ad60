// Dither engines: turn 24-bit pixels into indices of a target palette, one
// row at a time, through a colour lookup. The plain engine takes the nearest
// entry; the error-diffusion engines spread each pixel's quantisation error
// over pixels not yet visited. Rows are scanned serpentine: left to right
// first, then alternating; the caller feeds pixels from Column() stepping by
// Direction() and calls BeginRow() after each row.
#pragma once
#include "gifimage/color_lookup.h"

#include <cstdint>
#include <memory>
#include <vector>

enum TDitherMode : uint8_t {
    dmNearest,
    dmFloydSteinberg,
    dmStucki,
    dmSierra,
    dmJaJuNI,
    dmSteveArche,
    dmBurkes,
};

class TDitherEngine {
public:
    TDitherEngine(int Width, TColorLookup& Lookup);
    virtual ~TDitherEngine() = default;
    TDitherEngine(const TDitherEngine&) = delete;
    TDitherEngine& operator=(const TDitherEngine&) = delete;

    // The index of the chosen entry, its colour in R, G, B; moves one column on.
    virtual uint8_t DitherPixel(uint8_t Red, uint8_t Green, uint8_t Blue,
                                uint8_t& R, uint8_t& G, uint8_t& B);
    // Passes over a pixel that is not dithered (a transparent one): it
    // neither takes nor spreads error.
    void SkipColumn() { FColumn += FDirection; }
    virtual void BeginRow();

    int Column() const { return FColumn; }
    int Direction() const { return FDirection; }
    int Width() const { return FWidth; }

protected:
    int FDirection = 1;
    int FColumn = 0;
    TColorLookup& FLookup;
    int FWidth;
};

// One tap of an error-diffusion kernel: Ahead is counted in the scan
// direction of the current row, Below is 0 for the current row.
struct TDitherTap {
    int Ahead;
    int Below;
    int Weight;
};

// An engine driven by a kernel table. Each channel keeps one row of 32-bit
// accumulators (in units of 1/Divisor) per kernel row, with spare entries at
// both ends so that taps beyond the image edges land where nothing reads.
class TErrorDiffusionDitherer : public TDitherEngine {
public:
    uint8_t DitherPixel(uint8_t Red, uint8_t Green, uint8_t Blue,
                        uint8_t& R, uint8_t& G, uint8_t& B) override;
    void BeginRow() override;

protected:
    template <std::size_t N>
    TErrorDiffusionDitherer(int Width, TColorLookup& Lookup, const TDitherTap (&Kernel)[N], int Divisor)
        : TErrorDiffusionDitherer(Width, Lookup, Kernel, N, Divisor) {}

private:
    TErrorDiffusionDitherer(int Width, TColorLookup& Lookup, const TDitherTap* Kernel, std::size_t Taps,
                            int Divisor);
    int32_t* Cell(int Below, int Column) const { return FRows[Below] + (Column + FMargin) * 3; }

    const TDitherTap* FKernel;
    std::size_t FTaps;
    int FDivisor;
    int FMargin = 0;                // spare entries at each end of a row
    std::size_t FRowCells = 0;      // three channels per entry
    std::vector<int32_t> FErrors;   // every row, one block
    std::vector<int32_t*> FRows;    // this row first, then the rows below it
};

class TFloydSteinbergDitherer : public TErrorDiffusionDitherer {
public:
    TFloydSteinbergDitherer(int Width, TColorLookup& Lookup);
};

class TStuckiDitherer : public TErrorDiffusionDitherer {
public:
    TStuckiDitherer(int Width, TColorLookup& Lookup);
};

class TSierraDitherer : public TErrorDiffusionDitherer {
public:
    TSierraDitherer(int Width, TColorLookup& Lookup);
};

class TJaJuNiDitherer : public TErrorDiffusionDitherer {
public:
    TJaJuNiDitherer(int Width, TColorLookup& Lookup);
};

class TSteveArcheDitherer : public TErrorDiffusionDitherer {
public:
    TSteveArcheDitherer(int Width, TColorLookup& Lookup);
};

class TBurkesDitherer : public TErrorDiffusionDitherer {
public:
    TBurkesDitherer(int Width, TColorLookup& Lookup);
};

std::unique_ptr<TDitherEngine> CreateDitherEngine(TDitherMode Mode, int Width, TColorLookup& Lookup);
