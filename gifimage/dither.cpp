#include "gifimage/dither.h"

#include <algorithm>
#include <cstdlib>

TDitherEngine::TDitherEngine(int Width, TColorLookup& Lookup) : FLookup(Lookup), FWidth(Width) {}

uint8_t TDitherEngine::DitherPixel(uint8_t Red, uint8_t Green, uint8_t Blue,
                                   uint8_t& R, uint8_t& G, uint8_t& B)
{
    uint8_t index = FLookup.FindNearest(Red, Green, Blue, R, G, B);
    FColumn += FDirection;
    return index;
}

void TDitherEngine::BeginRow()
{
    FDirection = -FDirection;
    FColumn = FDirection > 0 ? 0 : FWidth - 1;
}

TErrorDiffusionDitherer::TErrorDiffusionDitherer(int Width, TColorLookup& Lookup, const TDitherTap* Kernel,
                                                 std::size_t Taps, int Divisor)
    : TDitherEngine(Width, Lookup), FKernel(Kernel), FTaps(Taps), FDivisor(Divisor)
{
    int below = 0;
    for (std::size_t i = 0; i < Taps; ++i) {
        FMargin = std::max(FMargin, std::abs(Kernel[i].Ahead));
        below = std::max(below, Kernel[i].Below);
    }
    FRowCells = std::size_t(Width + 2 * FMargin) * 3;
    FErrors.assign(FRowCells * (below + 1), 0);
    for (int row = 0; row <= below; ++row) FRows.push_back(FErrors.data() + FRowCells * row);
}

uint8_t TErrorDiffusionDitherer::DitherPixel(uint8_t Red, uint8_t Green, uint8_t Blue,
                                             uint8_t& R, uint8_t& G, uint8_t& B)
{
    const int32_t* incoming = Cell(0, FColumn);
    int value[3] = {Red, Green, Blue};
    for (int c = 0; c < 3; ++c) {
        // C++ division truncates toward zero for negative sums too, as intended.
        value[c] = std::clamp(value[c] + (incoming[c] + FDivisor / 2) / FDivisor, 0, 255);
    }
    uint8_t index = FLookup.FindNearest(uint8_t(value[0]), uint8_t(value[1]), uint8_t(value[2]), R, G, B);
    const int error[3] = {value[0] - R, value[1] - G, value[2] - B};
    if (error[0] | error[1] | error[2]) {
        for (std::size_t t = 0; t < FTaps; ++t) {
            const TDitherTap& tap = FKernel[t];
            int32_t* cell = Cell(tap.Below, FColumn + tap.Ahead * FDirection);
            for (int c = 0; c < 3; ++c) cell[c] += tap.Weight * error[c];
        }
    }
    FColumn += FDirection;
    return index;
}

void TErrorDiffusionDitherer::BeginRow()
{
    std::fill_n(FRows.front(), FRowCells, 0);
    std::rotate(FRows.begin(), FRows.begin() + 1, FRows.end());
    TDitherEngine::BeginRow();
}

namespace {

// The published kernels; in each the weights sum to the divisor.
constexpr TDitherTap FloydSteinberg[] = {
    {1, 0, 7},
    {-1, 1, 3}, {0, 1, 5}, {1, 1, 1},
};
constexpr TDitherTap Stucki[] = {
    {1, 0, 8}, {2, 0, 4},
    {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4}, {2, 1, 2},
    {-2, 2, 1}, {-1, 2, 2}, {0, 2, 4}, {1, 2, 2}, {2, 2, 1},
};
constexpr TDitherTap Sierra[] = {
    {1, 0, 5}, {2, 0, 3},
    {-2, 1, 2}, {-1, 1, 4}, {0, 1, 5}, {1, 1, 4}, {2, 1, 2},
    {-1, 2, 2}, {0, 2, 3}, {1, 2, 2},
};
constexpr TDitherTap JarvisJudiceNinke[] = {
    {1, 0, 7}, {2, 0, 5},
    {-2, 1, 3}, {-1, 1, 5}, {0, 1, 7}, {1, 1, 5}, {2, 1, 3},
    {-2, 2, 1}, {-1, 2, 3}, {0, 2, 5}, {1, 2, 3}, {2, 2, 1},
};
constexpr TDitherTap StevensonArce[] = {
    {2, 0, 32},
    {-3, 1, 12}, {-1, 1, 26}, {1, 1, 30}, {3, 1, 16},
    {-2, 2, 12}, {0, 2, 26}, {2, 2, 12},
    {-3, 3, 5}, {-1, 3, 12}, {1, 3, 12}, {3, 3, 5},
};
constexpr TDitherTap Burkes[] = {
    {1, 0, 8}, {2, 0, 4},
    {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4}, {2, 1, 2},
};

} // namespace

TFloydSteinbergDitherer::TFloydSteinbergDitherer(int Width, TColorLookup& Lookup)
    : TErrorDiffusionDitherer(Width, Lookup, FloydSteinberg, 16) {}
TStuckiDitherer::TStuckiDitherer(int Width, TColorLookup& Lookup)
    : TErrorDiffusionDitherer(Width, Lookup, Stucki, 42) {}
TSierraDitherer::TSierraDitherer(int Width, TColorLookup& Lookup)
    : TErrorDiffusionDitherer(Width, Lookup, Sierra, 32) {}
TJaJuNiDitherer::TJaJuNiDitherer(int Width, TColorLookup& Lookup)
    : TErrorDiffusionDitherer(Width, Lookup, JarvisJudiceNinke, 48) {}
TSteveArcheDitherer::TSteveArcheDitherer(int Width, TColorLookup& Lookup)
    : TErrorDiffusionDitherer(Width, Lookup, StevensonArce, 200) {}
TBurkesDitherer::TBurkesDitherer(int Width, TColorLookup& Lookup)
    : TErrorDiffusionDitherer(Width, Lookup, Burkes, 32) {}

std::unique_ptr<TDitherEngine> CreateDitherEngine(TDitherMode Mode, int Width, TColorLookup& Lookup)
{
    switch (Mode) {
    case dmFloydSteinberg: return std::make_unique<TFloydSteinbergDitherer>(Width, Lookup);
    case dmStucki: return std::make_unique<TStuckiDitherer>(Width, Lookup);
    case dmSierra: return std::make_unique<TSierraDitherer>(Width, Lookup);
    case dmJaJuNI: return std::make_unique<TJaJuNiDitherer>(Width, Lookup);
    case dmSteveArche: return std::make_unique<TSteveArcheDitherer>(Width, Lookup);
    case dmBurkes: return std::make_unique<TBurkesDitherer>(Width, Lookup);
    case dmNearest: break;
    }
    return std::make_unique<TDitherEngine>(Width, Lookup);
}
