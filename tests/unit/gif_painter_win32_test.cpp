// The animation painters, read back from the bitmaps they paint on: every
// frame they leave on the canvas against ImageMagick's composition of the
// same animation (tests/gif_coalesce_refs.sh), their frame waits, loops,
// pausing and stopping, images freed while they play, and animations in a
// picture on a form that change or free themselves from their own events.
#include "gif_bitmap_support.h"
#include "gif_test_support.h"
#include "gifimage/gif_painter_win32.h"
#include "gifimage/gif_unit_win32.h"
#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/graphic_controls.h"
#include "toolkit/picture.h"
#include "toolkit/thread_check.h"

#include <gtest/gtest.h>
#include <mmsystem.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

namespace {

const TColor Background = 0x2A7F4B; // the colour ImageMagick's frames are flattened onto

// Runs the painters' synchronised calls until Done holds; false after Milliseconds.
bool PumpUntil(const std::function<bool()>& Done, DWORD Milliseconds = 10000)
{
    const DWORD start = timeGetTime();
    while (!Done()) {
        if (timeGetTime() - start > Milliseconds) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    return true;
}

// The frame delays of the test run, restored at the end of each test.
struct TDelays {
    TDelays() : Exp(GIFDelayExp), Default(GIFDefaultDelay), Minimum(GIFMinimumDelay), Maximum(GIFMaximumDelay) {}
    ~TDelays()
    {
        GIFDelayExp = Exp;
        GIFDefaultDelay = Default;
        GIFMinimumDelay = Minimum;
        GIFMaximumDelay = Maximum;
    }
    int Exp, Default, Minimum, Maximum;
};

// One frame of 8 x 6 in a global table of 8 greys.
Bytes OneFrame()
{
    Bytes b = Header(8, 6, true, 2);
    Append(b, MinimalFrame(8, 6));
    Append(b, {';'});
    return b;
}

// An animation of Frames frames of 8 x 6, each in a colour of its own, with
// Delay hundredths of a second each, looping Loops times when Loops >= 0.
void MakeAnimation(TGIFImage& Image, int Frames, int Delay, int Loops = -1)
{
    ASSERT_EQ(Load(Image, OneFrame()), "");
    Image.Images()->Clear();
    for (int f = 0; f < Frames; ++f) {
        TGIFSubImage* frame = AddFrame(Image, 0, 0, 8, 6, Bytes(48, uint8_t(f % 8)));
        auto* control = new TGIFGraphicControlExtension(frame);
        frame->Extensions()->Add(control);
        control->SetDelay(uint16_t(Delay));
        control->SetDisposal(dmNoDisposal);
        if (f == 0 && Loops >= 0) {
            auto* loop = new TGIFAppExtNSLoop(frame);
            loop->Loops = uint16_t(Loops);
            frame->Extensions()->Insert(0, loop);
        }
    }
}

// What a painter did, as its events tell it.
struct TPaintLog {
    explicit TPaintLog(TGIFImage& Image)
    {
        Image.OnAfterPaint = [this](TObject* Sender) {
            Frames.push_back(static_cast<TGIFPainter*>(Sender)->GetActiveImage());
            Times.push_back(timeGetTime());
        };
        Image.OnLoop = [this](TObject*) { ++Loops; };
        Image.OnEndPaint = [this](TObject*) { Ended = true; };
    }
    std::vector<int> Frames;
    std::vector<DWORD> Times;
    int Loops = 0;
    bool Ended = false;
};

// --- against ImageMagick ----------------------------------------------------

struct TCoalesced {
    std::string File;
    int Frames, Width, Height;
};

std::vector<TCoalesced> ReadManifest()
{
    std::vector<TCoalesced> lines;
    std::ifstream in(std::string(GIF_COALESCE) + "/manifest.txt");
    for (std::string line; std::getline(in, line);) {
        for (char& c : line)
            if (c == '|') c = ' ';
        std::istringstream fields(line);
        TCoalesced c;
        if (fields >> c.File >> c.Frames >> c.Width >> c.Height) lines.push_back(c);
    }
    return lines;
}

// How many pixels of the canvas differ from ImageMagick's frame K of animation N.
int Mismatch(TBitmap& Canvas, size_t N, int K)
{
    const Bytes rgb =
        ReadFileBytes(std::string(GIF_COALESCE) + "/refs/" + std::to_string(N) + "-" + std::to_string(K) + ".rgb");
    const TRgbPicture shown = ReadPicture(Canvas);
    if (rgb.size() != shown.Pixels.size() * 3) return int(shown.Pixels.size());
    int differing = 0;
    for (size_t i = 0; i < shown.Pixels.size(); ++i)
        differing += shown.Pixels[i] != (uint32_t(rgb[i * 3]) << 16 | uint32_t(rgb[i * 3 + 1]) << 8 | rgb[i * 3 + 2]);
    return differing;
}

// Paints animation N of the manifest on a canvas of the background colour
// and compares each frame as the after-paint event finds it.
void CompareWithCoalesced(size_t N, const TCoalesced& Ref, TGIFDrawOptions Options, int& Compared)
{
    SCOPED_TRACE(Ref.File);
    TGIFImage image;
    const std::string refusal = Load(image, ReadFileBytes(std::string(GIF_COALESCE) + "/" + Ref.File));
    // Blocks that the reader refuses by its rules and ImageMagick reads.
    if (refusal == GIFTexts::BadAppBlockSize || refusal == GIFTexts::UnknownExtension) {
        std::printf("%s: not compared, the reader refuses it (%s)\n", Ref.File.c_str(), refusal.c_str());
        return;
    }
    ASSERT_EQ(refusal, "");
    ASSERT_EQ(image.GetWidth(), Ref.Width);
    ASSERT_EQ(image.GetHeight(), Ref.Height);
    auto canvas = SolidBitmap(Ref.Width, Ref.Height, Background);
    std::vector<int> painted;
    image.OnAfterPaint = [&](TObject* Sender) {
        const int k = static_cast<TGIFPainter*>(Sender)->GetActiveImage();
        painted.push_back(k);
        EXPECT_EQ(Mismatch(*canvas, N, k), 0) << "frame " << k;
    };
    bool ended = false;
    image.OnEndPaint = [&](TObject*) { ended = true; };
    TGIFPainter* painter = image.Paint(canvas->Canvas(), {0, 0, Ref.Width, Ref.Height}, Options);
    if (painter) {
        EXPECT_TRUE(PumpUntil([&] { return ended; }));
    }
    image.PaintStop();
    // A frame of no pixels ends the pass; no other frame is left out.
    size_t expected = 0;
    while (int(expected) < image.Images()->GetCount() && !image.Images()->GetImage(int(expected))->GetEmpty())
        ++expected;
    EXPECT_EQ(painted.size(), expected);
    Compared += int(painted.size());
}

TEST(PainterCanvas, EveryFrameEqualsImageMagicksCoalescedFrame)
{
    const TDelays delays;
    GIFDelayExp = 0; // no waits between frames
    const std::vector<TCoalesced> refs = ReadManifest();
    ASSERT_GE(refs.size(), 7u) << "no animations listed in " << GIF_COALESCE;
    int compared = 0;
    const TGIFDrawOptions options = DrawOption(goAnimate) | DrawOption(goTransparent);
    for (size_t n = 0; n < refs.size(); ++n) CompareWithCoalesced(n, refs[n], options, compared);
    EXPECT_GT(compared, 35);
    // The asynchronous painter composes the same way, through the main thread.
    for (size_t n = 0; n < refs.size() && n < 7; ++n)
        CompareWithCoalesced(n, refs[n], options | DrawOption(goAsync), compared);
}

// --- timing -----------------------------------------------------------------

TEST(PainterTiming, DelaysAndSpeedsGiveTheWaits)
{
    const TDelays delays;
    TGIFImage image;
    MakeAnimation(image, 4, 0);
    TGIFSubImage* frame = image.Images()->GetImage(0);
    auto delayOf = [&](int Delay, bool Async) {
        frame->GraphicControlExtension->SetDelay(uint16_t(Delay));
        return FrameDelay(frame, Async);
    };
    EXPECT_EQ(delayOf(0, true), 10);
    EXPECT_EQ(delayOf(1, true), 3);
    EXPECT_EQ(delayOf(2, false), 3);
    EXPECT_EQ(delayOf(10, true), 10);
    EXPECT_EQ(delayOf(5000, true), 5000);
    EXPECT_EQ(delayOf(5000, false), 1000);

    // Waits on time: no overhead to take off.
    auto wait = [](int Delay, int Speed, bool Async) {
        TFrameClock clock{1000, 0};
        return FrameWait(Delay, Speed, Async, 1000, clock);
    };
    EXPECT_EQ(wait(10, 100, true), 120u);
    EXPECT_EQ(wait(3, 100, true), 36u);
    EXPECT_EQ(wait(5000, 100, true), 60000u);
    EXPECT_EQ(wait(1000, 100, false), 12000u);
    EXPECT_EQ(wait(10, 200, true), 60u);
    EXPECT_EQ(wait(3, 200, false), 18u);
    EXPECT_EQ(wait(10, 0, true), INFINITE);
    EXPECT_EQ(wait(10, 0, false), 12000u);

    // A step that took 40 ms beyond its 120 ms wait takes 20 ms off the next.
    TFrameClock clock{1000, 120};
    EXPECT_EQ(FrameWait(10, 100, true, 1160, clock), 100u);
    EXPECT_EQ(clock.LastTime, 1160u);
    EXPECT_EQ(clock.LastWait, 100);
    // Far behind: no wait at all.
    clock = {1000, 0};
    EXPECT_EQ(FrameWait(3, 100, true, 2000, clock), 0u);
}

TEST(PainterTiming, FramesComeAtTheirDelaysAndSpeedScalesThem)
{
    for (int speed : {100, 200}) {
        SCOPED_TRACE(speed);
        TGIFImage image;
        MakeAnimation(image, 5, 10); // 120 ms a frame at speed 100
        image.SetAnimationSpeed(speed);
        TPaintLog log(image);
        auto canvas = SolidBitmap(8, 6, Background);
        TGIFPainter* painter = nullptr;
        image.InternalPaint(&painter, canvas->Canvas(), {0, 0, 8, 6}, DrawOption(goAsync) | DrawOption(goAnimate));
        ASSERT_NE(painter, nullptr);
        painter->Start();
        ASSERT_TRUE(PumpUntil([&] { return log.Ended; }));
        ASSERT_EQ(log.Frames, (std::vector<int>{0, 1, 2, 3, 4}));
        const DWORD span = log.Times.back() - log.Times.front();
        // Four waits, never shorter than asked (the clock may be 1 ms coarse each).
        EXPECT_GE(span, DWORD(4 * 120 * 100 / speed - 8));
        if (speed == 200) {
            EXPECT_LT(span, DWORD(4 * 120)) << "speed 200 did not shorten the waits";
        }
    }
}

TEST(PainterTiming, LoopCountsOnBothKindsOfPainter)
{
    const TDelays delays;
    GIFDelayExp = 0;
    auto passes = [](int Loops, bool Async, bool& StillRunning) {
        TGIFImage image;
        MakeAnimation(image, 3, 1, Loops);
        TPaintLog log(image);
        auto canvas = SolidBitmap(8, 6, Background);
        TGIFDrawOptions options = DrawOption(goAnimate) | DrawOption(goLoop);
        if (Async) options |= DrawOption(goAsync);
        image.Paint(canvas->Canvas(), {0, 0, 8, 6}, options);
        // An endless animation has looped a few times by now.
        StillRunning = !PumpUntil([&] { return log.Ended || log.Loops >= 5; }) || !log.Ended;
        image.PaintStop();
        return int(log.Frames.size()) / 3;
    };
    bool running = false;
    EXPECT_EQ(passes(3, true, running), 3);
    EXPECT_FALSE(running);
    EXPECT_EQ(passes(3, false, running), 3);
    EXPECT_EQ(passes(0, false, running), 1); // a synchronous painter plays an endless loop once
    EXPECT_FALSE(running);
    EXPECT_GE(passes(0, true, running), 5);
    EXPECT_TRUE(running);
}

TEST(PainterTiming, SpeedZeroHoldsTheFrameUntilTheSpeedChanges)
{
    TGIFImage image;
    MakeAnimation(image, 3, 1);
    TPaintLog log(image);
    auto canvas = SolidBitmap(8, 6, Background);
    image.SetAnimationSpeed(0);
    image.Draw(canvas->Canvas(), {0, 0, 8, 6});
    ASSERT_TRUE(PumpUntil([&] { return log.Frames.size() == 1; }));
    EXPECT_FALSE(PumpUntil([&] { return log.Frames.size() > 1; }, 300));
    image.SetAnimationSpeed(100);
    EXPECT_TRUE(PumpUntil([&] { return log.Frames.size() >= 3; }));
    image.PaintStop();
}

TEST(PainterControl, StopAndPauseTakeEffectWithin100ms)
{
    TGIFImage image;
    MakeAnimation(image, 3, 5000); // each wait is a minute
    TPaintLog log(image);
    auto canvas = SolidBitmap(8, 6, Background);
    TGIFPainter* painter = image.Paint(canvas->Canvas(), {0, 0, 8, 6}, image.GetDrawOptions());
    ASSERT_TRUE(PumpUntil([&] { return log.Frames.size() == 1; }));

    DWORD start = timeGetTime();
    image.PaintPause();
    ASSERT_TRUE(PumpUntil([&] { return painter->Suspended(); }, 100)) << "not parked within 100 ms";
    image.PaintResume();
    EXPECT_FALSE(painter->Suspended());

    start = timeGetTime();
    image.PaintStop();
    EXPECT_LT(timeGetTime() - start, 100u);
    EXPECT_TRUE(log.Ended == false); // the end event is not sent once stopped
    EXPECT_EQ(image.Painters()->LockList()->Count(), 0);
    image.Painters()->UnlockList();
}

TEST(PainterControl, PausedPainterPaintsNothingUntilResumed)
{
    TGIFImage image;
    MakeAnimation(image, 3, 3);
    TPaintLog log(image);
    auto canvas = SolidBitmap(8, 6, Background);
    image.Paint(canvas->Canvas(), {0, 0, 8, 6}, image.GetDrawOptions());
    ASSERT_TRUE(PumpUntil([&] { return log.Frames.size() >= 2; }));
    image.PaintPause();
    PumpUntil([] { return false; }, 100); // any frame already on its way arrives
    const size_t paused = log.Frames.size();
    EXPECT_FALSE(PumpUntil([&] { return log.Frames.size() > paused; }, 300));
    image.PaintResume();
    EXPECT_TRUE(PumpUntil([&] { return log.Frames.size() > paused; }));
}

// A painter that waits in a synchronised call for the main thread, while the
// main thread stops it: the stop runs that call instead of waiting for ever.
TEST(PainterControl, StopServicesAPainterWaitingInItsAfterPaintEvent)
{
    TGIFImage image;
    MakeAnimation(image, 3, 1);
    int afterPaints = 0;
    image.OnAfterPaint = [&](TObject*) { ++afterPaints; };
    auto canvas = SolidBitmap(8, 6, Background);
    TGIFPainter* painter = image.Paint(canvas->Canvas(), {0, 0, 8, 6}, image.GetDrawOptions());
    ASSERT_NE(painter, nullptr);
    ::Sleep(200); // the main thread is busy: the painter blocks in its first synchronised call
    const DWORD start = timeGetTime();
    image.PaintStop();
    EXPECT_LT(timeGetTime() - start, 1000u);
    EXPECT_LE(afterPaints, 1);
}

TEST(PainterControl, ActiveImageChosenInTheAfterPaintEventIsPaintedNext)
{
    const TDelays delays;
    GIFDelayExp = 0;
    TGIFImage image;
    MakeAnimation(image, 5, 1);
    std::vector<int> frames;
    image.OnAfterPaint = [&](TObject* Sender) {
        auto* painter = static_cast<TGIFPainter*>(Sender);
        frames.push_back(painter->GetActiveImage());
        if (painter->GetActiveImage() == 1) painter->SetActiveImage(3);
    };
    auto canvas = SolidBitmap(8, 6, Background);
    image.Paint(canvas->Canvas(), {0, 0, 8, 6}, DrawOption(goAnimate));
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 3, 4}));
}

