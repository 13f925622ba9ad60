// The utility's one main window: a hidden, tray-resident form whose timers
// drive all periodic work and whose worker threads run its own methods.
// One class, in several files by concern:
//   mainfrm.cpp             creation, show, close and keys
//   mainfrm_components.cpp  the components and their designed properties
//   mainfrm_exit.cpp        the orderly exit
//   mainfrm_wndproc.cpp     the subclassed window procedure
//   mainfrm_device.cpp      device check, adapter start, power resume
//   mainfrm_monitor.cpp     the status poll
//   mainfrm_tray.cpp        tray icon, its menu and monitoring
//   mainfrm_sound.cpp       interface sounds
//   mainfrm_skin.cpp        shape, layout, fonts, skin bitmaps, status panel
//   mainfrm_pages.cpp       page switching
//   mainfrm_hover.cpp       hover pictures and the title button
//   mainfrm_survey.cpp      the Site Survey page
//   mainfrm_linkinfo.cpp    the link page's details and status pictures
//   tcpip.cpp               the card's TCP/IP settings: read and applied
//   mainfrm_connect.cpp     connecting to an access point or a profile
//   mainfrm_profiles.cpp    the Profiles page and the profile store
//   mainfrm_address_fields.cpp  the address fields of the wizard's TCP/IP page
//   mainfrm_wizard.cpp      the profile wizard
//   mainfrm_profile_files.cpp  export and import of profile files
// The window owns the utility's state for the whole run, in the objects
// below; vantra/README.md tells who may touch what, and from which thread.
#pragma once
#include "drivers/bindings.h"
#include "drivers/records.h"
#include "internet_test.h"
#include "ip_fields.h"
#include "link_state.h"
#include "page_state.h"
#include "poll_state.h"
#include "profile_state.h"
#include "program_state.h"
#include "survey_state.h"
#include "toolkit/bitmap.h"
#include "toolkit/dialogs.h"
#include "toolkit/form.h"
#include "toolkit/graphic_controls.h"
#include "toolkit/imagelist.h"
#include "toolkit/listview.h"
#include "toolkit/menus.h"
#include "toolkit/stdctrls.h"
#include "toolkit/timer.h"
#include "tray_state.h"
#include "wep_key_controls.h"
#include "wlan_ini.h"
#include "workers.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What a connect puts into the adapter.
enum class ConnectTarget : uint8_t { SurveyRow = 0, Profile = 1 };

class TMainFrm : public TForm {
public:
    CLASS_NAME(TMainFrm)
    explicit TMainFrm(TComponent* AOwner);
    ~TMainFrm() override;

    // The utility's state, by concern.
    TProgramState Program;
    TLinkState Link;
    TWlanIniDefaults Defaults; // of WLAN.INI
    TTrayState Tray;
    TPollState Poll;
    TPageState Pages;
    TSurveyState Survey;
    TProfileState Profiles;

    // Components, by page. Created in mainfrm_components.cpp.
    TTimer* UpdateTimer;
    TTimer* CheckTimer;
    TTimer* ConnectCheckTimer;
    TTimer* DeviceCheckTimer;
    TTimer* Timer1;
    TTimer* DetectIcon;
    TPopupMenu* PopupMenu;
    TMenuItem* Restore;
    TMenuItem* N1;
    TMenuItem* MonitorState;
    TImageList* ImageList;

    TPanel* Pal_Link;
    TPanel* Pal_SiteSurvey;
    TPanel* Pal_Profiles;
    TImage* Img_Link;
    TImage* Img_SiteSurvey;
    TImage* Img_Profiles;
    TImage* Img_Status;
    TImage* Img_Title;
    TImage* Img_GifTitle;
    TPanel* Pal_Menu;
    TImage* Img_Menu;
    TImage* Img_View;
    TImage* Img_SaveTip;
    TImage* Img_Next;
    TImage* Img_Back;
    TImage* Img_Yes;
    TImage* Img_No;
    TImage* Img_ActnewNow;
    TImage* Img_ActnewLater;
    TPanel* Pal_SysBtn;
    TImage* Image7;
    TPanel* Pal_Search;

