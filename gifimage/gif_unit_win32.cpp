#include "gif_unit_win32.h"
#include "gif_image.h"
#include "toolkit/picture.h"

namespace {
const TGraphicClass GIFImageClass = GraphicClass<TGIFImage>("TGIFImage");
}

bool IsPaletteScreen(int BitsPerPixel, int Planes) { return BitsPerPixel * Planes <= 8; }

TGIFUnit::TGIFUnit()
{
    TPicture::RegisterFileFormat("GIF", "GIF Image", GIFImageClass);
    CF_GIF = RegisterClipboardFormatA("GIF Image");
    TPicture::RegisterClipboardFormat(CF_GIF, GIFImageClass);
    if (HDC screen = GetDC(nullptr)) {
        PaletteDevice = IsPaletteScreen(GetDeviceCaps(screen, BITSPIXEL), GetDeviceCaps(screen, PLANES));
        ReleaseDC(nullptr, screen);
    }
    DoAutoDither = PaletteDevice;
    DummyThread = std::make_unique<TDummyThread>();
}

TGIFUnit::~TGIFUnit()
{
    TPicture::UnregisterGraphicClass(GIFImageClass);
    DummyThread.reset();
}
