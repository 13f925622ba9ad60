#include "unit1.h"

void TForm1::ButtonMouseMove(THoverGroup& Group, int32_t Code)
{
    if (Group.Hover == Code) return;
    Group.Hover = Code;
    PlaySetupSound("change.wav");
    Group.Update();
}

THoverGroup& TForm1::PageGroup(TImage* Background)
{
    if (Background == Image19) return License;
    if (Background == Image26) return WirelessMode;
    if (Background == Image34) return Channel;
    if (Background == Image33) return Final;
    if (Background == Image11) return Exit;
    return Welcome;
}

// Bare skin under the pointer: no button of the page or of the title strip
// is under it. Every background also clears the title strip, the
// Congratulations page's included, so that no title button stays lit.
void TForm1::BackgroundMouseMove(TImage* Background)
{
    THoverGroup& group = PageGroup(Background);
    if (group.Hover != THoverGroup::None) {
        group.Hover = THoverGroup::None;
        if (group.SoundOnReset) PlaySetupSound("change.wav");
    }
    group.Update();
    Title.Reset();
}

void TForm1::ResetHoverGroups()
{
    for (THoverGroup* group : {&Welcome, &License, &WirelessMode, &Final, &Channel, &Title, &Exit}) group->Reset();
}
