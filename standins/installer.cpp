// Utility\setup.exe of the simulated installation disc: the utility's
// installer as the setup wizard meets it. It installs nothing. Its window,
// titled "InstallShield Wizard", says whether the wizard started it (the
// value "Open" = "Open Setup" under HKEY_LOCAL_MACHINE\SOFTWARE), waits for
// a click or a test's message, leaves "Exitkey" there as told, and ends:
//   Finish              "Exitkey" = "exit"
//   Cancel, or closing  no "Exitkey"
//   WM_COPYDATA         dwData 1: "Exitkey" = the data's bytes as text; 0: none
// The environment variable VANTRA_INSTALLER_DELAY (milliseconds) holds its
// window back, as a slow installer's.
#include "standin_form.h"
#include "toolkit/application.h"
#include "toolkit/format.h"

#include <cstdlib>
#include <cstring>

namespace {

std::string OpenValue()
{
    HKEY key;
    char value[64] = {};
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_READ, &key) != ERROR_SUCCESS) return "";
    DWORD size = sizeof value - 1; // the wizard stores the text without its terminator
    if (::RegQueryValueExA(key, "Open", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
        size = 0;
    ::RegCloseKey(key);
    return std::string(value, strnlen(value, size));
}

void WriteExitKey(const std::string& Text)
{
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    ::RegSetValueExA(key, "Exitkey", 0, REG_SZ, reinterpret_cast<const BYTE*>(Text.c_str()),
                     static_cast<DWORD>(Text.size() + 1));
    ::RegCloseKey(key);
}

class TInstallerForm : public TStandinForm {
public:
    CLASS_NAME(TInstallerForm)
    // Above the middle of the screen, where the wizard's waiting window goes.
    explicit TInstallerForm(TComponent* AOwner) : TStandinForm(AOwner, 420, 170, Screen->Height() / 2 - 230)
    {
        SetCaption("InstallShield Wizard");
        AddLabel("Vantra utility installer (stand-in of the disc: it installs nothing).", 16);
        AddLabel(OpenValue() == "Open Setup" ? "Started by the setup wizard (\"Open\" = \"Open Setup\")."
                                             : "Not started by the setup wizard (no \"Open\" value).",
                 40);
        AddButton("Finish", 220, 96, [this](TObject*) { Finish(true, "exit"); });
        AddButton("Cancel", 310, 96, [this](TObject*) { Finish(false, ""); });
    }

protected:
    void Dispatch(TMessage& Message) override
    {
        if (Message.Msg == WM_COPYDATA) {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(Message.LParam);
            Finish(data->dwData == 1, std::string(static_cast<const char*>(data->lpData), data->cbData));
            Message.Result = TRUE;
            return;
        }
        TStandinForm::Dispatch(Message);
    }

private:
    void Finish(bool Write, const std::string& ExitKey)
    {
        if (Write) WriteExitKey(ExitKey);
        Close();
    }
};

TInstallerForm* InstallerForm = nullptr;

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    TApplication application;
    if (const char* delay = std::getenv("VANTRA_INSTALLER_DELAY")) ::Sleep(static_cast<DWORD>(StrToIntDef(delay, 0)));
    Application->SetTitle("InstallShield Wizard");
    Application->CreateForm(InstallerForm);
    InstallerForm->Show();
    // The wizard starts the installer hidden, and the first ShowWindow of a
    // process takes the starter's choice; the installer shows itself anyway.
    ::ShowWindow(InstallerForm->Handle(), SW_SHOWNORMAL);
    Application->Run();
    return 0;
}