    // Link page.
    TImage* Img_Adhoc;
    TImage* Img_Infrastrcture;
    TImage* Img_MissAP;
    TImage* Img_MissInternet;
    TImage* Img_LinkInfo;
    TPanel* Pal_MoreInfo;
    TButton* Btn_MoreInfo;
    TButton* Btn_Back;
    TImage* Status_Img_SignalStreng;
    TImage* Status_Img_LinkQuality;
    TLabel* Status_Lbl_SignalStrength;
    TLabel* Status_Lbl_LinkQuality;
    TLabel* Status_Lbl_State;
    TLabel* Status_Lbl_Connected;
    TLabel* Status_Lbl_NetworkType;
    TLabel* Status_Lbl_TransmitRate;
    TLabel* Status_Lbl_Channel;
    TLabel* Status_Lbl_Encryption;
    TLabel* Status_Lbl_MAC;
    TLabel* IPAddr;
    TLabel* SubNet;
    TLabel* Gateway;
    TLabel* DNS;
    TLabel* DNS1;
    TLabel* DHCPEnable;

    // Site survey page.
    TListView* Connections_LstV_APs;
    TImageList* ImgLst_OpratingMode; // the list's row pictures
    TImage* Img_Search;              // in Pal_Search, over the list during a refresh
    TButton* Connections_RefreshBtn;
    TButton* Connections_ConnectBtn;
    TLabel* Survey_Lbl_NetworkType;
    TLabel* Survey_Lbl_Channel;
    TLabel* Survey_Lbl_WEP;
    TLabel* Survey_Lbl_MAC;
    TLabel* Survey_Lbl_STime;

    // Profiles page.
    TListView* Profile_LstV_Profile1;
    TButton* Profile_ConnectBtn;
    TButton* Profile_EditBtn;
    TButton* Profile_NewBtn;
    TButton* ProfileSet_ImportBtn;
    TButton* ProfileSet_ExportBtn;
    TButton* Profile_DelBtn;
    TLabel* Profile_Lbl_NetworkType;
    TLabel* Profile_Lbl_TxRate;
    TLabel* Profile_Lbl_Channel;
    TLabel* Profile_Lbl_WEP;

    // Wizard: the profile's name, hidden on its network page.
    TEdit* ProfileSet_ProfileName;
    // Wizard: the addresses of its TCP/IP page, four octet fields each.
    TIpAddressPanel* Profile_IPAddr1;
    TIpAddressPanel* Profile_SubNet1;
    TIpAddressPanel* Profile_GateWay1;
    TIpAddressPanel* Profile_DNS1;
    TIpAddressPanel* Profile_DNS2;

    // Confirmation page of the wizard.
    TLabel* ConfirmNew_ssid;
    TLabel* ConfirmNew_network;
    TLabel* ConfirmNew_channel;
    TLabel* ConfirmNew_wep;
    TLabel* ConfirmNew_ipaddr;
    TLabel* ConfirmNew_subnet;
    TLabel* ConfirmNew_gateway;
    TLabel* ConfirmNew_dns;
    TLabel* ConfirmNew_dns1;

    TMessageThread* MessageThread = nullptr;
    TSetTCPIPThread* TcpIpThread = nullptr;
    TShowGifThread* GifThread = nullptr;
    TGetSysPowStatus* PowerThread = nullptr;
    NicIpInfo PendingIpInfo{}; // what TcpIpThread applies
    TInternetTest InternetTest; // the status pictures' test, one at a time
    HoverItem HoverIndex = HoverItem::None;  // whose highlighted picture was set last
    HoverItem HoverIndex2 = HoverItem::None; // under the pointer now
    WNDPROC OldWndProc = nullptr;            // the form's own, which MainWndProc replaces

