// The image object: owner of the header and the frames, and the channel
// through which every item reports warnings and progress. On Windows it is
// the toolkit's graphic: it draws and animates itself (gif_painter_win32),
// keeps a bitmap of its first frame, and goes to and from the clipboard.
#pragma once
#include "gif_header.h"
#include "gif_imagelist.h"
#include "palette.h"
#include "reduce.h"
#include "toolkit/list.h"

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#ifdef _WIN32
#include "toolkit/bitmap.h"
#include "toolkit/thread.h"
#include <windows.h>
#endif

enum TGIFDrawOption : uint8_t {
    goAsync,
    goTransparent,
    goAnimate,
    goLoop,
    goLoopContinously,
    goValidateCanvas,
    goDirectDraw,
    goClearOnLoop,
    goTile,
    goDither,
    goAutoDither,
};
// Bit n stands for option n.
using TGIFDrawOptions = uint16_t;
constexpr TGIFDrawOptions DrawOption(TGIFDrawOption Option) { return TGIFDrawOptions(1u << Option); }

enum TGIFOptimizeOption : uint8_t { ooCrop, ooMerge, ooCleanup, ooColorMap, ooReduceColors };
// Bit n stands for option n.
using TGIFOptimizeOptions = uint8_t;
constexpr TGIFOptimizeOptions OptimizeOption(TGIFOptimizeOption Option) { return TGIFOptimizeOptions(1u << Option); }

extern TGIFDrawOptions GIFImageDefaultDrawOptions;
extern TColorReduction GIFImageDefaultColorReduction;
extern int GIFImageDefaultColorReductionBits;
extern TDitherMode GIFImageDefaultDitherMode;
extern TGIFCompression GIFImageDefaultCompression;
extern int GIFImageDefaultAnimationSpeed; // percent
extern bool GIFImageRenderOnLoad;
// WriteData optimizes the image before it goes into form data.
extern bool GIFImageOptimizeOnStream;
// Whether goAutoDither dithers: set at start-up on screens of 8 bits or fewer.
extern bool DoAutoDither;
extern bool PaletteDevice;

#ifdef _WIN32
extern TThreadPriority GIFImageDefaultThreadPriority;
class TGIFPainter;
using TGIFImageBase = TGraphic;
#define GIF_GRAPHIC_OVERRIDE override
#else
// Natively the image is no toolkit graphic; it keeps what the portable
// parts tell a graphic's owner.
class TGIFImageBase : public TPersistent {
public:
    bool Modified = false;
    bool PaletteModified = false;
    TNotifyEvent OnChange;
    TGIFProgressEvent OnProgress;
};
#define GIF_GRAPHIC_OVERRIDE
#endif

// Unwinds the image's own code when a handler that it ran has freed the
// image; the outermost code of the image that goes on after handlers ends it
// (TGIFImage::Survives), and nothing else sees it.
struct EGIFImageFreed {};

class TGIFImage : public TGIFImageBase {
public:
    CLASS_NAME(TGIFImage)
    TGIFImage();
    ~TGIFImage() override;
    TGIFImage(const TGIFImage&) = delete;
    TGIFImage& operator=(const TGIFImage&) = delete;

    void Clear();
    void NewImage() { Clear(); }
    void LoadFromStream(TStream* Stream) GIF_GRAPHIC_OVERRIDE;
    void SaveToStream(TStream* Stream) GIF_GRAPHIC_OVERRIDE;

