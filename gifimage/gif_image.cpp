#include "gif_image.h"
#include "gif_subimage.h"
#include "gif_util.h"

#include <algorithm>
#include <utility>

#ifdef _WIN32
#include "toolkit/application.h"
#endif

TGIFDrawOptions GIFImageDefaultDrawOptions = DrawOption(goAsync) | DrawOption(goTransparent) | DrawOption(goAnimate) |
                                             DrawOption(goLoop) | DrawOption(goDither) | DrawOption(goAutoDither);
TColorReduction GIFImageDefaultColorReduction = rmNetscape;
int GIFImageDefaultColorReductionBits = 8;
TDitherMode GIFImageDefaultDitherMode = dmNearest;
TGIFCompression GIFImageDefaultCompression = gcLZW;
int GIFImageDefaultAnimationSpeed = 100;
bool GIFImageRenderOnLoad = false;
bool GIFImageOptimizeOnStream = false;
bool DoAutoDither = false;
bool PaletteDevice = false;

namespace {

// The image belongs to the main thread, and its owner hears from it there
// only: a painter renders frames ahead on its worker, and its drawing of
// them, on the main thread, tells of the change.
bool OwnerHears()
{
#ifdef _WIN32
    return MainThreadID() == 0 || GetCurrentThreadId() == MainThreadID();
#else
    return true;
#endif
}

} // namespace

TGIFImage::TGIFImage()
    : FImages(new TGIFImageList(this)), FHeader(new TGIFHeader(this))
{
}

TGIFImage::~TGIFImage()
{
    // The owner is going too: frames that painters finish meanwhile tell nobody.
    OnChange = nullptr;
    Clear(); // stops the painters first
    // Frames and maps report to the image while they go.
    FImages.reset();
    FHeader.reset();
    Life->Alive = false;
}

// Life is a copy: it outlives the image that the handlers may free.
void TGIFImage::Tell(std::shared_ptr<TLife> Life, const std::function<void()>& Handlers)
{
    if (!OwnerHears()) {
        Handlers();
        return;
    }
    // What the handlers call of the image is theirs: it does not unwind them.
    const int scopes = std::exchange(Life->Scopes, 0);
    const auto freedUnder = [&] {
        Life->Scopes = scopes;
        return scopes > 0 && !Life->Alive;
    };
    try {
        Handlers();
    } catch (...) {
        if (freedUnder()) throw EGIFImageFreed();
        throw;
    }
    if (freedUnder()) throw EGIFImageFreed();
}

void TGIFImage::Survives(std::shared_ptr<TLife> Life, const std::function<void()>& Work)
{
    if (!OwnerHears()) {
        Work(); // no handler runs on another thread
        return;
    }
    const bool outermost = Life->Scopes == 0;
    struct TOpen {
        explicit TOpen(int& Scopes) : Scopes(Scopes) { ++Scopes; }
        ~TOpen() { --Scopes; }
        int& Scopes;
    };
    try {
        const TOpen open(Life->Scopes);
        Work();
    } catch (const EGIFImageFreed&) {
        if (outermost) return;
        throw;
    }
    if (!Life->Alive && !outermost) throw EGIFImageFreed();
}

#ifndef _WIN32
void TGIFImage::PaintStop() {}
#endif

void TGIFImage::Clear()
{
    PaintStop();
#ifdef _WIN32
    FreeBitmap();
#endif
    FImages->Clear();
    FHeader->GetColorMap()->Clear();
    FHeader->SetHeight(0);
    FHeader->SetWidth(0);
    FHeader->Prepare();
    SetKeptPalette(nullptr);
}

void TGIFImage::SetWidth(int Width)
{
    for (int i = 0; i < FImages->GetCount(); ++i) {
        TGIFSubImage* frame = FImages->GetImage(i);
        if (frame->GetLeft() + frame->GetWidth() > Width) RaiseGifError(GIFTexts::WidthTooSmall);
    }
    if (Width == GetWidth()) return;
    FHeader->SetWidth(uint16_t(Width));
#ifdef _WIN32
    FreeBitmap();
#endif
    Changed(this);
}

void TGIFImage::SetHeight(int Height)
{
    for (int i = 0; i < FImages->GetCount(); ++i) {
        TGIFSubImage* frame = FImages->GetImage(i);
        if (frame->GetTop() + frame->GetHeight() > Height) RaiseGifError(GIFTexts::HeightTooSmall);
    }
    if (Height == GetHeight()) return;
    FHeader->SetHeight(uint16_t(Height));
#ifdef _WIN32
    FreeBitmap();
#endif
    Changed(this);
}

