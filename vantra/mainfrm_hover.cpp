#include "mainfrm.h"
#include "wzc_service.h"

void TMainFrm::ResetHoverImages()
{
    if (HoverIndex == HoverIndex2) return;
    switch (HoverIndex) {
    case HoverItem::Back: SetWizardButtonImage(IDB_BUTTON_BACK); break;
    case HoverItem::Next: SetWizardButtonImage(IDB_BUTTON_NEXT); break;
    case HoverItem::Yes: SetWizardButtonImage(IDB_BUTTON_YES); break;
    case HoverItem::No: SetWizardButtonImage(IDB_BUTTON_NO); break;
    case HoverItem::ActivateNow: SetWizardButtonImage(IDB_BUTTON_NOW); break;
    case HoverItem::ActivateLater: SetWizardButtonImage(IDB_BUTTON_LATER); break;
    case HoverItem::TitleButton: RestoreTitleButton(); break;
    default: break; // the page buttons have no highlighted picture
    }
}

void TMainFrm::ClearHover()
{
    HoverIndex2 = HoverItem::None;
    ResetHoverImages();
    HoverIndex = HoverItem::None;
}

void TMainFrm::RestoreTitleButton()
{
    if (TitleButtonBitmap) Image7->Picture()->Assign(TitleButtonBitmap);
}

// A wizard button or the title button under the pointer: the highlighted
// picture and "change.wav" once per entry.
void TMainFrm::HoverButton(HoverItem Code, TImage* Button, int32_t HotId)
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

void TMainFrm::HoverPageButton(HoverItem Code)
{
    if (Code == HoverItem::ProfilesButton && WzcServiceBlocks(Program.WinVersionCode)) return;
    HoverIndex2 = Code;
    ResetHoverImages();
    if (HoverIndex2 != HoverIndex) PlaySoundThenStop("change.wav");
    HoverIndex = Code;
}