    TGIFHeader* Header() const { return FHeader.get(); }
    TGIFImageList* Images() const { return FImages.get(); }
    TGIFColorMap* GetColorMap() const { return FHeader->GetColorMap(); }
    bool GetEmpty() const { return FImages->GetCount() == 0; }
    int GetWidth() const { return FHeader->GetWidth(); }
    int GetHeight() const { return FHeader->GetHeight(); }
    void SetWidth(int Width) GIF_GRAPHIC_OVERRIDE; // GIFException when a frame reaches further
    void SetHeight(int Height) GIF_GRAPHIC_OVERRIDE;
    // The highest over the frames; gvUnknown without frames.
    TGIFVersion GetVersion() const;
    // The highest over the header and the frames.
    int GetColorResolution() const;
    int GetBitsPerPixel() const;
    // Some frame sees through its transparent index.
    bool GetIsTransparent() const;
    uint8_t GetBackgroundColorIndex() const { return FHeader->GetBackgroundColorIndex(); }
    void SetBackgroundColorIndex(uint8_t Index) { FHeader->SetBackgroundColorIndex(Index); }
    uint32_t GetBackgroundColor() { return FHeader->GetBackgroundColor(); }
    void SetBackgroundColor(uint32_t Color) { FHeader->SetBackgroundColor(Color); }
    uint8_t GetAspectRatio() const { return FHeader->GetAspectRatio(); }
    void SetAspectRatio(uint8_t Value) { FHeader->SetAspectRatio(Value); }

    TGIFDrawOptions GetDrawOptions() const { return FDrawOptions; }
    TGIFCompression Compression = GIFImageDefaultCompression;
    // How bitmaps of more than 256 colours become frames.
    TColorReduction ColorReduction = GIFImageDefaultColorReduction;
    TDitherMode DitherMode = GIFImageDefaultDitherMode;
    int GetReductionBits() const { return FReductionBits; }
    void SetReductionBits(int Bits); // GIFException outside 3..8
    // Frames are then rendered in the web palette.
    bool GetDoDither() const;
    // Pixels that the frames of this image hold; at most MaxImagePixels.
    int64_t PixelCount() const { return FPixelCount; }

    // Replaces the kept global palette; frames and colour maps drop it when colours change.
    void SetKeptPalette(TGIFPaletteRef Palette) { KeptPalette = std::move(Palette); }
    void Changed(TObject* Sender);

    virtual void Warning(TObject* Sender, TGIFSeverity Severity, const std::string& Message);
    void Progress(TObject* Sender, TProgressStage Stage, int Percent, bool RedrawNow, const std::string& Message);
    TGIFWarning OnWarning;

    // Takes a frame of this image that is not listed yet; a frame of another
    // image is copied. Answers the index of the new frame.
    int Add(TGIFSubImage* Frame);
    // Crop, merge, clean-up and colour maps over all frames (Options are TGIFOptimizeOption bits).
    void Optimize(TGIFOptimizeOptions Options, TColorReduction ColorReduction, TDitherMode DitherMode,
                  int ReductionBits);
    // One shared global colour map for all frames.
    void OptimizeColorMap();

    // The painters that draw this image. Natively there are none.
    TThreadList* Painters() const { return &Life->Painters; }
    // Stops every painter and waits until the asynchronous ones are gone;
    // one whose event is running, which waits for this very call, is let
    // go instead and ends by itself.
    void PaintStop();

#ifdef _WIN32
    // The graphic.
    void Draw(TCanvas* Canvas, const RECT& Rect) override;
    bool Empty() const override { return GetEmpty(); }
    int Width() const override { return GetWidth(); }
    int Height() const override { return GetHeight(); }
    // The cached bitmap's palette, or the kept global palette, made on first
    // use, or the first frame's. Not the caller's to delete.
    HPALETTE GetPalette();
    HPALETTE Palette() override { return GetPalette(); }
    // Takes Value over as the kept global palette.
    void SetPalette(HPALETTE Value) override;
    void Assign(TPersistent* Source) override;
    void WriteData(TStream* Stream) override;
    void LoadFromClipboardFormat(UINT Format, HANDLE Data, HPALETTE Palette) override;
    void SaveToClipboardFormat(UINT& Format, HANDLE& Data, HPALETTE& Palette) override;

    void SetDrawOptions(TGIFDrawOptions Options);
    // Also takes any other graphic, as a new frame.
    int Add(TPersistent* Source);
    // The first frame on the logical screen, kept; none for an empty image.
    TBitmap* GetBitmap();
    TBitmap* NewBitmap(); // the kept bitmap, or a new empty one
    void FreeBitmap();
    // Drops every cache of the image and its frames.
    void Pack();

