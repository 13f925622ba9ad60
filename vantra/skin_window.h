// What the two skinned windows, the main window and the WEP key dialog,
// share: a 580 x 435 skin picture, shown through a region that rounds the
// corners and cuts off the bottom 5 rows, and tiled as the background.
#pragma once
#include "toolkit/bitmap.h"

#include <windows.h>

// Gives the window its rounded 580 x 430 region, redrawing it.
void CutSkinRegion(HWND Wnd);

// Draws the picture unscaled in whole tiles over the screen's size onto Dc:
// the answer to the background erase, 1; 0 while there is no picture yet.
LRESULT TileSkin(HDC Dc, TBitmap* Picture);