TEST(PainterDraw, OneFrameDrawsWithoutAThreadAndDirectDrawKeepsItsPainter)
{
    TGIFImage still;
    ASSERT_EQ(Load(still, OneFrame()), "");
    const int threads = TLiveCount<TThread>::Alive();
    auto canvas = SolidBitmap(8, 6, Background);
    EXPECT_EQ(still.InternalPaint(nullptr, canvas->Canvas(), {0, 0, 8, 6}, still.GetDrawOptions()), nullptr);
    still.Draw(canvas->Canvas(), {0, 0, 8, 6});
    EXPECT_EQ(TLiveCount<TThread>::Alive(), threads);
    TGIFPainter* none = reinterpret_cast<TGIFPainter*>(1);
    EXPECT_EQ(still.InternalPaint(&none, canvas->Canvas(), {0, 0, 0, 6}, still.GetDrawOptions()), nullptr);
    EXPECT_EQ(none, nullptr);

    TGIFImage image;
    MakeAnimation(image, 3, 3);
    image.SetDrawOptions(image.GetDrawOptions() | DrawOption(goDirectDraw));
    image.Draw(canvas->Canvas(), {0, 0, 8, 6});
    image.Draw(canvas->Canvas(), {0, 0, 8, 6});
    EXPECT_EQ(image.Painters()->LockList()->Count(), 1);
    image.Painters()->UnlockList();
}

