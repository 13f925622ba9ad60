// Process-wide state of the utility: the flags that the main window and its
// worker threads share, the folder and settings-file paths, and the records
// exchanged with the outside libraries. All live for the whole run.
#pragma once
#include "drivers/records.h"

#include <atomic>
#include <cstdint>
#include <string>

// Flags read by worker threads as well as the main thread.
extern std::atomic<uint8_t> Quitting;      // exiting, or started only to stop a running copy
extern std::atomic<uint8_t> AdapterOpened; // the adapter is open and monitored
extern std::atomic<uint8_t> ApplyingTcpIp; // the TCP/IP thread has work
extern uint8_t EndingSession;
extern uint8_t NicDeviceMgrOpen;
extern uint8_t SoundEnabled;
extern uint8_t MonitoringOn;
extern uint8_t AdapterPresent;
extern int32_t WinVersionCode;

extern std::string ProgramFolder; // with its trailing backslash
extern std::string WlanIniPath;

extern WlanAdapter TheAdapter;
extern WlanInfo CurrentLinkInfo;
extern WlanWepInfo DialogWepInfo;
extern SiteSurveyEntry SurveyEntries[SurveyCapacity];
extern int32_t SurveyCount;
extern NicIpInfo CurrentIpInfo;
extern NicEntry NicDevice;
extern ProfileSetting NewProfile;
extern ProfileSetting EditProfile;
extern char ProfileListBuffer[ProfileListBufferSize];

// The defaults of WLAN.INI's section DefaultSetting.
extern int32_t DefaultMode, DefaultChannel, DefaultGoo, First, DefaultDhcp;
extern std::string DefaultSSID, DefaultIp, DefaultMask, DefaultGateway, DefaultDns, DefaultDns2;

// Adapter's card description prefix among the NIC library's active cards.
inline constexpr const char* AdapterDescriptionPrefix = "Ferovane-Q PCI Adapter";

// The link monitor and the tray icon.
extern uint8_t TrayIconAdded;
extern int32_t TrayIconIndex;
extern int32_t TrayIconFirst, TrayIconLimit;
extern int32_t LastTrayState;
extern uint8_t ConnectedShown;
extern int32_t LinkInfoValid;
extern int32_t FirstPollDone;
extern int32_t LastPollState;
extern int32_t PollTickCount, GifResumeLimit; // ticks between resumptions of the status-picture thread
extern int32_t HiddenRefreshStep;              // into the minutes between refreshes while hidden
extern uint32_t HiddenSince;
extern int32_t DetailTickCount;
extern int32_t LastTopIndex;   // top row of the survey list at the last tick
extern uint8_t ConnectPending; // the survey list is still to be marked against the link
extern uint8_t SurveyInProgress;

// Pages, skin and hover of the main window.
extern int32_t CurrentPage;      // 0 link, 1 survey, 2 profiles, 4-6 and 8 wizard, 12 confirmation, 13 activation
extern int32_t PreviousPage;     // the page whose controls are on screen
extern int32_t SavedWizardPage;  // where the Profiles button resumes a wizard; 2 for none
extern int32_t WizardEditMode;
extern uint8_t WizardClosed;
extern int32_t StatusImageId, PreviousStatusImageId;
extern int32_t LinkPictureState; // 14 ad hoc, 15 infrastructure, 16 missing access point, 17 missing Internet
extern int32_t SelectedPageButton;
extern uint8_t LargeFonts;
extern uint8_t MoreInfoHidden;   // 1 summary view, 0 detail view
