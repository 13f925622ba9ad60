#include "gif_painter_win32.h"
#include "gif_subimage.h"
#include "gif_util.h"
#include "toolkit/application.h"
#include "toolkit/seam.h"

#include <mmsystem.h>

#include <algorithm>
#include <climits>

int GIFDelayExp = 12;
int GIFDefaultDelay = 10;
int GIFMinimumDelay = 3;
int GIFMaximumDelay = 1000;

namespace {

bool Has(TGIFDrawOptions Options, TGIFDrawOption Option) { return Options & DrawOption(Option); }

int ClampSpeed(int Speed) { return std::min(std::max(Speed, 0), 1000); }

// The palette a frame draws with selected into a context for one scope.
class TSelectedPalette {
public:
    TSelectedPalette(HDC DC, HPALETTE Palette) : DC(DC)
    {
        Old = SelectPalette(DC, Palette ? Palette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
        RealizePalette(DC);
    }
    ~TSelectedPalette() { SelectPalette(DC, Old, FALSE); }
    TSelectedPalette(const TSelectedPalette&) = delete;
    TSelectedPalette& operator=(const TSelectedPalette&) = delete;

private:
    HDC DC;
    HPALETTE Old;
};

} // namespace

// --- frame timing ----------------------------------------------------------

int FrameDelay(const TGIFSubImage* Frame, bool Async)
{
    const TGIFGraphicControlExtension* control = Frame->GraphicControlExtension;
    if (!control || control->GetDelay() == 0) return GIFDefaultDelay;
    const int delay = std::max<int>(control->GetDelay(), GIFMinimumDelay);
    return Async ? delay : std::min(delay, GIFMaximumDelay);
}

DWORD FrameWait(int Delay, int Speed, bool Async, DWORD Now, TFrameClock& Clock)
{
    int64_t wait;
    if (Speed > 0) {
        const int64_t overhead = (int64_t(int32_t(Now - Clock.LastTime)) - Clock.LastWait) / 2;
        const int64_t scaled = (int64_t(Delay) * GIFDelayExp - overhead) * 100;
        // Rounded to the nearest, as MulDiv does.
        wait = (scaled + (scaled >= 0 ? Speed / 2 : -(Speed / 2))) / Speed;
        if (wait > INT_MAX || wait < INT_MIN) {
            wait = int64_t(GIFMaximumDelay) * GIFDelayExp;
            Clock.LastWait = 0;
        } else {
            Clock.LastWait = int(wait);
        }
    } else {
        wait = Async ? int64_t(INFINITE) : int64_t(GIFMaximumDelay) * GIFDelayExp;
    }
    Clock.LastTime = Now;
    return wait > 0 ? DWORD(wait) : 0;
}

// --- the painter -----------------------------------------------------------

TGIFPainter::TGIFPainter(TGIFPainter** Reference, TGIFImage* Image, TCanvas* Canvas, const RECT& Rect,
                         TGIFDrawOptions Options)
    : Canvas(Canvas), Rect(Rect), Options(Options), FImage(Image), Reference(Reference),
      FAnimationSpeed(Image->GetAnimationSpeed()),
      Wakeable(Has(Options, goAsync) && Has(Options, goAnimate) && Image->Images()->GetCount() > 1 &&
               Image->GetAnimationSpeed() >= 0),
      Life(Image->Life)
{
    if (Image->DrawBackgroundColor != clNone) BackgroundColor = ColorToRGB(Image->DrawBackgroundColor);
    else if (Image->GetColorMap()->Count() > 0) BackgroundColor = Image->GetBackgroundColor();
    else BackgroundColor = ColorToRGB(clWindow);

    bool background = Has(Options, goClearOnLoop), previous = false;
    for (int i = 0; i < Image->Images()->GetCount(); ++i)
        if (TGIFGraphicControlExtension* control = Image->Images()->GetImage(i)->GraphicControlExtension) {
            background |= control->GetDisposal() == dmBackground;
            previous |= control->GetDisposal() == dmPrevious;
        }
    if (background && Has(Options, goTransparent)) Snapshot = CanvasCopy(true);
    if (background || previous) {
        Backup = CanvasCopy(true);
        FrameBuffer = CanvasCopy(false);
    }
    if (Image->FBitmap && Canvas == Image->FBitmap->Canvas()) Target = Image->FBitmap;
    if (Reference) *Reference = this;
}

TGIFPainter::~TGIFPainter() = default;

std::unique_ptr<TBitmap> TGIFPainter::CanvasCopy(bool Filled)
{
    const int width = Rect.right - Rect.left, height = Rect.bottom - Rect.top;
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(width, height);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(static_cast<TColor>(BackgroundColor));
    if (Filled) canvas->CopyRect({0, 0, width, height}, Canvas, Rect);
    return bitmap;
}

void TGIFPainter::SetAnimationSpeed(int Speed)
{
    Speed = ClampSpeed(Speed);
    if (Speed == FAnimationSpeed) return;
    FAnimationSpeed = Speed;
    if (Wakeable) Wake();
    else RestartRequest = true;
}

void TGIFPainter::SetActiveImage(int Index)
{
    if (FImage && Index >= 0 && Index < FImage->Images()->GetCount()) FActiveImage = Index;
}

void TGIFPainter::Start()
{
    if (Has(Options, goAsync)) Resume();
}

void TGIFPainter::Stop()
{
    Terminate(); // also ends a frame wait
    if (!Has(Options, goAsync)) return;
    SetPriority(tpNormal);
    if (Suspended()) Resume();
}

void TGIFPainter::Restart()
{
    RestartRequest = true;
    if (Has(Options, goAsync) && Suspended()) Resume();
}

void TGIFPainter::DoSynchronize(const std::function<void()>& Method)
{
    if (Terminated()) return;
    if (!Has(Options, goAsync)) {
        Method();
        return;
    }
    Synchronize([&] {
        const TFlagScope inCall(InSynchronizedCall);
        Method();
    });
}

void TGIFPainter::Fire(const TNotifyEvent& Event)
{
    if (Event) DoSynchronize([&] { TGIFImage::Tell(Life, [&] { Event(this); }); });
}

TGIFSubImage* TGIFPainter::ActiveFrame() const { return FImage->Images()->GetImage(FActiveImage); }

void TGIFPainter::RenderFrame(TGIFSubImage* Frame)
{
    const std::lock_guard<std::recursive_mutex> hold(Life->RenderLock);
    Frame->GetBitmap();
}

void TGIFPainter::Execute()
{
    try {
        Animate();
    } catch (const std::exception& e) {
        // Nobody waits for an asynchronous painter's failure: it is told and the painter ends.
        Terminate();
        Platform().Trace(std::string("GIF painter stopped: ") + e.what());
    }
    bool released = false;
    Synchronize([&] { released = DoOnTerminate(); });
    if (released) delete this;
}

void TGIFPainter::RunHere()
{
    try {
        Animate();
    } catch (...) {
        Terminate();
        Failure = std::current_exception();
    }
    DoOnTerminate();
    const std::exception_ptr failure = Failure;
    delete this;
    if (failure) std::rethrow_exception(failure);
}

void TGIFPainter::Animate()
{
    const bool async = Has(Options, goAsync);
    if (Has(Options, goValidateCanvas)) ValidationDC = Canvas->Handle();
    RestartRequest = true;
    while (RestartRequest && !Terminated()) {
        FActiveImage = 0;
        Fire(OnStartPaint);
        FStarted = false;
        RestartRequest = false;

        int loopCount = 1, loopPoint = 0;
        bool loopFound = false;
        int delay = async ? 0 : 1;
        PreviousDisposal = dmNoDisposal;
        TFrameClock clock{timeGetTime(), 0};
        while ((loopCount != 0 || Has(Options, goLoopContinously)) && !Terminated() && !RestartRequest) {
            FActiveImage = loopPoint;
            if (FStarted) Fire(OnLoop);
            // A painter stopped during its event may have left its image: it looks no further.
            while (!Terminated() && !RestartRequest && FActiveImage < FImage->Images()->GetCount()) {
                TGIFSubImage* frame = ActiveFrame();
                if (frame->GetEmpty()) break;
                WaitDelay(frame, delay, clock);
                if (Terminated()) break;
                Fire(OnPaint);
                if (Terminated()) break;

                Disposal = dmNoDisposal;
                for (int i = 0; i < frame->Extensions()->GetCount(); ++i) {
                    TGIFExtension* extension = frame->Extensions()->GetExtension(i);
                    if (auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(extension)) {
                        if (loopFound) continue;
                        loopFound = true;
                        loopCount = loop->Loops;
                        loopPoint = FActiveImage;
                        if ((loopCount == 0 || Has(Options, goLoopContinously)) && async) loopCount = -1; // endless
                    } else if (auto* control = dynamic_cast<TGIFGraphicControlExtension*>(extension)) {
                        Disposal = control->GetDisposal();
                    }
                }
                if (Backup) DoSynchronize([this] { DoPaintFrame(); });
                else DoSynchronize([this] { DoPaint(); });
                PreviousDisposal = Disposal;
                if (Terminated()) break;

                delay = FrameDelay(frame, async);

                const int shown = FActiveImage;
                Fire(OnAfterPaint);
                if (Terminated()) break;
                // A handler that chose another frame keeps its choice.
                if (FActiveImage == shown) ++FActiveImage;
                if (!Has(Options, goAnimate)) break;
            }
            if (loopCount > 0) --loopCount;
            if (!Has(Options, goAnimate) || !Has(Options, goLoop)) break;
        }
    }
    FActiveImage = -1;
    Fire(OnEndPaint);
}

void TGIFPainter::WaitDelay(TGIFSubImage* Frame, int Delay, TFrameClock& Clock)
{
    if (Delay <= 0) {
        ::Sleep(0);
        return;
    }
    // Rendering is part of the wait.
    RenderFrame(Frame);
    const DWORD wait = FrameWait(Delay, FAnimationSpeed, Has(Options, goAsync), timeGetTime(), Clock);
    if (!Has(Options, goAsync)) {
        PumpWait(wait);
    } else if (wait > 0 && Sleep(wait)) {
        // Woken early (a speed change, or Stop): the next wait starts afresh.
        Clock.LastWait = 0;
        Clock.LastTime = timeGetTime();
    }
}

// A synchronous painter waits in slices and keeps its thread's messages flowing.
void TGIFPainter::PumpWait(DWORD Wait)
{
    int64_t left = std::max<int64_t>(Wait, 1);
    DWORD mark = timeGetTime();
    while (left > 0 && !Terminated() && !RestartRequest) {
        ::Sleep(DWORD(std::min<int64_t>(left, 100)));
        left -= int64_t(timeGetTime() - mark);
        mark = timeGetTime();
        // What the messages run may free the image.
        TGIFImage::Tell(Life, [this] {
            MSG msg;
            while (!Terminated() && !RestartRequest && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) {
                    PostQuitMessage(int(msg.wParam));
                    Terminate();
                    break;
                }
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        });
    }
}

bool TGIFPainter::DoOnTerminate()
{
    Backup.reset();
    FrameBuffer.reset();
    Snapshot.reset();
    Target.reset();
    TGIFImage* image = Detach();
    // Its thread is about to end; the image frees it once it has.
    if (image && Has(Options, goAsync)) image->EndedPainters.push_back(this);
    return !image;
}

TGIFImage* TGIFPainter::Detach()
{
    TGIFImage* image = FImage;
    if (!image) return nullptr;
    image->Painters()->LockList();
    if (Reference && *Reference == this) *Reference = nullptr;
    image->Painters()->UnlockList();
    image->Painters()->Remove(this);
    FImage = nullptr;
    return image;
}

void TGIFPainter::DoPaint()
{
    TGIFSubImage* frame = ActiveFrame();
    TGIFImage::Survives(Life, [&] {
        const std::lock_guard<std::recursive_mutex> hold(Life->RenderLock);
        frame->Draw(Canvas, Rect, Has(Options, goTransparent), Has(Options, goTile));
    });
    // Freed (which lets its painters go), or let go, by a handler that the drawing ran.
    if (!FImage) return;
    Painted();
}

void TGIFPainter::DoPaintFrame()
{
    if (Has(Options, goValidateCanvas) && GetObjectType(ValidationDC) == 0) {
        Terminate();
        return;
    }
    const bool clearFirst = Has(Options, goClearOnLoop) && FActiveImage == 0;
    const RECT client{0, 0, Backup->Width(), Backup->Height()};
    TCanvas* destination;
    RECT destinationRect = client;
    TBitmap* shown = nullptr; // what goes onto the canvas afterwards
    switch (Disposal) {
    case dmNone:
    case dmNoDisposal:
    case dmBackground:
        destination = Backup->Canvas();
        shown = Backup.get();
        break;
    case dmPrevious:
        if (PreviousDisposal == dmNone || PreviousDisposal == dmNoDisposal) {
            // The backup still holds the picture before this frame.
            destination = Canvas;
            destinationRect = Rect;
        } else {
            FrameBuffer->Canvas()->CopyRect(client, Backup->Canvas(), client);
            destination = FrameBuffer->Canvas();
            shown = FrameBuffer.get();
        }
        break;
    default:
        return; // no such method: the frame is not drawn
    }

    TGIFSubImage* frame = ActiveFrame();
    TGIFImage::Survives(Life, [&] {
        const std::lock_guard<std::recursive_mutex> hold(Life->RenderLock);
        TSelectedPalette palette(destination->Handle(), frame->GetPalette());
        if (clearFirst) RestoreBackground();
        frame->Draw(destination, destinationRect, Has(Options, goTransparent), Has(Options, goTile));
    });
    // Freed (which lets its painters go), or let go, by a handler that the drawing ran.
    if (!FImage) return;
    if (shown) Canvas->CopyRect(Rect, shown->Canvas(), client);
    if (Disposal == dmBackground) RestoreBackground();
    Painted();
}

void TGIFPainter::Painted()
{
    FImage->PaletteModified = false; // realised on the canvas with the frame
    FStarted = true;
    Canvas->Changed();
}

void TGIFPainter::RestoreBackground()
{
    TGIFSubImage* frame = ActiveFrame();
    TCanvas* backup = Backup->Canvas();
    const RECT client{0, 0, Backup->Width(), Backup->Height()};
    const int imageWidth = FImage->GetWidth(), imageHeight = FImage->GetHeight();
    // The tiles of the frame over the buffer, which stands for the target rectangle.
    auto tiles = [&](const std::function<void(const RECT&)>& Each) {
        if (imageWidth <= 0 || imageHeight <= 0) return;
        for (int x = frame->GetLeft(); x < client.right; x += imageWidth)
            for (int y = frame->GetTop(); y < client.bottom; y += imageHeight)
                Each({x, y, x + frame->GetWidth(), y + frame->GetHeight()});
    };
    if (Has(Options, goTransparent)) {
        const auto copy = [&](const RECT& R) { backup->CopyRect(R, Snapshot->Canvas(), R); };
        if (Has(Options, goTile)) tiles(copy);
        else copy(frame->ScaleRect(client));
        return;
    }
    const auto fill = [&](const RECT& R) { backup->FillRect(R); };
    if (Has(Options, goTile) && frame->GetWidth() != imageWidth && frame->GetHeight() != imageHeight) {
        backup->Brush()->SetColor(ColorToRGB(FImage->DrawBackgroundColor == clNone ? static_cast<TColor>(BackgroundColor)
                                                                                     : FImage->DrawBackgroundColor));
        tiles(fill);
    } else {
        fill(frame->ScaleRect(client));
    }
}

// --- the image's side ------------------------------------------------------

bool TGIFImage::ServicePainterCalls(WPARAM* KeptQuit)
{
    bool quit = false;
    // Every call sent to this thread runs here, and may free the image.
    Tell(Life, [&] {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
            quit = true;
            if (KeptQuit) *KeptQuit = msg.wParam;
            else PostQuitMessage(int(msg.wParam));
            return;
        }
        // Delivers the painters' synchronised calls, or gives up the time slice.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_SENDMESSAGE);
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    });
    return !quit;
}