    // Start, show, close and keys (mainfrm.cpp, mainfrm_exit.cpp).
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyPress(TObject* Sender, char& Key);
    // The ordered exit, for every exit path. It returns once the exit is
    // complete, whether it began it, found it under way below it (a request
    // that arrived while that one waited) or finished it itself; an apply
    // under way is waited for ApplyLimitMs at most from this request.
    void ExitUtility(DWORD ApplyLimitMs = ApplyExitLimitMs);
    static void WaitPumping(DWORD Milliseconds);
    bool WorkersSuspended() const; // the three that the window resumes
    // The pointer watcher and the status-picture thread have parked: no
    // worker can be inside the chipset library (the applier never calls it).
    bool WorkersParked() const;
    bool Applying() const; // the applier is under way
    // Asks the pointer watcher and the status-picture thread to park, and
    // waits, servicing messages, until they have (a few seconds at most) and
    // the applier has ended its apply (ApplyLimitMs at most: it is never
    // stopped in the middle of one). True when those two have parked, so
    // that no worker can call the chipset library (the applier never does);
    // false also when an exit began or ended meanwhile (the exit frees them).
    bool ParkWorkers(DWORD ApplyLimitMs);
    // How long the exit and Stop Monitor wait for those two to rest, and Stop
    // Monitor for an apply to end, before they go on without them.
    static constexpr DWORD WorkerParkLimitMs = 3000;
    // How long the exit waits for an apply under way: a slow card's settings
    // and its restart.
    static constexpr DWORD ApplyExitLimitMs = 30000;
    // At the session's end: Windows may end a program that takes longer
    // over WM_ENDSESSION (Vista and later give it 5 s before they offer to
    // end it; XP waits 20 s for a program that still handles messages).
    static constexpr DWORD EndSessionLimitMs = 5000;
    // How long a connect waits for a former apply to end before it gives up.
    static constexpr DWORD ApplyWaitLimitMs = 10000;
    void FreeWorkers(); // frees all four; one still running frees itself
    // For a user's action: waits, servicing messages, while a worker is
    // inside the chipset library (ChipsetBusyLimitMs at most), then holds it
    // for the action. False when an exit ran meanwhile, and, after saying
    // that the adapter is busy, when the worker stays inside.
    bool HoldChipsetLibrary(TChipsetHold& Hold);
    // Why a user's action was given up: a worker or a former apply kept the
    // adapter past its bound.
    void SayAdapterBusy();
    static constexpr DWORD ChipsetBusyLimitMs = 10000;
    void ResumeGifThreadIfIdle();  // on the link page's summary view, connected

    // The animated status pictures (mainfrm_animations.cpp): their painters
    // rest while the window is hidden.
    void PauseAnimations();
    void ResumeAnimations();

    // Device check and adapter start (mainfrm_device.cpp).
    void OnDeviceChange(TMessage& Message);
    void DeviceCheckTimerTimer(TObject* Sender);
    bool StartAdapter();
    void Timer1Timer(TObject* Sender);
    void CheckPowerStatus();

    // Status poll, tray icon and monitoring (mainfrm_monitor.cpp, mainfrm_tray.cpp).
    void UpdateTimerTimer(TObject* Sender);
    void ShowIcon(TrayState State);
    void AddTrayIcon();
    void RemoveTrayIcon();
    void DetectIconTimer(TObject* Sender);
    void ShowConnectNotice();
    void StopMonitoring();
    // Closes the adapter that Stop Monitor left open, once the workers have
    // parked; false while one may still be inside the chipset library.
    bool SettleAdapterClose();
    void MonitorStateClick(TObject* Sender);
    void RestoreClick(TObject* Sender);
    void HideToTray();
    void ShowFromTray();
    void HideMainWindow();
    bool RestoreEnabled() const { return Restore->Enabled; }
    void PopupTrayMenu(POINT At);

    // Sounds (mainfrm_sound.cpp).
    bool PlaySoundFile(const std::string& Name);
    bool StopSoundFile(const std::string& Name);
    void CloseAllSounds();
    void PlaySoundThenStop(const std::string& Name);

