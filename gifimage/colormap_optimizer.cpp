#include "colormap_optimizer.h"
#include "gif_image.h"
#include "gif_subimage.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

bool ByUseCount(const THistogramEntry* A, const THistogramEntry* B) { return A->Count > B->Count; }

bool ByColourValue(const THistogramEntry* A, const THistogramEntry* B) { return A->Color > B->Color; }

int ChannelSum(uint32_t Color) { return int(Color & 0xFF) + int((Color >> 8) & 0xFF) + int((Color >> 16) & 0xFF); }

} // namespace

THistogram::THistogram(TGIFColorMap* Map) : Entries(size_t(Map->Count())), Map(Map)
{
    for (int i = 0; i < Map->Count(); ++i) {
        Entries[i].OldIndex = i;
        Entries[i].Color = TGIFColorMap::RGB2Color(Map->Data()[i]);
        List.push_back(&Entries[i]);
    }
}

bool THistogram::CollectFrameColours(TGIFSubImage* Frame)
{
    if (Frame->GetEmpty()) return false;
    Frames.push_back(Frame);
    const int transparent = Frame->TransparentIndex();
    const int count = int(Entries.size());
    bool used = false, warned = false;
    uint8_t* pixel = Frame->Data();
    for (int32_t i = 0; i < Frame->DataSize(); ++i, ++pixel) {
        if (*pixel == transparent) {
            used = true;
            continue;
        }
        if (*pixel >= count) {
            *pixel = 0;
            if (!warned) Frame->Warning(gsWarning, GIFTexts::ColorNotInTable);
            warned = true;
        }
        THistogramEntry& entry = Entries[*pixel];
        if (entry.Count == INT32_MAX) break;
        ++entry.Count;
    }
    if (transparent >= 0 && !used) {
        // Nothing sees through: the frame is opaque.
        Frame->GraphicControlExtension->SetTransparentColorIndex(0);
        Frame->GraphicControlExtension->SetTransparent(false);
    }
    return used;
}

int THistogram::DropUnusedColours()
{
    std::sort(List.begin(), List.end(), ByUseCount);
    auto unused = std::find_if(List.begin(), List.end(), [](const THistogramEntry* E) { return E->Count == 0; });
    for (auto e = unused; e != List.end(); ++e) (*e)->Count = -1;
    List.erase(unused, List.end());
    return int(List.size());
}

void THistogram::MapImages(bool TransparencyUsed, uint8_t NewTransparentIndex)
{
    uint8_t table[256] = {};
    for (const THistogramEntry& entry : Entries)
        if (entry.NewIndex < 256) table[entry.OldIndex] = uint8_t(entry.NewIndex);
    for (TGIFSubImage* frame : Frames) {
        const int transparent = TransparencyUsed ? frame->TransparentIndex() : -1;
        uint8_t* pixel = frame->Data();
        for (int32_t i = 0; i < frame->DataSize(); ++i, ++pixel)
            *pixel = *pixel == transparent ? NewTransparentIndex : table[*pixel];
        if (transparent >= 0) frame->GraphicControlExtension->SetTransparentColorIndex(NewTransparentIndex);
    }
}

void TColorMapOptimizer::CollectImageColours()
{
    TransparencyUsed = false;
    TGIFImageList* frames = Image->Images();
    if (Image->GetColorMap()->Count() > 0) {
        auto global = std::make_unique<THistogram>(Image->GetColorMap());
        for (int i = 0; i < frames->GetCount(); ++i) {
            TGIFSubImage* frame = frames->GetImage(i);
            if (frame->GetColorMap()->Count() == 0 && !frame->GetEmpty())
                TransparencyUsed |= global->CollectFrameColours(frame);
        }
        if (!global->Frames.empty()) Histograms.push_back(std::move(global));
    }
    for (int i = 0; i < frames->GetCount(); ++i) {
        TGIFSubImage* frame = frames->GetImage(i);
        if (frame->GetEmpty() || frame->GetColorMap()->Count() == 0) continue;
        auto local = std::make_unique<THistogram>(frame->GetColorMap());
        TransparencyUsed |= local->CollectFrameColours(frame);
        Histograms.push_back(std::move(local));
    }
}

void TColorMapOptimizer::FoldEqualColours()
{
    std::sort(Merged.begin(), Merged.end(), ByColourValue);
    THistogramEntry* master = nullptr;
    for (THistogramEntry* entry : Merged) {
        if (master && entry->Color == master->Color) {
            master->Count += entry->Count;
            entry->Count = 0;
            entry->Master = master;
        } else {
            master = entry;
        }
    }
}

void TColorMapOptimizer::RankSharedColours()
{
    std::sort(Merged.begin(), Merged.end(), ByUseCount);
    const int limit = TransparencyUsed ? 255 : 256;
    FinalCount = 0;
    while (FinalCount < int(Merged.size()) && FinalCount < limit && Merged[FinalCount]->Count > 0) ++FinalCount;
    for (int i = 0; i < FinalCount; ++i) {
        Merged[i]->NewIndex = i;
        NewMap[i] = TGIFColorMap::Color2RGB(Merged[i]->Color);
    }
    // Sorted by use, the entries merged into a master (count 0) come after every used one.
    for (size_t i = size_t(FinalCount); i < Merged.size(); ++i) {
        THistogramEntry* entry = Merged[i];
        if (entry->Count == 0) {
            entry->NewIndex = entry->Master ? entry->Master->NewIndex : 0;
            continue;
        }
        int nearest = 765, best = 0;
        for (int k = 0; k < FinalCount; ++k) {
            const int distance = std::abs(ChannelSum(Merged[k]->Color) - ChannelSum(entry->Color));
            if (distance < nearest) {
                nearest = distance;
                best = k;
            }
        }
        entry->NewIndex = best;
    }
    if (TransparencyUsed) {
        NewTransparentIndex = uint8_t(FinalCount);
        NewMap[FinalCount] = {0, 0, 0};
        ++FinalCount;
    }
}

void TColorMapOptimizer::InstallSharedMap()
{
    for (int i = 0; i < Image->Images()->GetCount(); ++i) Image->Images()->GetImage(i)->GetColorMap()->Clear();
    Image->GetColorMap()->ImportColorMap(NewMap, FinalCount);
    Image->GetColorMap()->SetOptimized();
}

void TColorMapOptimizer::Optimize()
{
    Image->PaintStop();
    TThreadList* painters = Image->Painters();
    painters->LockList();
    struct Unlock {
        ~Unlock() { List->UnlockList(); }
        TThreadList* List;
    } unlock{painters};

    CollectImageColours();
    size_t used = 0;
    for (auto& histogram : Histograms) used += size_t(histogram->DropUnusedColours());
    Merged.reserve(used);
    for (auto& histogram : Histograms) Merged.insert(Merged.end(), histogram->List.begin(), histogram->List.end());
    FoldEqualColours();
    RankSharedColours();
    InstallSharedMap();
    for (auto& histogram : Histograms) histogram->MapImages(TransparencyUsed, NewTransparentIndex);
    for (int i = 0; i < Image->Images()->GetCount(); ++i) {
        TGIFSubImage* frame = Image->Images()->GetImage(i);
        frame->FreeBitmap();
        frame->SetPalette(nullptr);
    }
}