// Two pictures of one image: two painters render its frames, one at a time.
TEST(PainterDraw, TwoPaintersOfOneImagePaintTheSameFrames)
{
    const TDelays delays;
    GIFDelayExp = 0;
    TGIFImage image;
    MakeAnimation(image, 6, 1, 4);
    auto first = SolidBitmap(8, 6, Background), second = SolidBitmap(8, 6, Background);
    int ended = 0;
    image.OnEndPaint = [&](TObject*) { ++ended; };
    image.Paint(first->Canvas(), {0, 0, 8, 6}, image.GetDrawOptions());
    image.Paint(second->Canvas(), {0, 0, 8, 6}, image.GetDrawOptions());
    ASSERT_TRUE(PumpUntil([&] { return ended == 2; }));
    EXPECT_EQ(ReadPicture(*first).Pixels, ReadPicture(*second).Pixels);
    TGIFImage alone;
    MakeAnimation(alone, 6, 1);
    auto reference = SolidBitmap(8, 6, Background);
    alone.Paint(reference->Canvas(), {0, 0, 8, 6}, DrawOption(goAnimate));
    EXPECT_EQ(ReadPicture(*first).Pixels, ReadPicture(*reference).Pixels);
}

// --- life cycle ----------------------------------------------------------------

TEST(PainterLifecycle, ImagesFreedWhilePlayingLeaveNothingBehind)
{
    TGIFImage model;
    MakeAnimation(model, 4, 2, 0);
    const Bytes data = Save(model);
    auto canvas = SolidBitmap(8, 6, Background);
    // Wine counts no handles for GetProcessHandleCount: a leak shows as the
    // next free handle of each table moving up instead.
    struct TFigures {
        uintptr_t Kernel, Gdi;
        int64_t Memory;
    };
    auto figures = [] {
        HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        HBITMAP bitmap = CreateBitmap(1, 1, 1, 1, nullptr);
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
        const TFigures f{reinterpret_cast<uintptr_t>(event), reinterpret_cast<uintptr_t>(bitmap) & 0xFFFF,
                         int64_t(memory.PagefileUsage)};
        CloseHandle(event);
        DeleteObject(bitmap);
        return f;
    };
    const int threads = TLiveCount<TThread>::Alive();
    const auto before = figures();
    for (int cycle = 0; cycle < 1000; ++cycle) {
        auto image = std::make_unique<TGIFImage>();
        ASSERT_EQ(Load(*image, data), "");
        bool painted = false;
        image->OnAfterPaint = [&](TObject*) { painted = true; };
        if (cycle % 2) image->Draw(canvas->Canvas(), {0, 0, 8, 6}); // through the cached bitmap
        else image->Paint(canvas->Canvas(), {0, 0, 8, 6}, image->GetDrawOptions());
        if (cycle % 10 == 0) PumpUntil([&] { return painted; }, 1000);
        image.reset(); // while it plays
    }
    const auto after = figures();
    std::printf("1000 images freed while playing: next kernel handle %#llx -> %#llx, next GDI slot %#llx -> %#llx, "
                "private bytes %lld -> %lld KiB\n",
                static_cast<unsigned long long>(before.Kernel), static_cast<unsigned long long>(after.Kernel),
                static_cast<unsigned long long>(before.Gdi), static_cast<unsigned long long>(after.Gdi),
                static_cast<long long>(before.Memory / 1024), static_cast<long long>(after.Memory / 1024));
    EXPECT_EQ(TLiveCount<TThread>::Alive(), threads);
    // A leak per cycle would move them by about a thousand.
    EXPECT_LT(int64_t(after.Kernel) - int64_t(before.Kernel), 4 * 50);
    EXPECT_LT(int64_t(after.Gdi) - int64_t(before.Gdi), 50);
    EXPECT_LT(after.Memory - before.Memory, int64_t(8) << 20);
}