    // Skin, layout and status pictures (mainfrm_skin.cpp).
    void SetWindowShape();
    void LayoutControls();
    void SetControlFonts();
    void LoadSkinBitmaps();
    void FreeSkinBitmaps();
    void AfterSkinSetup() {}
    void BeforeSkinFree() {}
    void SetMenuImage(int32_t Id);
    void SetStatusImage(int32_t Id);
    void SetStatusPanel(int32_t Id); // StatusImageId := Id, shown, PreviousStatusImageId := Id
    void SetPageButtonImages(int32_t LinkId, int32_t SurveyId, int32_t ProfilesId);
    void ShowLinkInfoImage();
    void SetWizardButtonImage(int32_t Id);
    void CheckStatusPage();
    bool MainPanelSet(Page P);
    void UpdateProfilesButton(); // disabled while Windows' own wireless service runs on XP
    void ClearPageLabels();      // the labels that start-up clears
    void EnableConnectControls(bool Enabled);
    void UpdateConnectButton();
    int BackgroundWidth = 0;
    int BackgroundHeight = 0;
    TBitmap* BackgroundBitmap = nullptr;
    TBitmap* TitleButtonExitBitmap = nullptr;
    TBitmap* TitleButtonBitmap = nullptr;
    TBitmap* TitleButtonHotBitmap = nullptr;

    // Pages and hover (mainfrm_pages.cpp, mainfrm_hover.cpp).
    void ShowLinkControls(bool Show);
    void ShowSurveyControls(bool Show);
    void ShowProfileControls(bool Show);
    void ShowWizardActivateControls(bool Show);
    void HidePreviousPage(Page Next);
    void ShowMainMenu();
    void ShowLinkPage();
    void ShowLinkBars();
    void ShowSurveyPage();
    void ShowProfilePage();
    void ShowWizardButtons();
    void HideLinkSummary();
    bool LinkPageSettled() const; // current, and no switch under way
    void Img_LinkClick(TObject* Sender);
    void Img_SiteSurveyClick(TObject* Sender);
    void Img_ProfilesClick(TObject* Sender);
    void Image7Click(TObject* Sender);
    void ResetHoverImages();
    void ClearHover(); // HoverIndex2 := None, reset, HoverIndex := None
    void HoverButton(HoverItem Code, TImage* Button, int32_t HotId);
    void HoverPageButton(HoverItem Code);
    void RestoreTitleButton();

    // Site survey page (mainfrm_survey.cpp). The connect uses
    // ResetSurveyImages, MarkSurveyEntries, CheckConnectedApListed, the
    // table in Survey and Survey.SelectedRowIndex; the rows' sub-items are
    // those of SurveySubItem (survey_table.h).
    void Connections_RefreshBtnClick(TObject* Sender);
    void RefreshSiteSurvey(); // only on the survey page, and one at a time
    bool DoSiteSurvey(SurveyTable& Entries, int32_t& Count, uint8_t Mode);
    void FillSurveyList();    // also after a profile is deleted
    void MarkSurveyEntries(); // marks the current link's row connected, or failed
    void ResetSurveyImages(); // removes every connected mark; before every connect
    void CheckConnectedApListed(); // after a connect: refreshes when the new link is not listed
    void CheckTimerTimer(TObject* Sender);
    void SelectSurveyRowByBssid(const std::string& BssidText);
    void SelectSurveyRowBySsid(const std::string& Ssid);
    void Connections_LstV_APsClick(TObject* Sender);
    void Connections_LstV_APsDblClick(TObject* Sender);
    void Connections_LstV_APsChange(TObject* Sender, TListItem* Item, TItemChange Change);
    void Connections_LstV_APsInfoTip(TObject* Sender, TListItem* Item, std::string& InfoTip);

    // Link information page and its status pictures (mainfrm_linkinfo.cpp).
    void UpdateLinkInfo();             // by every status poll after its first
    void ShowLinkAtHand();             // details and bars of Link.CurrentLinkInfo, or none
    void ShowLinkInfo(bool Connected); // connected shows only while the link is up
    void ShowTcpIpInfo(bool Read);     // the card's settings read afresh, or the labels reset
    void ShowGifStatus();              // one pass of GifThread, which it suspends when done
    void Btn_MoreInfoClick(TObject* Sender);
    void Btn_BackClick(TObject* Sender);
    // The summary view's four large pictures, which share one place.
    std::array<TImage*, 4> LinkPictures() const { return {Img_Infrastrcture, Img_MissInternet, Img_Adhoc, Img_MissAP}; }
    void HideLinkPictures();
    void ShowOnlyLinkPicture(TImage* Picture); // and none of the other three
    bool LinkSummaryShown() const; // on screen, and no switch under way

