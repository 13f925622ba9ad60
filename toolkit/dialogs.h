// The toolkit's ready-made dialogs.
#pragma once
#include "component.h"

#include <string>

// Asks for one line of text in a modal dialog with the caption, the prompt
// and the edit filled with Default. OK, or Enter away from Cancel, gives the
// text typed; Cancel, Escape or closing the dialog gives Default.
std::string InputBox(const std::string& Caption, const std::string& Prompt, const std::string& Default);

// The common dialog library's file dialogs. FileName is the name offered
// when the dialog opens and, after Execute returned true, the one chosen;
// a later Execute offers the last chosen name. Filter holds pairs of a
// description and a pattern, each followed by "|" ("Text files|*.txt").
// The dialog is owned by the owner's window when the owner is a control.
class TFileDialog : public TComponent {
public:
    CLASS_NAME(TFileDialog)
    std::string FileName;
    std::string Filter;
    // Runs the dialog modally; false when the user cancels.
    bool Execute();

protected:
    TFileDialog(TComponent* AOwner, bool ASaving) : TComponent(AOwner), Saving(ASaving) {}

private:
    const bool Saving;
};

class TOpenDialog : public TFileDialog {
public:
    CLASS_NAME(TOpenDialog)
    explicit TOpenDialog(TComponent* AOwner) : TFileDialog(AOwner, false) {}
};

class TSaveDialog : public TFileDialog {
public:
    CLASS_NAME(TSaveDialog)
    explicit TSaveDialog(TComponent* AOwner) : TFileDialog(AOwner, true) {}
};
