#include "mainfrm_harness.h"
#include "vantra/drivers/bindings.h"
#include "vantra/drivers/record_text.h"
#include "toolkit/application.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

namespace {

// Each picture of the tray image list is replaced by one of its own colour,
// so that the picture an icon shows tells its index.
constexpr int TrayPictures = 6;
COLORREF PictureColour(int Index) { return RGB(40 * Index + 15, 255 - 40 * Index, Index % 2 ? 200 : 40); }

HICON SolidIcon(COLORREF Colour)
{
    HDC screen = ::GetDC(nullptr);
    HBITMAP colour = ::CreateCompatibleBitmap(screen, 16, 16);
    HBITMAP mask = ::CreateBitmap(16, 16, 1, 1, nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(dc, colour);
    HBRUSH brush = ::CreateSolidBrush(Colour);
    RECT all{0, 0, 16, 16};
    ::FillRect(dc, &all, brush);
    ::SelectObject(dc, mask);
    ::PatBlt(dc, 0, 0, 16, 16, BLACKNESS); // opaque everywhere
    ::SelectObject(dc, old);
    ::DeleteObject(brush);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = ::CreateIconIndirect(&info);
    ::DeleteObject(colour);
    ::DeleteObject(mask);
    return icon;
}

COLORREF CentreColour(HICON Icon)
{
    ICONINFO info{};
    if (!Icon || !::GetIconInfo(Icon, &info)) return CLR_INVALID;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 16;
    bi.bmiHeader.biHeight = -16;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    uint32_t pixels[16 * 16] = {};
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, info.hbmColor, 0, 16, pixels, &bi, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    if (rows != 16) return CLR_INVALID;
    const uint32_t p = pixels[8 * 16 + 8];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int PictureIndex(HICON Icon)
{
    const COLORREF c = CentreColour(Icon);
    if (c == CLR_INVALID) return -1;
    for (int i = 0; i < TrayPictures; ++i) {
        const COLORREF want = PictureColour(i);
        if (std::abs(GetRValue(c) - GetRValue(want)) < 8 && std::abs(GetGValue(c) - GetGValue(want)) < 8 &&
            std::abs(GetBValue(c) - GetBValue(want)) < 8)
            return i;
    }
    return -1;
}

std::string ExeFolder()
{
    char path[MAX_PATH];
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\') + 1);
}

std::string WorldFolder() { return ExeFolder() + "world\\"; }

SeamRecorder Recorder;

void WriteText(const std::string& Path, const std::string& Text)
{
    std::ofstream(Path, std::ios::binary | std::ios::trunc) << Text;
}

TMainFrm* Create()
{
    Harness::PrepareWorld();
    TMainFrm* form;
    Application->CreateForm(form);
    TImageList* list = form->ImageList;
    list->Clear();
    for (int i = 0; i < TrayPictures; ++i) {
        TIcon icon;
        icon.SetHandle(SolidIcon(PictureColour(i)));
        list->AddIcon(&icon);
    }
    return form;
}

} // namespace

int SeamRecorder::MessageBox(HWND, const std::string& Text, const std::string& Caption, UINT)
{
    Boxes.push_back(Caption + "\t" + Text);
    return BoxAnswer;
}

BOOL SeamRecorder::PlaySound(const std::string& FileName, DWORD)
{
    Sounds.push_back(FileName);
    return TRUE;
}

MCIERROR SeamRecorder::MciSendString(const std::string& Command)
{
    if (Command.compare(0, 5, "play ") == 0) Sounds.push_back(Command.substr(5));
    return 0;
}

HINSTANCE SeamRecorder::ShellExecute(HWND, const std::string&, const std::string&, const std::string&,
                                     const std::string&, int)
{
    return reinterpret_cast<HINSTANCE>(33);
}

BOOL SeamRecorder::ShellNotifyIcon(DWORD Message, NOTIFYICONDATAA* Data)
{
    if (WhileTrayCall) WhileTrayCall(Message);
    TrayCall call;
    call.Message = Message;
    call.Size = Data->cbSize;
    call.Id = Data->uID;
    call.Flags = Data->uFlags;
    call.CallbackMessage = Data->uCallbackMessage;
    call.Window = Data->hWnd;
    if (Data->uFlags & NIF_ICON) call.Image = PictureIndex(Data->hIcon);
    if (Data->uFlags & NIF_TIP) call.Tip.assign(Data->szTip, strnlen(Data->szTip, sizeof Data->szTip));
    Tray.push_back(call);
    return TrayAnswer;
}

HINTERNET SeamRecorder::InternetOpen(const std::string& Agent, DWORD AccessType, DWORD Flags)
{
    HINTERNET session = TPlatformSeam::InternetOpen(Agent, AccessType, Flags);
    if (session) ++OpenInternetHandles;
    return session;
}

HINTERNET SeamRecorder::InternetOpenUrl(HINTERNET Session, const std::string& Url, DWORD Flags)
{
    if (WhileOpeningUrl) WhileOpeningUrl();
    std::string address;
    {
        std::lock_guard<std::mutex> hold(InternetLock);
        Urls.push_back(Url);
        address = InternetAddress.empty() ? Url : InternetAddress;
    }
    HINTERNET page = TPlatformSeam::InternetOpenUrl(Session, address, Flags);
    if (page) ++OpenInternetHandles;
    return page;
}

BOOL SeamRecorder::InternetCloseHandle(HINTERNET Handle)
{
    const BOOL closed = TPlatformSeam::InternetCloseHandle(Handle);
    if (closed) --OpenInternetHandles;
    return closed;
}

void SeamRecorder::SetInternetAddress(const std::string& Address)
{
    std::lock_guard<std::mutex> hold(InternetLock);
    InternetAddress = Address;
}

std::vector<std::string> SeamRecorder::UrlsAsked()
{
    std::lock_guard<std::mutex> hold(InternetLock);
    return Urls;
}

void SeamRecorder::Clear()
{
    Tray.clear();
    Boxes.clear();
    Sounds.clear();
    TrayAnswer = TRUE;
    BoxAnswer = IDOK;
    WhileTrayCall = nullptr;
    WhileOpeningUrl = nullptr;
    std::lock_guard<std::mutex> hold(InternetLock);
    Urls.clear();
}

namespace Harness {

SeamRecorder& Seam() { return Recorder; }

void PrepareWorld()
{
    SetPlatform(&Recorder);
    ::CreateDirectoryA(WorldFolder().c_str(), nullptr);
    ::DeleteFileA((WorldFolder() + "calls.log").c_str());
    ::CopyFileA((ExeFolder() + "standins.ini").c_str(), WorldPath().c_str(), FALSE);
    SetWorld("World", "Log", "calls.log");
    SetWorld("World", "JoinMs", "0");
    ::SetEnvironmentVariableA("VANTRA_WORLD", WorldPath().c_str());
    WriteText(ExeFolder() + "WLAN.INI", "[DefaultSetting]\r\nDefaultMode=1\r\nDefaultChannel=6\r\nFirst=0\r\n");
}

TMainFrm* Form()
{
    static TMainFrm* form = Create();
    return form;
}

TSiteSurveyWEPFrm* Dialog()
{
    Form();
    if (!SiteSurveyWEPFrm) Application->CreateForm(SiteSurveyWEPFrm);
    return SiteSurveyWEPFrm;
}

std::string WorldPath() { return WorldFolder() + "world.ini"; }

std::string ScreenshotFolder()
{
    const std::string folder = ExeFolder() + "..\\screenshots\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void SetWorld(const char* Section, const char* Key, const char* Value)
{
    ::WritePrivateProfileStringA(Section, Key, Value, WorldPath().c_str());
}

std::vector<std::string> CallLines(const std::string& Name)
{
    std::ifstream log(WorldFolder() + "calls.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, Name.size() + 1, Name + " ") == 0) lines.push_back(line);
    }
    return lines;
}

size_t CallCount(const std::string& Name) { return CallLines(Name).size(); }
std::vector<std::string> CallNames()
{
    std::ifstream log(WorldFolder() + "calls.log");
    std::vector<std::string> names;
    for (std::string line; std::getline(log, line);) names.push_back(line.substr(0, line.find(' ')));
    return names;
}

void ClearCalls() { WriteText(WorldFolder() + "calls.log", ""); }

TColor RowPixel(TListView* List, int Row, int X)
{
    const HWND list = List->Handle();
    RECT client;
    ::GetClientRect(list, &client);
    TBitmap shot;
    shot.SetPixelFormat(pf24bit);
    shot.SetSize(client.right, client.bottom);
    ::PrintWindow(list, shot.Canvas()->Handle(), PW_CLIENTONLY);
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    ::SendMessageA(list, LVM_GETITEMRECT, Row, reinterpret_cast<LPARAM>(&bounds));
    return shot.Canvas()->Pixel(X, (bounds.top + bounds.bottom) / 2);
}

void Pump()
{
    for (int i = 0; i < 3; ++i) {
        Application->ProcessMessages();
        ::Sleep(5);
    }
}

bool PumpUntil(const std::function<bool()>& Done, DWORD Milliseconds)
{
    const DWORD start = ::GetTickCount();
    while (!Done()) {
        if (::GetTickCount() - start > Milliseconds) return false;
        Application->ProcessMessages();
        ::Sleep(1);
    }
    return true;
}

void JoinNetwork(const char* Ssid, uint8_t Mode)
{
    WlanInfo info{};
    info.OperatingModeID = Mode;
    info.SSID_length = static_cast<uint8_t>(std::strlen(Ssid));
    std::memcpy(info.SSID, Ssid, info.SSID_length);
    SetConfigDefaults(&info);
    ASSERT_TRUE(WlanCall(Chipset.WLAN_Set_Config, &info));
}

void DropNetwork() { JoinNetwork("nobody-here"); }

void Reset()
{
    TMainFrm* form = Form();
    // A card that the test before restarted (a profile applied, TCP/IP set)
    // is back, and the device check has opened the adapter again: a card
    // still away would fail whatever comes next.
    PumpUntil([form] { return !form->Link.ApplyingTcpIp; }, 5000);
    for (TTimer* timer : {form->UpdateTimer, form->CheckTimer, form->ConnectCheckTimer, form->DeviceCheckTimer,
                          form->Timer1, form->DetectIcon})
        timer->SetEnabled(false);
    if (form->Visible()) form->Hide();
    for (TThread* worker : {static_cast<TThread*>(form->MessageThread), static_cast<TThread*>(form->GifThread)})
        if (!worker->Suspended()) worker->Suspend();
    for (DWORD start = ::GetTickCount(); !form->WorkersSuspended() && ::GetTickCount() - start < 5000;) Pump();
    SetWorld("World", "Fail", "");
    form->Program.Quitting = false;
    form->Program.WinVersionCode = 5;
    form->Link.ApplyingTcpIp = false;
    form->Link.AdapterOpened = true;
    form->Link.MonitoringOn = true;
    form->Link.CurrentLinkInfo = WlanInfo{};
    form->Restore->Enabled = true;
    form->MonitorState->Enabled = true;
    form->MonitorState->Caption = "Stop Monitor";
    form->Defaults.First = 0;
    form->Pages.CurrentPage = Page::Link;
    form->Pages.PreviousPage = Page::Link;
    form->Pages.MoreInfoHidden = true;
    form->Survey.SurveyInProgress = false;
    form->Survey.LastTopIndex = 0;
    form->Survey.ConnectPending = false;
    form->Tray = TTrayState{};
    form->Tray.TrayIconAdded = true;
    form->Poll = TPollState{};
    form->Poll.LinkInfoValid = true;
    form->Poll.HiddenSince = ::GetTickCount();
    // The adapter open again, whatever a test did to it.
    WlanCall(Chipset.WLAN_Open_Adapter, &form->Link.TheAdapter);
    DropNetwork();
    Pump();
    Recorder.Clear();
    ClearCalls();
}

} // namespace Harness
