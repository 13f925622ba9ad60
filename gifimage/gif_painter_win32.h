// The animation painter: walks an image's frames on a canvas, composing
// each with what the frames before it left by their disposal methods,
// waiting each frame's delay and looping as the loop extension asks. An
// asynchronous painter (goAsync) is a worker thread that draws only
// through synchronised calls on the main thread; a synchronous one runs
// inside its caller. Pausing and stopping are cooperative: the thread
// parks or ends at its next wait or synchronised call. One stopped from its
// own event, which it waits for, is not waited for: it leaves its image at
// once and ends by itself when the event returns.
#pragma once
#include "gif_image.h"
#include "toolkit/thread.h"

#include <atomic>
#include <exception>
#include <functional>
#include <memory>

// Milliseconds per delay unit (the file's hundredths of a second), and the
// delays in units for frames without one, at the least, and at the most for
// a synchronous painter.
extern int GIFDelayExp;
extern int GIFDefaultDelay;
extern int GIFMinimumDelay;
extern int GIFMaximumDelay;

// The delay, in units, that a painter gives a frame: its own when it has
// one, at least GIFMinimumDelay, at most GIFMaximumDelay unless Async.
int FrameDelay(const TGIFSubImage* Frame, bool Async);

// The timing of a painter's frame waits, from one to the next.
struct TFrameClock {
    DWORD LastTime; // when the last wait was computed
    int LastWait;   // what it came to
};
// Milliseconds to wait at Now for Delay units at Speed percent, less half of
// what the last step took beyond its wait; INFINITE at speed 0 for an
// asynchronous painter, which then waits until woken.
DWORD FrameWait(int Delay, int Speed, bool Async, DWORD Now, TFrameClock& Clock);

class TGIFPainter : public TThread {
public:
    CLASS_NAME(TGIFPainter)
    // Reference, when given, follows the painter: it names it until it ends.
    TGIFPainter(TGIFPainter** Reference, TGIFImage* Image, TCanvas* Canvas, const RECT& Rect,
                TGIFDrawOptions Options);
    ~TGIFPainter() override;

    int GetAnimationSpeed() const { return FAnimationSpeed; }
    void SetAnimationSpeed(int Speed); // percent, 0..1000
    // The frame being shown; -1 while not running.
    int GetActiveImage() const { return FActiveImage; }
    // The frame painted next, when it is one of the image's.
    void SetActiveImage(int Index);
    // A frame has been painted since the last (re)start.
    bool GetStarted() const { return FStarted; }

    void Start();
    void Stop();
    void Restart();

    TGIFImage* Image() const { return FImage; }
    TCanvas* const Canvas;
    const RECT Rect;
    const TGIFDrawOptions Options;
    // Sender: the painter. They run on the main thread.
    TNotifyEvent OnStartPaint, OnPaint, OnAfterPaint, OnLoop, OnEndPaint;

protected:
    void Execute() override;

private:
    friend class TGIFImage;
    // A synchronous painter: runs in the calling thread, then frees itself;
    // a failure reaches the caller after the clean-up.
    void RunHere();
    void Animate();
    void WaitDelay(TGIFSubImage* Frame, int Delay, TFrameClock& Clock);
    void PumpWait(DWORD Wait);
    void DoSynchronize(const std::function<void()>& Method);
    void Fire(const TNotifyEvent& Event);
    // It cannot end while the main thread waits for it: a synchronous
    // painter runs further down the main thread's own call, an asynchronous
    // one waits while the main thread runs its synchronised call.
    bool WaitsForMainThread() const { return !(Options & DrawOption(goAsync)) || InSynchronizedCall; }
    // On the main thread as the painter ends: it leaves its image and frees
    // what it painted with. True when the image let it go before, and it is
    // to free itself.
    bool DoOnTerminate();
    // Leaves the image, on the main thread: off its painter list, the
    // caller's reference cleared. Answers the image it left; none when it
    // had left already. Let go in the middle of a paint, it still draws on
    // its canvas and buffers until that paint returns, and then nothing more.
    TGIFImage* Detach();
    void DoPaint();
    void DoPaintFrame();
    // The frame is on the canvas: the canvas tells its change.
    void Painted();
    void RestoreBackground();
    void RenderFrame(TGIFSubImage* Frame);
    TGIFSubImage* ActiveFrame() const;
    std::unique_ptr<TBitmap> CanvasCopy(bool Filled);

    TGIFImage* FImage;
    TGIFPainter** Reference;
    std::atomic<int> FAnimationSpeed;
    std::atomic<int> FActiveImage{-1};
    std::atomic<bool> FStarted{false};
    std::atomic<bool> RestartRequest{false};
    // The frame waits can be cut short (by a speed change or Stop).
    const bool Wakeable;
    TDisposalMethod Disposal = dmNoDisposal, PreviousDisposal = dmNoDisposal;
    COLORREF BackgroundColor;
    std::unique_ptr<TBitmap> Backup, FrameBuffer, Snapshot;
    std::shared_ptr<TBitmap> Target; // the image's own bitmap, when it paints on that
    // Of the image, what the painter needs past it (a handler may free the
    // image in the middle of a paint): its render lock, and whether it lives.
    const std::shared_ptr<TGIFImage::TLife> Life;
    HDC ValidationDC = nullptr;
    std::exception_ptr Failure;
    // Read and written on the main thread only.
    bool InSynchronizedCall = false;
};
