#include "gif_colormap.h"
#include "gif_header.h"
#include "gif_image.h"
#include "gif_subimage.h"
#include "gif_util.h"

#include <algorithm>
#include <cstring>
#include <utility>

TGIFColor TGIFColorMap::Color2RGB(uint32_t Color)
{
    return {uint8_t(Color), uint8_t(Color >> 8), uint8_t(Color >> 16)};
}

uint32_t TGIFColorMap::RGB2Color(TGIFColor Entry)
{
    return Entry.Red | uint32_t(Entry.Green) << 8 | uint32_t(Entry.Blue) << 16;
}

void TGIFColorMap::Clear()
{
    Colors.clear();
    Colors.shrink_to_fit();
    FCount = 0;
    Sorted = false;
}

uint32_t TGIFColorMap::GetColor(int Index)
{
    if (Index < 0 || Index >= FCount) {
        Warning(gsWarning, GIFTexts::BadColorIndex);
        if (FCount == 0) RaiseGifError(GIFTexts::EmptyColorTable);
        Index = 0;
    }
    return RGB2Color(Colors[Index]);
}

void TGIFColorMap::SetColor(int Index, uint32_t Color)
{
    if (Index < 0 || Index >= FCount) RaiseGifError(GIFTexts::BadColorIndex);
    Colors[Index] = Color2RGB(Color);
    Changed();
}

int TGIFColorMap::Add(uint32_t Color)
{
    if (FCount >= 256) RaiseGifError(GIFTexts::ColorTableOverflow);
    if (FCount >= Capacity()) SetCapacity(FCount + 1);
    Colors[FCount] = Color2RGB(Color);
    Sorted = false;
    ++FCount;
    Changed();
    return FCount - 1;
}

int TGIFColorMap::AddUnique(uint32_t Color)
{
    const int index = IndexOf(Color);
    return index >= 0 ? index : Add(Color);
}

int TGIFColorMap::IndexOf(uint32_t Color) const
{
    const TGIFColor c = Color2RGB(Color);
    auto same = [&](int i) {
        return Colors[i].Red == c.Red && Colors[i].Green == c.Green && Colors[i].Blue == c.Blue;
    };
    // A sorted map has its most used colours first.
    if (Sorted) {
        for (int i = 0; i < FCount; ++i)
            if (same(i)) return i;
    } else {
        for (int i = FCount - 1; i >= 0; --i)
            if (same(i)) return i;
    }
    return -1;
}

void TGIFColorMap::Delete(int Index)
{
    if (Index < 0 || Index >= FCount) RaiseGifError(GIFTexts::BadColorIndex);
    std::move(Colors.begin() + Index + 1, Colors.begin() + FCount, Colors.begin() + Index);
    --FCount;
    Sorted = false;
    Changed();
}

void TGIFColorMap::SetCapacity(int Size)
{
    if (Size < Capacity()) return;
    const int capacity = Size <= 16 ? 16 : std::min((Size + 31) & ~31, 256);
    Colors.resize(capacity);
}

int TGIFColorMap::GetBitsPerPixel() const { return BitsForColors(FCount); }

void TGIFColorMap::LoadFromStream(TStream* Stream, int Count)
{
    // A table holds 0 to 256 colours; the map stays as it was otherwise.
    if (Count > 256) RaiseGifError(GIFTexts::ColorTableOverflow);
    if (Count < 0) RaiseGifError(GIFTexts::BadColorIndex);
    Clear();
    SetCapacity(Count);
    ReadExactly(Stream, Colors.data(), Count * 3);
    FCount = Count;
}

void TGIFColorMap::SaveToStream(TStream* Stream) const
{
    if (FCount == 0) return;
    Stream->WriteBuffer(Colors.data(), FCount * 3);
    const std::vector<TGIFColor> padding((1 << GetBitsPerPixel()) - FCount, TGIFColor{0, 0, 0});
    if (!padding.empty()) Stream->WriteBuffer(padding.data(), int32_t(padding.size() * 3));
}

void TGIFColorMap::ImportPalette(const TGIFPalette* Palette)
{
    Clear();
    TPaletteEntry entries[256];
    const int n = Palette ? Palette->GetEntries(0, 256, entries) : 0;
    if (n <= 0) return;
    SetCapacity(n);
    for (int i = 0; i < n; ++i) Colors[i] = {entries[i].peRed, entries[i].peGreen, entries[i].peBlue};
    FCount = n;
    Changed();
}

void TGIFColorMap::ImportColorMap(const TGIFColor* Map, int Count)
{
    if (Count > 256) RaiseGifError(GIFTexts::ColorTableOverflow);
    Clear();
    if (Count <= 0) return;
    SetCapacity(Count);
    std::copy_n(Map, Count, Colors.begin());
    FCount = Count;
    Changed();
}

void TGIFColorMap::ImportColorTable(const void* Table, int Count)
{
    if (Count > 256) RaiseGifError(GIFTexts::ColorTableOverflow);
    Clear();
    if (Count <= 0) return;
    SetCapacity(Count);
    const uint8_t* quad = static_cast<const uint8_t*>(Table);
    for (int i = 0; i < Count; ++i, quad += 4) Colors[i] = {quad[2], quad[1], quad[0]};
    FCount = Count;
    Changed();
}

