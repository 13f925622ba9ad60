#include "richedit.h"
#include "exceptions.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

namespace {

// The control's window class lives in its library, loaded once for the process.
void LoadRichEditLibrary()
{
    static const HMODULE library = ::LoadLibraryA("riched20.dll");
    if (!library) throw EOSError("Cannot load riched20.dll");
}

struct TStreamSource {
    const std::string* Text;
    size_t Done;
};

DWORD CALLBACK ReadSource(DWORD_PTR Cookie, LPBYTE Buffer, LONG Count, LONG* Read)
{
    auto* source = reinterpret_cast<TStreamSource*>(Cookie);
    const size_t n = std::min(static_cast<size_t>(Count), source->Text->size() - source->Done);
    std::memcpy(Buffer, source->Text->data() + source->Done, n);
    source->Done += n;
    *Read = static_cast<LONG>(n);
    return 0;
}

} // namespace

TRichEdit::TRichEdit(TComponent* AOwner) : TWinControl(AOwner)
{
    FWidth = 185;
    FHeight = 89;
    FColor = clWindow;
}

void TRichEdit::CreateParams(TCreateParams& Params)
{
    LoadRichEditLibrary();
    TWinControl::CreateParams(Params);
    Params.SysClassName = RICHEDIT_CLASSA;
    // ES_SAVESEL: a text that Tab comes back to keeps its selection and its
    // place, rather than being selected whole and scrolled to its end.
    Params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP | ES_SAVESEL;
    if (FReadOnly) Params.Style |= ES_READONLY;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TRichEdit::CreateWnd()
{
    TWinControl::CreateWnd();
    if (!FRichText.empty()) StreamIn();
}

bool TRichEdit::TakesKey(UINT Code, WPARAM Key) const
{
    return Key != VK_RETURN && Key != VK_TAB && TWinControl::TakesKey(Code, Key);
}

void TRichEdit::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    if (HandleAllocated()) ::SendMessageA(Handle(), EM_SETREADONLY, Value, 0);
}

void TRichEdit::LoadFromFile(const std::string& FileName)
{
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&file);
}

void TRichEdit::LoadFromStream(TStream* Stream)
{
    const int64_t left = Stream->Size() - Stream->Position();
    std::string text(static_cast<size_t>(std::max<int64_t>(left, 0)), '\0');
    if (!text.empty()) Stream->ReadBuffer(&text[0], static_cast<int32_t>(text.size()));
    FRichText = std::move(text);
    if (HandleAllocated()) StreamIn();
}

void TRichEdit::StreamIn()
{
    TStreamSource source{&FRichText, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadSource;
    ::SendMessageA(Handle(), EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}
