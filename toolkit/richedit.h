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

private:
    void StreamIn();
    std::string FRichText; // kept for a window made later
    bool FReadOnly = false;
};