void TGIFImage::ReapPainters()
{
    std::vector<TGIFPainter*> ended;
    ended.swap(EndedPainters);
    // Each waits the moment its thread needs to end, running the calls sent meanwhile.
    Tell(Life, [&] {
        for (TGIFPainter* painter : ended) delete painter;
    });
}

TGIFPainter* TGIFImage::InternalPaint(TGIFPainter** Reference, TCanvas* Canvas, const RECT& Rect,
                                      TGIFDrawOptions Options)
{
    ReapPainters();
    if (GetEmpty() || Rect.left >= Rect.right || Rect.top >= Rect.bottom) {
        if (Reference) *Reference = nullptr;
        return nullptr;
    }
    if (Images()->GetCount() == 1) Options &= TGIFDrawOptions(~(DrawOption(goAsync) | DrawOption(goAnimate)));
    auto* painter = new TGIFPainter(Reference, this, Canvas, Rect, Options);
    Painters()->Add(painter);
    painter->OnStartPaint = OnStartPaint;
    painter->OnPaint = OnPaint;
    painter->OnAfterPaint = OnAfterPaint;
    painter->OnLoop = OnLoop;
    painter->OnEndPaint = OnEndPaint;
    if (Has(Options, goAsync)) {
        painter->SetPriority(ThreadPriority);
        return painter;
    }
    painter->RunHere();
    return nullptr;
}

