#include "globals.h"

std::atomic<uint8_t> Quitting{0};
std::atomic<uint8_t> AdapterOpened{0};
std::atomic<uint8_t> ApplyingTcpIp{0};
uint8_t EndingSession = 0;
uint8_t NicDeviceMgrOpen = 0;
uint8_t SoundEnabled = 0;
uint8_t MonitoringOn = 1;
uint8_t AdapterPresent = 0;
int32_t WinVersionCode = 0;

std::string ProgramFolder;
std::string WlanIniPath;

WlanAdapter TheAdapter;
WlanInfo CurrentLinkInfo;
WlanWepInfo DialogWepInfo;
SiteSurveyEntry SurveyEntries[SurveyCapacity];
int32_t SurveyCount = 0;
NicIpInfo CurrentIpInfo;
NicEntry NicDevice;
ProfileSetting NewProfile;
ProfileSetting EditProfile;
char ProfileListBuffer[ProfileListBufferSize];

int32_t DefaultMode = 0, DefaultChannel = 0, DefaultGoo = 0, First = 0, DefaultDhcp = 0;
std::string DefaultSSID, DefaultIp, DefaultMask, DefaultGateway, DefaultDns, DefaultDns2;

uint8_t TrayIconAdded = 0;
int32_t TrayIconIndex = 3;
int32_t TrayIconFirst = 3, TrayIconLimit = 6;
int32_t LastTrayState = 0;
uint8_t ConnectedShown = 0;
int32_t LinkInfoValid = 0;
int32_t FirstPollDone = 0;
int32_t LastPollState = 3;
int32_t PollTickCount = 0, GifResumeLimit = 59;
int32_t HiddenRefreshStep = 0;
uint32_t HiddenSince = 0;
int32_t DetailTickCount = 0;
int32_t LastTopIndex = 0;
uint8_t ConnectPending = 0;
uint8_t SurveyInProgress = 0;

int32_t CurrentPage = 0;
int32_t PreviousPage = 0;
int32_t SavedWizardPage = 2;
int32_t WizardEditMode = 0;
uint8_t WizardClosed = 0;
int32_t StatusImageId = 0, PreviousStatusImageId = 0;
int32_t LinkPictureState = 16;
int32_t SelectedPageButton = -1;
uint8_t LargeFonts = 0;
uint8_t MoreInfoHidden = 1;