void TGIFImage::SetReductionBits(int Bits)
{
    if (Bits < 3 || Bits > 8) RaiseGifError(GIFTexts::BadBitsPerPixel);
    FReductionBits = Bits;
}

bool TGIFImage::GetIsTransparent() const
{
    for (int i = 0; i < FImages->GetCount(); ++i)
        if (FImages->GetImage(i)->Transparent) return true;
    return false;
}

int TGIFImage::Add(TGIFSubImage* Frame)
{
    if (Frame->Image() != this) {
        // Owned once only: a frame of another image is copied.
        auto copy = std::make_unique<TGIFSubImage>(this);
        copy->Assign(Frame);
        Frame = copy.get();
        copy.release();
    } else if (FImages->IndexOf(Frame) >= 0) {
        RaiseGifError(GIFTexts::FrameListed);
    }
    const int index = FImages->Add(Frame);
#ifdef _WIN32
    FreeBitmap();
#endif
    Changed(this);
    return index;
}

TGIFVersion TGIFImage::GetVersion() const
{
    TGIFVersion version = gvUnknown;
    for (int i = 0; i < FImages->GetCount() && version != gv89a; ++i)
        version = std::max(version, FImages->GetImage(i)->GetVersion());
    return version;
}

int TGIFImage::GetColorResolution() const
{
    int result = FHeader->GetColorResolution();
    for (int i = 0; i < FImages->GetCount(); ++i)
        result = std::max(result, FImages->GetImage(i)->GetColorResolution());
    return result;
}

int TGIFImage::GetBitsPerPixel() const
{
    if (SavingBitsPerPixel >= 0) return SavingBitsPerPixel;
    int result = FHeader->GetBitsPerPixel();
    for (int i = 0; i < FImages->GetCount(); ++i)
        result = std::max(result, FImages->GetImage(i)->GetBitsPerPixel());
    return result;
}

bool TGIFImage::GetDoDither() const
{
    return (FDrawOptions & DrawOption(goDither)) && (!(FDrawOptions & DrawOption(goAutoDither)) || DoAutoDither);
}

void TGIFImage::Changed(TObject* Sender)
{
    if (!OwnerHears()) return;
    Modified = true;
    // Copies: a handler may free the image, and its events with it.
    if (const TNotifyEvent handler = OnChange) Tell(Life, [&] { handler(Sender); });
}

void TGIFImage::Warning(TObject* Sender, TGIFSeverity Severity, const std::string& Message)
{
    if (const TGIFWarning handler = OnWarning) Tell(Life, [&] { handler(Sender, Severity, Message); });
}

void TGIFImage::Progress(TObject* Sender, TProgressStage Stage, int Percent, bool RedrawNow,
                         const std::string& Message)
{
    if (!OwnerHears()) return;
    const auto handler = OnProgress;
    if (!handler) return;
#ifdef _WIN32
    Tell(Life, [&] { handler(Sender, Stage, uint8_t(Percent), RedrawNow, RECT{}, Message); });
#else
    Tell(Life, [&] { handler(Sender, Stage, Percent, RedrawNow, Message); });
#endif
}

void TGIFImage::LoadFromStream(TStream* Stream)
{
    Progress(this, psStarting, 0, false, GIFTexts::Loading);
    Clear();
    const int64_t start = Stream->Position();
    try {
        FHeader->LoadFromStream(Stream);
        FImages->LoadFromStream(Stream, this);
        TGIFTrailer(this).LoadFromStream(Stream);
    } catch (...) {
        Stream->SetPosition(start);
        Progress(this, psEnding, 0, true, GIFTexts::Loading);
        throw;
    }
    Progress(this, psEnding, 100, true, GIFTexts::Loading);
}

void TGIFImage::SaveToStream(TStream* Stream)
{
    Progress(this, psStarting, 0, false, GIFTexts::Saving);
    // Each frame without a colour table of its own asks for the image's
    // depth, which cannot change while saving: found once, not per frame.
    SavingBitsPerPixel = GetBitsPerPixel();
    try {
        FHeader->SaveToStream(Stream);
        FImages->SaveToStream(Stream);
        TGIFTrailer(this).SaveToStream(Stream);
    } catch (...) {
        SavingBitsPerPixel = -1;
        Progress(this, psEnding, 0, true, GIFTexts::Saving);
        throw;
    }
    SavingBitsPerPixel = -1;
    Progress(this, psEnding, 100, true, GIFTexts::Saving);
}
