// Acrobat Reader 5.0\AR500ENU.EXE of the simulated installation disc: the
// reader installer as the setup wizard starts it. Its window waits for
// Install, which makes this program the viewer of .pdf files (the
// association under HKEY_CLASSES_ROOT), or Cancel. Started as that viewer,
// with "/view" and a file, it shows the file in a window titled
// "<file name> - Reader". It is a test and demonstration part, like the disc.
#include "standin_form.h"
#include "toolkit/application.h"
#include "toolkit/format.h"

#include <shellapi.h>

namespace {

const char* const ProgId = "VantraStandin.PdfFile";

bool SetDefaultValue(const std::string& Key, const std::string& Value)
{
    HKEY key;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, Key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG result = ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(Value.c_str()),
                                         static_cast<DWORD>(Value.size() + 1));
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

void RegisterViewer()
{
    const std::string command = "\"" + Application->ExeName() + "\" /view \"%1\"";
    SetDefaultValue(".pdf", ProgId);
    SetDefaultValue(std::string(ProgId) + "\\shell\\open\\command", command);
}

class TReaderForm : public TStandinForm {
public:
    CLASS_NAME(TReaderForm)
    explicit TReaderForm(TComponent* AOwner) : TStandinForm(AOwner, 420, 150, (Screen->Height() - 150) / 2) {}
};

TReaderForm* ReaderForm = nullptr;

std::string FileSizeText(const std::string& Path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(Path.c_str(), GetFileExInfoStandard, &data)) return "missing";
    return Format("%lu bytes", static_cast<unsigned long>(data.nFileSizeLow));
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    TApplication application;
    Application->SetTitle("Reader");
    Application->CreateForm(ReaderForm);
    if (__argc >= 3 && CompareText(__argv[1], "/view") == 0) {
        const std::string file = __argv[2];
        ReaderForm->SetCaption(ExtractFileName(file) + " - Reader");
        ReaderForm->AddLabel("Reader (stand-in of the disc) shows:", 16);
        ReaderForm->AddLabel(file + " (" + FileSizeText(file) + ")", 40);
    } else {
        ReaderForm->SetCaption("Reader Setup");
        ReaderForm->AddLabel("Installs the reader of the user guide (stand-in of the disc).", 16);
        ReaderForm->AddButton("Install", 220, 76, [](TObject*) {
            RegisterViewer();
            ReaderForm->Close();
        });
        ReaderForm->AddButton("Cancel", 310, 76, [](TObject*) { ReaderForm->Close(); });
    }
    Application->Run();
    return 0;
}