    // TCP/IP settings of the adapter's card (tcpip.cpp).
    void ReadNicIpInfo(); // refreshes Link.CurrentIpInfo
    // Applies Info (a copy of PendingIpInfo) on TcpIpThread and suspends it;
    // the caller has stopped the poll timers and set ApplyingTcpIp.
    void ApplyTcpIpSettings(NicIpInfo& Info);

    // Connecting (mainfrm_connect.cpp).
    void Connections_ConnectBtnClick(TObject* Sender); // also the survey list's double-click
    // Puts a configuration into the adapter: the selected row of the survey
    // list, or the selected profile of the profile list (the Profiles page's
    // Connect, a double-click on a profile, the wizard's activate-now).
    void ConnectToAP(ConnectTarget Target);
    void ApplyDefaultProfile(); // once, on the first start after installation
    void ConnectCheckTimerTimer(TObject* Sender);

    // The Profiles page and the profile store (mainfrm_profiles.cpp).
    std::string ReadProfileList(); // the store's name list, through ProfileListBuffer
    void FillProfileList(const std::string& ListText);
    void EnsureDefaultProfile(); // on the first status poll
    void SaveProfileList(ProfileSetting& Default); // stores it as "Default", first in the list
    bool StoreProfile(bool Connect); // false when a limit of the store or the library refuses it
    void Profile_NewBtnClick(TObject* Sender);
    void Profile_EditBtnClick(TObject* Sender);
    void Profile_DelBtnClick(TObject* Sender);
    void Profile_ConnectBtnClick(TObject* Sender);
    void Profile_LstV_Profile1Change(TObject* Sender, TListItem* Item, TItemChange Change);
    void Profile_LstV_Profile1DblClick(TObject* Sender);
    void Profile_LstV_Profile1KeyPress(TObject* Sender, char& Key);

    // The address fields of the wizard's TCP/IP page (mainfrm_address_fields.cpp).
    void FillDefaultMask(); // 255.255.255.0 into an empty mask once an address is typed

    // The profile wizard (mainfrm_wizard.cpp): its controls beside the
    // address fields and confirmation labels above.
    TEdit* ProfileSet_SSID;
    TRadioButton* Rdb_InfrastructureMode;
    TRadioButton* Rdb_AdhocMode;
    TPanel* Pal_InfrastructureMode;
    TPanel* Pal_AdhocMode;
    TImage* Img_InfrastructureMode;
    TImage* Img_AdhocMode;
    TComboBox* ProfileSet_Channel;
    TComboBox* ProfileSet_TxRate; // the network mode
    TRadioButton* Rdb_DHCP;
    TRadioButton* Rdb_StaticIP;
    TPanel* Pal_DHCP;
    TPanel* Pal_StaticIP;
    TImage* Img_DHCP;
    TImage* Img_StaticIP;
    TComboBox* WEPSet_WEP;
    TEdit* WEPSet_Passphrase;
    TMaskEdit* WEPSet_WEPKey1;
    std::unique_ptr<TWepKeyControls> WizardKeys; // the WEP page's three controls
    // Enters a wizard page: the previous page's controls hidden, this one's
    // shown and filled from Profiles.NewProfile.
    void ShowWizardPage(Page P);
    void ShowWizardControls(Page P, bool Show);
    void CollectWizardPage(Page P); // the page's inputs into Profiles.NewProfile
    void ExitWizard();              // to the Profiles page
    void Img_NextClick(TObject* Sender);
    void Img_BackClick(TObject* Sender);
    void Img_YesClick(TObject* Sender);
    void Img_NoClick(TObject* Sender);
    void Img_ActnewNowClick(TObject* Sender);
    void Img_ActnewLaterClick(TObject* Sender);
    void Img_InfrastructureModeClick(TObject* Sender);
    void Img_AdhocModeClick(TObject* Sender);
    void Rdb_InfrastructureModeClick(TObject* Sender);
    void Rdb_AdhocModeClick(TObject* Sender);
    void ProfileSet_TxRateChange(TObject* Sender);
    void Img_DHCPClick(TObject* Sender);
    void Img_StaticIPClick(TObject* Sender);
    void Rdb_DHCPClick(TObject* Sender);
    void Rdb_StaticIPClick(TObject* Sender);