TGIFPainter* TGIFImage::Paint(TCanvas* Canvas, const RECT& Rect, TGIFDrawOptions Options)
{
    TGIFPainter* painter = InternalPaint(nullptr, Canvas, Rect, Options);
    if (painter) painter->Start();
    return painter;
}

void TGIFImage::DrawTiledOrStretched(TCanvas* Canvas, const RECT& Rect, TBitmap* Bitmap)
{
    if (!Has(FDrawOptions, goTile)) {
        Canvas->StretchDraw(Rect, Bitmap);
        return;
    }
    const int width = GetWidth(), height = GetHeight();
    if (width <= 0 || height <= 0) return;
    for (int x = Rect.left; x < Rect.right; x += width)
        for (int y = Rect.top; y < Rect.bottom; y += height) Canvas->StretchDraw({x, y, x + width, y + height}, Bitmap);
}

void TGIFImage::Draw(TCanvas* Canvas, const RECT& Rect)
{
    // Kept to the end: a handler that the drawing runs may free the image.
    const std::shared_ptr<TLife> life = Life;
    if (life->Drawing || GetEmpty()) return;
    const TFlagScope drawing(life->Drawing);
    Survives(life, [&] { DrawFrames(Canvas, Rect); });
}

void TGIFImage::DrawFrames(TCanvas* Canvas, const RECT& Rect)
{
    const bool direct = Has(FDrawOptions, goDirectDraw);
    if (Images()->GetCount() == 1 || !Has(FDrawOptions, goAnimate)) {
        Images()->GetImage(0)->Draw(Canvas, Rect, Has(FDrawOptions, goTransparent), Has(FDrawOptions, goTile));
        PaletteModified = false; // realised on the canvas with the frame
        return;
    }
    if (FBitmap && !direct) {
        DrawTiledOrStretched(Canvas, Rect, FBitmap.get());
        return;
    }

    Painters()->LockList();
    struct Unlock {
        ~Unlock() { List->UnlockList(); }
        TThreadList* List;
    } unlock{Painters()};
    if (DrawPainter && DrawPainter->Canvas == Canvas && EqualRect(&DrawPainter->Rect, &Rect)) return;
    StopDraw();
    TCanvas* target = Canvas;
    RECT targetRect = Rect;
    if (!direct) {
        TBitmap* bitmap = NewBitmap();
        targetRect = {0, 0, bitmap->Width(), bitmap->Height()};
        // What lies under the picture shows through its transparent pixels.
        bitmap->Canvas()->CopyRect(targetRect, Canvas, Rect);
        target = bitmap->Canvas();
    }
    TGIFPainter* painter = InternalPaint(&DrawPainter, target, targetRect, FDrawOptions);
    if (!painter) return; // a synchronous painter has run to its end
    painter->Start();
    if (direct) return;
    while (DrawPainter == painter && !painter->Terminated() && !painter->GetStarted())
        if (!ServicePainterCalls(nullptr)) return;
    if (FBitmap) DrawTiledOrStretched(Canvas, Rect, FBitmap.get());
}

