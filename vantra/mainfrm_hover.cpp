#include "globals.h"
#include "mainfrm.h"
#include "nic_detect.h"

void TMainFrm::ResetHoverImages()
{
    if (HoverIndex == HoverIndex2) return;
    switch (HoverIndex) {
    case 0: SetWizardButtonImage(1032); break;
    case 1: SetWizardButtonImage(1035); break;
    case 3: SetWizardButtonImage(1044); break;
    case 4: SetWizardButtonImage(1041); break;
    case 6: SetWizardButtonImage(1050); break;
    case 7: SetWizardButtonImage(1053); break;
    case 8: RestoreTitleButton(); break;
    }
}

void TMainFrm::ClearHover()
{
    HoverIndex2 = -1;
    ResetHoverImages();
    HoverIndex = -1;
}

void TMainFrm::RestoreTitleButton()
{
    if (TitleButtonBitmap) Image7->Picture()->Assign(TitleButtonBitmap);
}

// A wizard button or the title button under the pointer: the highlighted
// picture and "change.wav" once per entry.
void TMainFrm::HoverButton(int32_t Code, TImage* Button, int32_t HotId)
{
    HoverIndex2 = Code;
    ResetHoverImages();
    if (HoverIndex2 != HoverIndex) {
        PlaySoundThenStop("change.wav");
        if (Button == Image7) Image7->Picture()->Assign(TitleButtonHotBitmap);
        else SetWizardButtonImage(HotId);
    }
    HoverIndex = Code;
}

void TMainFrm::HoverPageButton(int32_t Code)
{
    if (Code == 2 && WzcServiceBlocks()) return;
    HoverIndex2 = Code;
    ResetHoverImages();
    if (HoverIndex2 != HoverIndex) PlaySoundThenStop("change.wav");
    HoverIndex = Code;
}
