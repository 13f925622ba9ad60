#include "skin_window.h"
#include "toolkit/application.h"

void CutSkinRegion(HWND Wnd)
{
    // The window takes over the region.
    ::SetWindowRgn(Wnd, ::CreateRoundRectRgn(0, 0, 580, 430, 25, 25), TRUE);
}

LRESULT TileSkin(HDC Dc, TBitmap* Picture)
{
    const int w = Picture ? Picture->Width() : 0, h = Picture ? Picture->Height() : 0;
    if (w <= 0 || h <= 0) return 0;
    HDC source = Picture->Canvas()->Handle();
    const int columns = Screen->Width() / w, rows = Screen->Height() / h;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x) ::BitBlt(Dc, x * w, y * h, w, h, source, 0, 0, SRCCOPY);
    return 1;
}