bool TGIFImage::StopPainter(TGIFPainter* Painter)
{
    Painter->Stop();
    if (!Painter->WaitsForMainThread()) return true;
    // Waiting for it would wait for ever: it is let go, and once its call
    // returns it finds itself stopped and ends without the image.
    Painter->Detach();
    return false;
}

void TGIFImage::StopDraw()
{
    Survives(Life, [this] {
        for (;;) {
            Painters()->LockList();
            const bool running = DrawPainter && StopPainter(DrawPainter);
            Painters()->UnlockList();
            if (!running) break;
            if (!ServicePainterCalls(nullptr)) return;
        }
        ReapPainters();
        FBitmap.reset();
    });
}

void TGIFImage::PaintStop()
{
    // A quit message met meanwhile is kept for the loop that waits for it,
    // also when what the wait services frees the image.
    struct TKeptQuit {
        ~TKeptQuit()
        {
            if (Met) PostQuitMessage(int(Code));
        }
        bool Met = false;
        WPARAM Code = 0;
    } quit;
    Survives(Life, [&] {
        for (;;) {
            int running = 0;
            TList* list = Painters()->LockList();
            for (int i = list->Count() - 1; i >= 0; --i)
                running += StopPainter(static_cast<TGIFPainter*>(list->Get(i)));
            Painters()->UnlockList();
            if (running == 0) break;
            // The painters end once their pending calls have run.
            if (!ServicePainterCalls(&quit.Code)) quit.Met = true;
        }
        ReapPainters();
        FBitmap.reset();
    });
}

void TGIFImage::PaintStart()
{
    TList* list = Painters()->LockList();
    for (int i = 0; i < list->Count(); ++i) static_cast<TGIFPainter*>(list->Get(i))->Start();
    Painters()->UnlockList();
}

void TGIFImage::PaintResume() { PaintStart(); }

void TGIFImage::PaintPause()
{
    TList* list = Painters()->LockList();
    for (int i = 0; i < list->Count(); ++i) {
        auto* painter = static_cast<TGIFPainter*>(list->Get(i));
        if (Has(painter->Options, goAsync)) painter->Suspend();
    }
    Painters()->UnlockList();
}

void TGIFImage::PaintRestart()
{
    TList* list = Painters()->LockList();
    for (int i = 0; i < list->Count(); ++i) static_cast<TGIFPainter*>(list->Get(i))->Restart();
    Painters()->UnlockList();
}

void TGIFImage::SetAnimationSpeed(int Speed)
{
    Speed = ClampSpeed(Speed);
    if (Speed == FAnimationSpeed) return;
    FAnimationSpeed = Speed;
    Painters()->LockList();
    if (DrawPainter) DrawPainter->SetAnimationSpeed(Speed);
    Painters()->UnlockList();
}
