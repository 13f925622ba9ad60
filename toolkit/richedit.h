// TRichEdit: the system's rich edit control (version 2.0, riched20.dll),
// which shows formatted text read from rich text (RTF).
#pragma once
#include "control.h"
#include "streams.h"

class TRichEdit : public TWinControl {
public:
    CLASS_NAME(TRichEdit)
    explicit TRichEdit(TComponent* AOwner);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    // The whole file or the rest of the stream, as rich text; text that is
    // not RTF shows as plain text. Raises EFOpenError for a missing file.
    void LoadFromFile(const std::string& FileName);
    void LoadFromStream(TStream* Stream);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    // Enter and Tab are the form's, as a dialog's are: Enter goes on with its
    // default button, Tab moves the focus on. The control itself would ask
    // its parent by DM_GETDEFID and WM_NEXTDLGCTL, which name a button by its
    // window, and a form's buttons may be pictures without one.
    bool TakesKey(UINT Code, WPARAM Key) const override;

private:
    void StreamIn();
    std::string FRichText; // kept for a window made later
    bool FReadOnly = false;
};
