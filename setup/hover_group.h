// A hover group: the image buttons of one place (a page's panel, the title
// strip, the Congratulations Exit) that show a highlighted picture while the
// pointer is over them. A picture change copies a template's picture, held
// by a hidden image of the form, into the visible button.
#pragma once
#include "toolkit/graphic_controls.h"

#include <cstdint>
#include <vector>

struct THoverButton {
    int32_t Code;
    TImage* Button;
    TImage* Highlighted; // templates
    TImage* Normal;
};

class THoverGroup {
public:
    static constexpr int32_t None = 2; // no button

    int32_t Hover = None; // the button under the pointer
    int32_t Last = None;  // the button whose highlighted picture is up
    std::vector<THoverButton> Buttons;
    bool SoundOnReset = false; // the page background plays change.wav when it clears the group

    // Highlights the button named by Hover and puts the normal picture back
    // on the one highlighted before.
    void Update();
    void Reset()
    {
        Hover = None;
        Update();
    }

private:
    const THoverButton* Find(int32_t Code) const;
};