// --- in a picture on a form ----------------------------------------------------

// A borderless form with one picture, as the utility shows a status
// animation; shown once the test has set the events of its copy of the
// animation (a painter takes the events it is made with).
struct TPictureForm {
    explicit TPictureForm(TGIFImage& Animation)
    {
        Form.BorderStyle = bsNone;
        Form.SetBounds(40, 40, 60, 40);
        Form.SetColor(clWhite);
        Picture = new TImage(&Form);
        Picture->SetParent(&Form);
        Picture->SetBounds(10, 10, Animation.GetWidth(), Animation.GetHeight());
        Picture->Picture()->Assign(&Animation);
    }
    TGIFImage* Gif() const { return dynamic_cast<TGIFImage*>(Picture->Picture()->Graphic()); }
    void Show()
    {
        Form.Show();
        ::UpdateWindow(Form.Handle());
    }
    // What the form shows at a point of the picture, printed into a bitmap of our own.
    uint32_t PictureAt(int X, int Y)
    {
        auto shot = SolidBitmap(Form.Width(), Form.Height(), clBlack);
        ::PrintWindow(Form.Handle(), shot->Canvas()->Handle(), 0);
        return ReadPicture(*shot).At(Picture->Left() + X, Picture->Top() + Y);
    }
    TForm Form{nullptr};
    TImage* Picture;
};

