// The image object: owner of the header and the frames, and the channel
// through which every item reports warnings and progress. The graphic
// side (drawing, bitmaps, clipboard, optimizing) builds on this.
#pragma once
#include "gif_header.h"
#include "gif_imagelist.h"
#include "palette.h"

#include <memory>

extern bool GIFImageRenderOnLoad;
extern TGIFCompression GIFImageDefaultCompression;

class TGIFImage : public TPersistent {
public:
    CLASS_NAME(TGIFImage)
    TGIFImage();
    ~TGIFImage() override;
    TGIFImage(const TGIFImage&) = delete;
    TGIFImage& operator=(const TGIFImage&) = delete;

    void Clear();
    void LoadFromStream(TStream* Stream);
    void SaveToStream(TStream* Stream);

    TGIFHeader* Header() const { return FHeader.get(); }
    TGIFImageList* Images() const { return FImages.get(); }
    TGIFColorMap* GetColorMap() const { return FHeader->GetColorMap(); }
    bool GetEmpty() const { return FImages->GetCount() == 0; }
    int GetWidth() const { return FHeader->GetWidth(); }
    int GetHeight() const { return FHeader->GetHeight(); }
    void SetWidth(int Width);   // GIFException when a frame reaches further
    void SetHeight(int Height);
    // The highest over the frames; gvUnknown without frames.
    TGIFVersion GetVersion() const;
    // The highest over the header and the frames.
    int GetColorResolution() const;
    int GetBitsPerPixel() const;
    TGIFCompression Compression = GIFImageDefaultCompression;
    // Pixels that the frames of this image hold; at most MaxImagePixels.
    int64_t PixelCount() const { return FPixelCount; }

    // Drops the kept global palette; frames and colour maps call it when colours change.
    void SetPalette(TGIFPaletteRef Palette) { KeptPalette = std::move(Palette); }

    virtual void Warning(TObject* Sender, TGIFSeverity Severity, const std::string& Message);
    void Progress(TObject* Sender, TProgressStage Stage, int Percent, bool RedrawNow, const std::string& Message);
    TGIFWarning OnWarning;
    TGIFProgressEvent OnProgress;

private:
    friend class TGIFSubImage; // keeps FPixelCount
    int64_t FPixelCount = 0;
    int SavingBitsPerPixel = -1; // GetBitsPerPixel while saving
    std::unique_ptr<TGIFImageList> FImages;
    std::unique_ptr<TGIFHeader> FHeader;
    TGIFPaletteRef KeptPalette;
};
