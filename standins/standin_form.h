// The window of a stand-in program of the simulated disc: a plain dialog
// with lines of text and push buttons.
#pragma once
#include "toolkit/form.h"

#include <string>

class TStandinForm : public TForm {
public:
    CLASS_NAME(TStandinForm)
    // Width x Height, Top pixels from the top of the screen, centred across it.
    TStandinForm(TComponent* AOwner, int Width, int Height, int Top);
    void AddLabel(const std::string& Caption, int Top);
    void AddButton(const char* Caption, int Left, int Top, TNotifyEvent Click);
};