// Ends the test program when the main thread has not come back within the
// limit: a call that waits for ever fails the run instead of hanging it.
class TWatchdog {
public:
    TWatchdog(const char* What, DWORD Milliseconds)
        : Done(::CreateEventA(nullptr, TRUE, FALSE, nullptr)), Thread([this, What, Milliseconds] {
              if (::WaitForSingleObject(Done, Milliseconds) == WAIT_OBJECT_0) return;
              std::fprintf(stderr, "%s: still waiting after %lu ms\n", What, static_cast<unsigned long>(Milliseconds));
              std::fflush(stderr);
              ::TerminateProcess(::GetCurrentProcess(), 3);
          })
    {
    }
    ~TWatchdog()
    {
        ::SetEvent(Done);
        Thread.join();
        ::CloseHandle(Done);
    }

private:
    HANDLE Done;
    std::thread Thread;
};

std::atomic<int> OffThread{0};
void NoteOffThread(const std::string& What)
{
    std::fprintf(stderr, "%s\n", What.c_str());
    ++OffThread;
}

// The painter renders frames on its worker: after the colours of the frames
// change, the picture's owner still hears of it on the main thread alone.
// The change is made in an event, while the painter waits for it.
TEST(PainterInAPicture, ChangesOfColoursAreToldOnTheMainThreadOnly)
{
    const TWatchdog watchdog("colour changes in a picture", 30000);
    const TThreadCheckFailure previous = SetThreadCheckFailure(NoteOffThread);
    OffThread = 0;
    TGIFImage animation;
    MakeAnimation(animation, 3, 2, 0);
    animation.SetDrawOptions(animation.GetDrawOptions() & ~DrawOption(goDither)); // colours as they are
    TPictureForm shown(animation);
    TGIFImage* gif = shown.Gif();
    const TNotifyEvent tell = gif->OnChange; // the picture's
    gif->OnChange = [&, tell](TObject* Sender) {
        if (::GetCurrentThreadId() != MainThreadID()) ++OffThread;
        tell(Sender);
    };
    int painted = 0, changedAt = 0;
    bool keptRendering = false, modifiedBySame = true, modifiedByColours = false;
    uint32_t seen = 0;
    gif->OnAfterPaint = [&](TObject* Sender) {
        const int active = static_cast<TGIFPainter*>(Sender)->GetActiveImage();
        if (++painted == 2) {
            // The same palette again, none, changes nothing.
            TGIFSubImage* frame = gif->Images()->GetImage(active);
            frame->SetPalette(nullptr);
            keptRendering = frame->GetHasBitmap();
            modifiedBySame = gif->PaletteModified;
            // Each frame takes colours of its own: what it rendered goes.
            for (int f = 0; f < 3; ++f)
                for (int c = 0; c < 8; ++c)
                    gif->Images()->GetImage(f)->GetColorMap()->Add(
                        TGIFColorMap::RGB2Color({uint8_t(60 * f), 200, uint8_t(c)}));
            modifiedByColours = gif->PaletteModified;
            changedAt = painted;
        } else if (changedAt && painted > changedAt + 6 && active == 1 && !seen) {
            // Every frame has been rendered again by the painter's worker, and painted.
            seen = shown.PictureAt(2, 2);
        }
    };
    shown.Show();
    ASSERT_TRUE(PumpUntil([&] { return seen != 0; }));
    EXPECT_TRUE(keptRendering);
    EXPECT_FALSE(modifiedBySame);
    EXPECT_TRUE(modifiedByColours);
    EXPECT_EQ(seen, 0x3CC801u); // frame 1 in its own colour 1
    EXPECT_EQ(OffThread, 0);
    EXPECT_FALSE(gif->PaletteModified); // realised with the frames painted since
    SetThreadCheckFailure(previous);
}

// An event handler that clears, frees, packs, resizes or optimizes the
// picture's image stops the very painter that runs it: that painter is let
// go, not waited for, and ends by itself without touching the image again.
TEST(PainterInAPicture, ItsOwnEventsStopAndFreeTheImage)
{
    const TDelays delays;
    const int threads = TLiveCount<TThread>::Alive();
    const TWatchdog watchdog("a painter's events changing its image", 30000);
    std::vector<DWORD> calls; // how long each call in a handler took
    const auto timed = [&](const std::function<void()>& Call) {
        const DWORD start = timeGetTime();
        Call();
        calls.push_back(timeGetTime() - start);
    };

    TGIFImage endless;
    MakeAnimation(endless, 3, 2, 0);
    TPictureForm shown(endless);
    TGIFImage* gif = shown.Gif();
    int painted = 0;
    bool freed = false;
    gif->OnAfterPaint = [&](TObject*) {
        if (++painted != 2) return;
        timed([&] { gif->SetDrawOptions(gif->GetDrawOptions() | DrawOption(goClearOnLoop)); });
        timed([&] { gif->SetWidth(gif->GetWidth() + 1); });
        timed([&] { gif->Optimize(OptimizeOption(ooCleanup), rmNone, dmNearest, 8); });
    };
    // Once the next painter loops, the picture lets its image go.
    gif->OnLoop = [&](TObject*) {
        if (painted <= 2 || freed) return;
        timed([&] { shown.Picture->Picture()->Assign(nullptr); });
        freed = true;
    };
    shown.Show();
    ASSERT_TRUE(PumpUntil([&] { return freed; }));
    EXPECT_EQ(shown.Gif(), nullptr);

    TGIFImage once;
    MakeAnimation(once, 3, 2, 1);
    shown.Picture->Picture()->Assign(&once);
    gif = shown.Gif();
    bool cleared = false;
    gif->OnEndPaint = [&](TObject*) {
        timed([&] { gif->Clear(); });
        cleared = true;
    };
    ASSERT_TRUE(PumpUntil([&] { return cleared; }));
    EXPECT_TRUE(gif->GetEmpty());

    ASSERT_EQ(calls.size(), 5u);
    for (DWORD milliseconds : calls) EXPECT_LT(milliseconds, 1000u);
    // The painters let go have ended and freed themselves.
    EXPECT_TRUE(PumpUntil([&] { return TLiveCount<TThread>::Alive() == threads; }));
}