    // Profile files (mainfrm_profile_files.cpp).
    TSaveDialog* SaveDialog;
    TOpenDialog* OpenDialog;
    void ProfileSet_ExportBtnClick(TObject* Sender);
    void ProfileSet_ImportBtnClick(TObject* Sender);
    // False, after telling the user why, when nothing was written or stored.
    bool ExportProfile(const std::string& FileName, const std::string& ProfileName);
    bool ImportProfile(const std::string& FileName);

protected:
    void Dispatch(TMessage& Message) override;

private:
    void CreateComponents();
    void CreateAddressFields();
    void CreateWizardComponents();
    void CreateProfileFileDialogs();
    std::vector<std::string> ProfileCaptions(); // the profile list's rows, in order
    std::string ProfileListWith(const std::string& Name); // the list text that adds Name; empty when listed
    bool RefuseProfileStore(const std::string& Name, unsigned SsidLength, const std::string& ListText);
    void SelectProfileRow(const std::string& Name);
    bool CopyAlreadyRunning();
    void LoseAdapter();
    void ShowMissingAccessPoint(int32_t MenuId);
    int32_t MenuImageId() const; // with or without an open adapter
    // True when pages are switching: Click is then pressed once they have.
    bool PressLaterWhileSwitching(void (TMainFrm::*Click)(TObject*));
    // Site survey (mainfrm_survey.cpp): the steps a refresh runs while it
    // holds the list.
    void ShowSearchPanel();
    void FillSurveyRows();
    void SurveyAndMarkRows();
    void MarkSurveyRows();
    void UpdateSurveyConnectButton(); // disabled without rows
    void SelectSurveyRow(int32_t Index, bool Focus);
    int32_t SurveyRowOf(const std::string& Ssid, const std::string& BssidText); // -1 when not listed
    // Link page (mainfrm_linkinfo.cpp).
    int32_t EncryptionLevel();   // of the link in use
    bool ShowLinkPicture();      // for the link just read; true when the Internet is to be tested
    void ShowInternetPicture(bool Reachable);
    // Profile wizard (mainfrm_wizard.cpp) and profile files (mainfrm_profile_files.cpp).
    std::array<TIpAddressPanel*, 5> AddressPanels() const;
    void FillWizardPage(Page P);
    void FillChannelList(bool Infrastructure);
    bool StaticAddressAccepted();
    void ShowFileError(const std::string& Text);
    // Connecting (mainfrm_connect.cpp).
    TListItem* SelectedConnectRow(TListView* List);
    void ResumePoll(); // UpdateTimer and CheckTimer
    void ConnectToSurveyRow();
    void ConnectToProfile();
    void SwitchToDhcp(ProfileSetting& Record);
    void ConfigureDirectly(ProfileSetting& Record);
    void RestartCardForDriverSetting();
    void PollAfterConnect();
    bool StopPollForApplier();
    void ResumeApplier();
    std::array<TThread*, 3> ResumedWorkers() const { return {MessageThread, TcpIpThread, GifThread}; }
    std::array<TThread*, 2> ParkableWorkers() const { return {MessageThread, GifThread}; }
    // Where the ordered exit stands; an exit request that comes in
    // meanwhile goes on from here.
    enum class ExitStage : uint8_t { NotStarted, Waiting, Finishing, Done };
    ExitStage Exit = ExitStage::NotStarted;
    DWORD ExitApplyDeadline = 0; // tick count: the earliest bound of the requests so far
    HANDLE InstanceMutex = nullptr;
};

// The window procedure that the skin installs in place of the form's own.
LRESULT CALLBACK MainWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// Private messages of the utility.
constexpr UINT WM_VANTRA_EXIT = 0xCA01;      // wParam 0, lParam 1: exit
constexpr UINT WM_VANTRA_SHOW = 0xCA02;      // wParam 0, lParam 1: show the main window
constexpr UINT WM_VANTRA_EXIT_ALT = 0xCA49;  // wParam 0 or 1: exit
constexpr UINT WM_TRAY_CALLBACK = WM_USER + 100;