    // Animation (gif_painter_win32.cpp).
    int GetAnimationSpeed() const { return FAnimationSpeed; }
    void SetAnimationSpeed(int Speed); // 0..1000 percent
    TThreadPriority ThreadPriority = GIFImageDefaultThreadPriority;
    TColor DrawBackgroundColor = clNone;
    // Handed to every painter; the sender is the painter.
    TNotifyEvent OnStartPaint, OnPaint, OnAfterPaint, OnLoop, OnEndPaint;
    // A painter of Rect on Canvas, suspended when asynchronous; a synchronous
    // one has run to its end and none is answered. Reference follows it.
    TGIFPainter* InternalPaint(TGIFPainter** Reference, TCanvas* Canvas, const RECT& Rect, TGIFDrawOptions Options);
    TGIFPainter* Paint(TCanvas* Canvas, const RECT& Rect, TGIFDrawOptions Options);
    void StopDraw();
    void PaintStart();
    void PaintPause();
    void PaintResume();
    void PaintRestart();

protected:
    void AssignTo(TPersistent* Dest) override; // a bitmap takes GetBitmap
#endif

private:
    friend class TGIFSubImage; // keeps FPixelCount
    // What the image's code still running holds on its way out, and the
    // painters while they draw: it outlives the image that a handler frees
    // under that code.
    struct TLife {
        bool Alive = true;
        // Survives open on the main thread, with no handler running inside them.
        int Scopes = 0;
        bool Drawing = false; // Draw runs
        TThreadList Painters;
        // Held while a frame renders for a painter: painters of one image
        // render in turn. Re-entrant: a paint on the main thread renders
        // under it and tells its progress, and a handler of that may paint again.
        std::recursive_mutex RenderLock;
    };
    const std::shared_ptr<TLife> Life = std::make_shared<TLife>();
    // Runs Handlers: code that is not the image's own (its events, its
    // painters' events, the messages that its waits service), which may free
    // the image. When one did, inside Survives, the image's code unwinds.
    static void Tell(std::shared_ptr<TLife> Life, const std::function<void()>& Handlers);
    // Runs Work, code of the image that goes on after the handlers it runs.
    // When a handler frees the image, Work goes no further, and the caller,
    // which knows by Life, touches the image no more; Survives inside
    // another one unwinds that one too.
    static void Survives(std::shared_ptr<TLife> Life, const std::function<void()>& Work);
#ifdef _WIN32
    friend class TGIFPainter;
    void AssignImage(TGIFImage* Source);
    void DrawFrames(TCanvas* Canvas, const RECT& Rect);
    void DrawTiledOrStretched(TCanvas* Canvas, const RECT& Rect, TBitmap* Bitmap);
    // Runs the painters' synchronised calls, or gives up the time slice.
    // False when a quit message came: it is posted again, or its code kept
    // in KeptQuit.
    bool ServicePainterCalls(WPARAM* KeptQuit);
    // Stops Painter; answers whether it is still to be waited for. One
    // that waits for this very thread is let go instead.
    static bool StopPainter(TGIFPainter* Painter);
    void ReapPainters();
    int FAnimationSpeed = GIFImageDefaultAnimationSpeed;
    // Shared with the painter that draws on it, which a handler may let go
    // in the middle of a paint there.
    std::shared_ptr<TBitmap> FBitmap;
    TGIFPainter* DrawPainter = nullptr;
    // Painters whose thread has ended; freed by the main thread.
    std::vector<TGIFPainter*> EndedPainters;
#endif
    int64_t FPixelCount = 0;
    bool InsidePalette = false; // GetPalette runs
    int SavingBitsPerPixel = -1; // GetBitsPerPixel while saving
    TGIFDrawOptions FDrawOptions = GIFImageDefaultDrawOptions;
    int FReductionBits = GIFImageDefaultColorReductionBits;
    std::unique_ptr<TGIFImageList> FImages;
    std::unique_ptr<TGIFHeader> FHeader;
    TGIFPaletteRef KeptPalette;
};
