// One shared global colour table for a whole image: how often each colour
// of every table is used, equal colours of different tables merged, the
// most used kept (255 and a black transparent entry when a frame sees
// through), the others mapped to the kept colour of the nearest channel
// sum, and every frame's pixels rewritten.
#pragma once
#include "gif_colormap.h"

#include <memory>
#include <vector>

class TGIFImage;
class TGIFSubImage;

struct THistogramEntry {
    int32_t Count = 0;
    int32_t OldIndex = 0;
    int32_t NewIndex = 256; // 256: not yet assigned
    uint32_t Color = 0;     // red, green, blue in the low three bytes
    THistogramEntry* Master = nullptr; // the entry this one was merged into
};

// The use of one colour table by the frames that draw with it.
class THistogram {
public:
    explicit THistogram(TGIFColorMap* Map);
    // Counts the frame's pixels; answers whether its transparent index occurs.
    bool CollectFrameColours(TGIFSubImage* Frame);
    // Orders the entries by use and drops those no pixel uses; answers how many remain.
    int DropUnusedColours();
    void MapImages(bool TransparencyUsed, uint8_t NewTransparentIndex);

    std::vector<THistogramEntry> Entries; // one per colour, in table order
    std::vector<THistogramEntry*> List;   // the used entries, most used first
    std::vector<TGIFSubImage*> Frames;

private:
    TGIFColorMap* const Map;
};

class TColorMapOptimizer {
public:
    explicit TColorMapOptimizer(TGIFImage* Image) : Image(Image) {}
    void Optimize();

private:
    void CollectImageColours();
    void FoldEqualColours();
    void RankSharedColours();
    void InstallSharedMap();

    TGIFImage* const Image;
    std::vector<std::unique_ptr<THistogram>> Histograms;
    std::vector<THistogramEntry*> Merged;
    TGIFColor NewMap[256]{};
    int FinalCount = 0;
    bool TransparencyUsed = false;
    uint8_t NewTransparentIndex = 0;
};
