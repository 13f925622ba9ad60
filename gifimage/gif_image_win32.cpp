#include "gif_image.h"
#include "gif_subimage.h"
#include "gif_util.h"
#include "palette_win32.h"

HPALETTE TGIFImage::GetPalette()
{
    // A first frame without colours of its own asks the image back.
    if (InsidePalette) RaiseGifError(GIFTexts::NoColorTable);
    struct Inside {
        explicit Inside(bool& Flag) : Flag(Flag) { Flag = true; }
        ~Inside() { Flag = false; }
        bool& Flag;
    } inside(InsidePalette);

    if (KeptPalette) return HandleOf(KeptPalette);
    if (GetDoDither()) KeptPalette = WebPalette();
    else if (GetColorMap()->Count() > 0) KeptPalette = GetColorMap()->ExportPalette();
    if (KeptPalette) return HandleOf(KeptPalette);
    return GetEmpty() ? nullptr : Images()->GetImage(0)->GetPalette();
}