TGIFPaletteRef TGIFColorMap::ExportPalette() const
{
    if (FCount == 0) return nullptr;
    std::vector<TPaletteEntry> entries(FCount);
    for (int i = 0; i < FCount; ++i)
        entries[i] = {Colors[i].Red, Colors[i].Green, Colors[i].Blue, PC_NOCOLLAPSE_FLAG};
    return std::make_unique<TEntryPalette>(std::move(entries));
}

void TGIFColorMap::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TGIFColorMap*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this) return;
    Clear();
    Colors.assign(source->Colors.size(), TGIFColor{0, 0, 0});
    std::copy_n(source->Colors.begin(), source->FCount, Colors.begin());
    FCount = source->FCount;
    Sorted = source->Sorted;
    Changed();
}

namespace {
// Most used first; ties fall where this partitioning leaves them.
void SortByUse(TUsageCount* a, int lo, int hi)
{
    int i;
    do {
        i = lo;
        int j = hi;
        const int pivot = a[(lo + hi) / 2].Count;
        do {
            while (a[i].Count > pivot) ++i;
            while (a[j].Count < pivot) --j;
            if (i <= j) {
                std::swap(a[i], a[j]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (lo < j) SortByUse(a, lo, j);
        lo = i;
    } while (i < hi);
}
} // namespace

bool TGIFColorMap::DoOptimize()
{
    if (FCount <= 1) return false;
    Sorted = true;
    TUsageCount histogram[256];
    BuildHistogram(histogram);
    SortByUse(histogram, 0, FCount - 1);

    bool unchanged = true;
    for (int i = 0; i < FCount && unchanged; ++i) unchanged = histogram[i].Index == i;
    if (unchanged) return true;

    // Pixels beyond the table keep their value.
    uint8_t map[256];
    for (int i = 0; i < 256; ++i) map[i] = uint8_t(i);
    for (int i = 0; i < FCount; ++i) map[histogram[i].Index] = uint8_t(i);
    MapImages(map);

    std::vector<TGIFColor> sorted(Colors);
    for (int k = 0; k < FCount; ++k) sorted[map[k]] = Colors[k];
    Colors = std::move(sorted);
    for (int i = 0; i < FCount; ++i)
        if (histogram[i].Count == 0) {
            FCount = i;
            break;
        }
    Changed();
    return true;
}

namespace {
void CountPixels(TGIFSubImage* Frame, TUsageCount* Histogram, int Count)
{
    const uint8_t* p = Frame->Data();
    for (int32_t i = 0; i < Frame->DataSize(); ++i)
        if (p[i] < Count) ++Histogram[p[i]].Count;
}

void StartHistogram(TUsageCount* Histogram, int Count)
{
    for (int i = 0; i < Count; ++i) Histogram[i] = {0, i};
}
} // namespace

TGIFGlobalColorMap::~TGIFGlobalColorMap() { Changed(); }

void TGIFGlobalColorMap::Warning(TGIFSeverity Severity, const std::string& Message)
{
    Header->Image()->Warning(this, Severity, Message);
}

void TGIFGlobalColorMap::BuildHistogram(TUsageCount* Histogram)
{
    StartHistogram(Histogram, Count());
    TGIFImageList* frames = Header->Image()->Images();
    for (int i = 0; i < frames->GetCount(); ++i)
        if (frames->GetImage(i)->GetActiveColorMap() == this) CountPixels(frames->GetImage(i), Histogram, Count());
}

void TGIFGlobalColorMap::MapImages(const uint8_t* Map)
{
    TGIFImageList* frames = Header->Image()->Images();
    for (int i = 0; i < frames->GetCount(); ++i)
        if (frames->GetImage(i)->GetActiveColorMap() == this) frames->GetImage(i)->MapColorIndices(Map);
    // The background index names a colour of this map too, unless it points
    // past the table (the stream's own business, kept as it came).
    const uint8_t background = Header->GetBackgroundColorIndex();
    if (background < Count()) Header->SetBackgroundColorIndex(Map[background]);
}

bool TGIFGlobalColorMap::Optimize()
{
    return Header->Image()->Images()->GetCount() > 0 && DoOptimize();
}

void TGIFGlobalColorMap::Changed() { Header->Image()->SetKeptPalette(nullptr); }

TGIFLocalColorMap::~TGIFLocalColorMap() { Changed(); }

void TGIFLocalColorMap::Warning(TGIFSeverity Severity, const std::string& Message)
{
    SubImage->Image()->Warning(this, Severity, Message);
}

void TGIFLocalColorMap::BuildHistogram(TUsageCount* Histogram)
{
    StartHistogram(Histogram, Count());
    CountPixels(SubImage, Histogram, Count());
}

void TGIFLocalColorMap::MapImages(const uint8_t* Map) { SubImage->MapColorIndices(Map); }

bool TGIFLocalColorMap::Optimize() { return DoOptimize(); }

void TGIFLocalColorMap::Changed() { SubImage->ColorMapChanged(); }