// Counts the access violations raised while it lives, those that a caller
// further up swallows too (Wine does, around a synchronised call).
class TFaultCount {
public:
    TFaultCount() : Handler(::AddVectoredExceptionHandler(1, Note)) { Faults = 0; }
    ~TFaultCount() { ::RemoveVectoredExceptionHandler(Handler); }
    int Count() const { return Faults; }

private:
    static LONG CALLBACK Note(EXCEPTION_POINTERS* Exception)
    {
        if (Exception->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) ++Faults;
        return EXCEPTION_CONTINUE_SEARCH;
    }
    static inline std::atomic<int> Faults{0};
    void* const Handler;
};

// Each frame of the image takes colours of its own, which it renders again
// in the next paint: on the main thread, inside that paint, which tells its
// progress and the change.
void GiveFramesColoursOfTheirOwn(TGIFImage& Image, uint8_t Green)
{
    for (int f = 0; f < Image.Images()->GetCount(); ++f)
        for (int c = 0; c < 8; ++c)
            Image.Images()->GetImage(f)->GetColorMap()->Add(TGIFColorMap::RGB2Color({uint8_t(60 * f), Green, uint8_t(c)}));
}

// Colours changed in the event just before a paint make the frame render
// again on the main thread, inside the paint, which tells its progress and
// the change. A handler of either that lets the painter go (a change of the
// draw options stops it) leaves the painter to end by itself without
// touching the image, its canvas or its buffers again.
TEST(PainterInAPicture, LetGoFromItsProgressOrChangeDuringAPaint)
{
    const TDelays delays;
    const int threads = TLiveCount<TThread>::Alive();
    const TWatchdog watchdog("a painter let go during its paint", 30000);
    const TFaultCount faults;
    for (const bool byProgress : {true, false}) {
        SCOPED_TRACE(byProgress ? "progress" : "change");
        TGIFImage animation;
        MakeAnimation(animation, 3, 2, 0);
        TPictureForm shown(animation);
        TGIFImage* gif = shown.Gif();
        int paints = 0, afterLetGo = 0;
        bool painting = false, letGo = false;
        gif->OnPaint = [&](TObject*) {
            if (++paints == 2) {
                GiveFramesColoursOfTheirOwn(*gif, 90);
                painting = true;
            }
            if (letGo) ++afterLetGo; // a painter of the new options
        };
        gif->OnAfterPaint = [&](TObject*) { painting = false; };
        const auto letGoNow = [&] {
            if (!painting || letGo) return;
            letGo = true;
            gif->SetDrawOptions(gif->GetDrawOptions() ^ DrawOption(goClearOnLoop));
        };
        if (byProgress) {
            OnProgressOf(*gif, [&](TObject*, TProgressStage Stage, int, bool, const std::string&) {
                if (Stage == psStarting) letGoNow();
            });
        } else {
            const TNotifyEvent tell = gif->OnChange; // the picture's
            gif->OnChange = [&, tell](TObject* Sender) {
                letGoNow();
                tell(Sender);
            };
        }
        shown.Show();
        ASSERT_TRUE(PumpUntil([&] { return letGo; }));
        // The picture goes on with a painter of its new options.
        EXPECT_TRUE(PumpUntil([&] { return afterLetGo >= 3; }));
    }
    EXPECT_EQ(faults.Count(), 0);
    EXPECT_TRUE(PumpUntil([&] { return TLiveCount<TThread>::Alive() == threads; }));
}

// While one lives, freed memory is filled with a pattern and kept from
// reuse: code that reads a freed object reads the pattern (a pointer there
// faults), and code that writes one changes the pattern.
class TFreedMemoryPoison {
public:
    TFreedMemoryPoison() { Active = true; }
    ~TFreedMemoryPoison() { Release(); }
    TFreedMemoryPoison(const TFreedMemoryPoison&) = delete;
    TFreedMemoryPoison& operator=(const TFreedMemoryPoison&) = delete;

    // Frees what it kept; answers how many blocks were written after they were freed.
    static int Release()
    {
        Active = false;
        Hold();
        int written = 0;
        for (size_t i = 0; i < Count; ++i) {
            const auto* bytes = static_cast<const unsigned char*>(Kept[i]);
            const size_t size = ::HeapSize(::GetProcessHeap(), 0, Kept[i]);
            written += std::find_if(bytes, bytes + size, [](unsigned char Byte) { return Byte != Pattern; }) != bytes + size;
            ::HeapFree(::GetProcessHeap(), 0, Kept[i]);
        }
        ::HeapFree(::GetProcessHeap(), 0, Kept);
        Kept = nullptr;
        Count = Capacity = 0;
        Unhold();
        return written;
    }

