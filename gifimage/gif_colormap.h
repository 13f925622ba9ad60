// GIF colour tables: the global one of the header and the local one of a
// frame. Up to 256 entries; a map sorted by use (DoOptimize) keeps a flag
// that the writer stores and that changes how IndexOf searches.
#pragma once
#include "gif_types.h"
#include "palette.h"
#include "toolkit/streams.h"

#include <cstdint>
#include <vector>

class TGIFHeader;
class TGIFSubImage;

// One histogram entry: pixels using the colour, and its index before sorting.
struct TUsageCount {
    int32_t Count;
    int32_t Index;
};

class TGIFColorMap : public TPersistent {
public:
    CLASS_NAME(TGIFColorMap)
    TGIFColorMap() = default;
    // Clears only: the owner is notified by the variants' destructors,
    // while the variant still exists.
    ~TGIFColorMap() override = default;
    TGIFColorMap(const TGIFColorMap&) = delete;
    TGIFColorMap& operator=(const TGIFColorMap&) = delete;

    // A toolkit colour holds red in bits 0-7, green 8-15, blue 16-23.
    static TGIFColor Color2RGB(uint32_t Color);
    static uint32_t RGB2Color(TGIFColor Entry);

    void Clear();
    int Count() const { return FCount; }
    int Capacity() const { return int(Colors.size()); }
    bool Optimized() const { return Sorted; }
    // Marks the entries as ordered by use, most used first.
    void SetOptimized() { Sorted = true; }
    const TGIFColor* Data() const { return Colors.data(); }

    uint32_t GetColor(int Index);
    void SetColor(int Index, uint32_t Color);
    int Add(uint32_t Color);
    int AddUnique(uint32_t Color);
    int IndexOf(uint32_t Color) const;
    void Delete(int Index);
    void SetCapacity(int Size);
    int GetBitsPerPixel() const;

    void LoadFromStream(TStream* Stream, int Count);
    void SaveToStream(TStream* Stream) const; // padded to a power of two
    void ImportPalette(const TGIFPalette* Palette);
    void ImportColorMap(const TGIFColor* Map, int Count);
    // 4-byte entries stored blue, green, red, reserved.
    void ImportColorTable(const void* Table, int Count);
    // Entries flagged no-collapse; none for an empty map. The caller owns it.
    TGIFPaletteRef ExportPalette() const;
    void Assign(TPersistent* Source) override;
    // Sorts by use, most used first, and drops unused colours; true when
    // the map is now marked sorted.
    bool DoOptimize();

    virtual void Warning(TGIFSeverity Severity, const std::string& Message) = 0;
    virtual void BuildHistogram(TUsageCount* Histogram) = 0;
    virtual void MapImages(const uint8_t* Map) = 0;
    virtual bool Optimize() = 0;
    virtual void Changed() = 0;

private:
    std::vector<TGIFColor> Colors; // Capacity() entries
    int FCount = 0;
    bool Sorted = false;
};

class TGIFGlobalColorMap : public TGIFColorMap {
public:
    CLASS_NAME(TGIFGlobalColorMap)
    explicit TGIFGlobalColorMap(TGIFHeader* Header) : Header(Header) {}
    ~TGIFGlobalColorMap() override;
    void Warning(TGIFSeverity Severity, const std::string& Message) override;
    void BuildHistogram(TUsageCount* Histogram) override;
    void MapImages(const uint8_t* Map) override;
    bool Optimize() override;
    void Changed() override;

private:
    TGIFHeader* const Header;
};

class TGIFLocalColorMap : public TGIFColorMap {
public:
    CLASS_NAME(TGIFLocalColorMap)
    explicit TGIFLocalColorMap(TGIFSubImage* SubImage) : SubImage(SubImage) {}
    ~TGIFLocalColorMap() override;
    void Warning(TGIFSeverity Severity, const std::string& Message) override;
    void BuildHistogram(TUsageCount* Histogram) override;
    void MapImages(const uint8_t* Map) override;
    bool Optimize() override;
    void Changed() override;

private:
    TGIFSubImage* const SubImage;
};
