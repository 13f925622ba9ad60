// The GIF unit's start and end in a program: while a TGIFUnit lives, the
// toolkit's pictures know the class TGIFImage by its name (form data), by
// the file extension "GIF" and by the clipboard format "GIF Image". Make
// one before any window reads its form data.
#pragma once
#include "toolkit/thread.h"

#include <memory>

// The clipboard format "GIF Image"; 0 until a TGIFUnit registers it.
extern UINT CF_GIF;

class TGIFUnit {
public:
    TGIFUnit();
    ~TGIFUnit();
    TGIFUnit(const TGIFUnit&) = delete;
    TGIFUnit& operator=(const TGIFUnit&) = delete;

private:
    // A thread made suspended at start and never run, as the unit always had.
    class TDummyThread : public TThread {
    protected:
        void Execute() override {}
    };
    std::unique_ptr<TDummyThread> DummyThread;
};

// Whether a screen of these bits per pixel and planes is a palette device.
bool IsPaletteScreen(int BitsPerPixel, int Planes);