    // What operator delete does.
    static void Free(void* Block)
    {
        if (!Block) return;
        HANDLE heap = ::GetProcessHeap();
        if (!Active) {
            ::HeapFree(heap, 0, Block);
            return;
        }
        std::memset(Block, Pattern, ::HeapSize(heap, 0, Block));
        Hold();
        if (Count == Capacity) {
            const size_t capacity = Capacity ? 2 * Capacity : 4096;
            void* grown = Kept ? ::HeapReAlloc(heap, 0, Kept, capacity * sizeof(void*))
                               : ::HeapAlloc(heap, 0, capacity * sizeof(void*));
            if (grown) {
                Kept = static_cast<void**>(grown);
                Capacity = capacity;
            }
        }
        if (Count < Capacity) Kept[Count++] = Block;
        else ::HeapFree(heap, 0, Block);
        Unhold();
    }

private:
    static constexpr unsigned char Pattern = 0xFE;
    static void Hold()
    {
        while (Lock.test_and_set(std::memory_order_acquire)) ::Sleep(0);
    }
    static void Unhold() { Lock.clear(std::memory_order_release); }
    static inline std::atomic<bool> Active{false};
    static inline std::atomic_flag Lock = ATOMIC_FLAG_INIT;
    static inline void** Kept = nullptr;
    static inline size_t Count = 0, Capacity = 0;
};

// A handler of any of the image's events that frees the image of a picture,
// while the image paints (its frame rendered in the paint tells its progress
// and the change; the first frame is painted while the picture's paint
// waits for it, and a synchronous painter runs all of it inside that paint)
// or between its paints: the painter ends without touching the image again,
// and its code inside the paint goes no further. With freed memory
// overwritten, a read of the image faults and a write of it shows.
TEST(PainterInAPicture, FreedByAHandlerOfAnyOfItsEvents)
{
    enum TEvent { evProgress, evChange, evStart, evPaint, evAfterPaint, evLoop, evEnd };
    const char* const names[] = {"progress", "change", "start", "paint", "after-paint", "loop", "end"};
    const TDelays delays;
    const int threads = TLiveCount<TThread>::Alive();
    const TWatchdog watchdog("images freed by their handlers", 60000);
    const TFaultCount faults;
    const TFreedMemoryPoison poison;
    TGIFImage animation;
    // Two passes: a loop between them, and an end.
    MakeAnimation(animation, 3, 2, 2);
    const TGIFDrawOptions defaults = animation.GetDrawOptions();
    TPictureForm shown(animation);
    shown.Show();
    for (const bool async : {true, false})
        for (const TEvent event : {evProgress, evChange, evStart, evPaint, evAfterPaint, evLoop, evEnd}) {
            SCOPED_TRACE(std::string(async ? "asynchronous, " : "synchronous, ") + names[event]);
            TGIFDrawOptions options = defaults;
            if (!async) options &= TGIFDrawOptions(~DrawOption(goAsync));
            // Through the buffers, where the change is told.
            if (event == evChange) options |= DrawOption(goClearOnLoop);
            animation.SetDrawOptions(options);
            // The picture paints its copy once it has its events.
            shown.Picture->Picture()->Assign(&animation);
            TGIFImage* gif = shown.Gif();
            bool freed = false, painting = false;
            int paints = 0;
            // Nothing of the image is touched once it is freed.
            const auto freeOn = [&](TEvent Now) {
                if (Now != event || freed) return false;
                freed = true;
                shown.Picture->Picture()->Assign(nullptr);
                return true;
            };
            gif->OnStartPaint = [&](TObject*) { freeOn(evStart); };
            gif->OnPaint = [&](TObject*) {
                if (freeOn(evPaint) || ++paints != 2) return;
                GiveFramesColoursOfTheirOwn(*gif, 150);
                painting = true;
            };
            gif->OnAfterPaint = [&](TObject*) {
                if (!freeOn(evAfterPaint)) painting = false;
            };
            gif->OnLoop = [&](TObject*) { freeOn(evLoop); };
            gif->OnEndPaint = [&](TObject*) { freeOn(evEnd); };
            OnProgressOf(*gif, [&](TObject*, TProgressStage Stage, int, bool, const std::string&) {
                if (painting && Stage == psStarting) freeOn(evProgress);
            });
            const TNotifyEvent tell = gif->OnChange; // the picture's
            gif->OnChange = [&, tell](TObject* Sender) {
                if (!(painting && freeOn(evChange))) tell(Sender);
            };
            ASSERT_TRUE(PumpUntil([&] { return freed; }));
            EXPECT_EQ(shown.Gif(), nullptr);
            EXPECT_TRUE(PumpUntil([&] { return TLiveCount<TThread>::Alive() == threads; }));
        }
    EXPECT_EQ(faults.Count(), 0);
    EXPECT_EQ(poison.Release(), 0);
}

// --- the unit -------------------------------------------------------------------

TEST(GIFUnit, RegistersTheFormatWhileItLives)
{
    // The test program's own unit is up.
    ASSERT_NE(TPicture::FindClass("TGIFImage"), nullptr);
    ASSERT_NE(TPicture::FindExtension("gif"), nullptr);
    EXPECT_NE(CF_GIF, 0u);
    EXPECT_TRUE(TPicture::SupportsClipboardFormat(CF_GIF));
    {
        TGIFUnit again;
    }
    EXPECT_EQ(TPicture::FindClass("TGIFImage"), nullptr);
    EXPECT_EQ(TPicture::FindExtension("gif"), nullptr);
    EXPECT_FALSE(TPicture::SupportsClipboardFormat(CF_GIF));
    TGIFUnit restored;
    ASSERT_NE(TPicture::FindClass("TGIFImage"), nullptr);

    // A picture stored as form data: class name, then the bare stream.
    TGIFImage animation;
    MakeAnimation(animation, 3, 5);
    TMemoryStream stream;
    const uint8_t length = 9;
    stream.WriteBuffer(&length, 1);
    stream.WriteBuffer("TGIFImage", 9);
    animation.WriteData(&stream);
    stream.SetPosition(0);
    TPicture picture;
    picture.ReadData(&stream);
    auto* read = dynamic_cast<TGIFImage*>(picture.Graphic());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Images()->GetCount(), 3);

    EXPECT_TRUE(IsPaletteScreen(8, 1));
    EXPECT_TRUE(IsPaletteScreen(4, 1));
    EXPECT_FALSE(IsPaletteScreen(16, 1));
    EXPECT_FALSE(IsPaletteScreen(24, 1));
}

TEST(GIFUnit, ClipboardFormsGoBothWays)
{
    TGIFImage image;
    MakeAnimation(image, 3, 5);
    UINT format = 0;
    HANDLE data = nullptr;
    HPALETTE palette = nullptr;
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    image.SaveToClipboardFormat(format, data, palette);
    EXPECT_EQ(format, UINT(CF_BITMAP));
    HANDLE gif = GetClipboardData(CF_GIF);
    ASSERT_NE(gif, nullptr);
    TGIFImage copy;
    copy.LoadFromClipboardFormat(CF_GIF, gif, nullptr);
    EXPECT_EQ(Save(copy), Save(image));
    CloseClipboard();
    if (data) DeleteObject(data);
    if (palette) DeleteObject(palette);
    EXPECT_EQ(MessageOf([&] { copy.LoadFromClipboardFormat(CF_TEXT, reinterpret_cast<HANDLE>(1), nullptr); }),
              GIFTexts::UnsupportedClipboard);
}

// --- the graphic ----------------------------------------------------------------

TEST(ImageGraphic, AssignCopiesAnImageButNotItsHandlersSpeedOrCompression)
{
    TGIFImage source;
    MakeAnimation(source, 3, 5);
    source.SetDrawOptions(DrawOption(goAnimate) | DrawOption(goTile));
    source.SetAnimationSpeed(300);
    source.Compression = gcRLE;
    int warnings = 0;
    source.OnWarning = [&](TObject*, TGIFSeverity, const std::string&) { ++warnings; };
    TGIFImage copy;
    copy.OnWarning = [&](TObject*, TGIFSeverity, const std::string&) { ++warnings; };
    OnProgressOf(copy, [](TObject*, TProgressStage, int, bool, const std::string&) {});
    copy.Assign(&source);
    EXPECT_EQ(copy.Images()->GetCount(), 3);
    EXPECT_FALSE(copy.OnWarning);
    EXPECT_FALSE(copy.OnProgress);
    EXPECT_EQ(copy.GetDrawOptions(), source.GetDrawOptions());
    EXPECT_EQ(copy.GetAnimationSpeed(), 100);
    EXPECT_EQ(copy.Compression, gcLZW);
    source.Compression = gcLZW;
    EXPECT_EQ(Save(copy), Save(source));

    auto bitmap = SolidBitmap(13, 7, clWhite);
    copy.Assign(bitmap.get());
    EXPECT_EQ(copy.Images()->GetCount(), 1);
    EXPECT_EQ(copy.GetWidth(), 13);
    EXPECT_EQ(copy.GetHeight(), 7);
    TBitmap back;
    back.Assign(&copy);
    EXPECT_EQ(ReadPicture(back).Pixels, ReadPicture(*bitmap).Pixels);

    copy.SetAnimationSpeed(-5);
    EXPECT_EQ(copy.GetAnimationSpeed(), 0);
    copy.SetAnimationSpeed(5000);
    EXPECT_EQ(copy.GetAnimationSpeed(), 1000);
    int changes = 0;
    copy.OnChange = [&](TObject*) { ++changes; };
    copy.SetWidth(13);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(MessageOf([&] { copy.SetWidth(12); }), GIFTexts::WidthTooSmall);
}

TEST(ImageGraphic, PackMovesALoneFramesTableToTheHeader)
{
    TGIFImage image;
    image.SetDrawOptions(0); // no dithering: a frame without colours asks the image
    image.Header()->SetWidth(2);
    image.Header()->SetHeight(1);
    AddFrame(image, 0, 0, 2, 1, Bytes{0, 1});
    EXPECT_EQ(MessageOf([&] { image.GetPalette(); }), GIFTexts::NoColorTable);

    TGIFImage lone;
    lone.Header()->SetWidth(2);
    lone.Header()->SetHeight(1);
    AddFrame(lone, 0, 0, 2, 1, Bytes{0, 1}, {0x0000FF, 0x00FF00});
    lone.Pack();
    EXPECT_EQ(lone.GetColorMap()->Count(), 2);
    EXPECT_EQ(lone.Images()->GetImage(0)->GetColorMap()->Count(), 0);
}

} // namespace

// Every allocation of the test program, so that a test can keep what is freed (TFreedMemoryPoison).
void* operator new(std::size_t Size)
{
    if (void* block = ::HeapAlloc(::GetProcessHeap(), 0, Size ? Size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* Block) noexcept { TFreedMemoryPoison::Free(Block); }
void operator delete(void* Block, std::size_t) noexcept { TFreedMemoryPoison::Free(Block); }
