// Members that the frame calls and whose pages are built on top of it:
// the skin's pictures and controls, the link page, the profile list and the
// TCP/IP applier. Each does nothing yet.
#include "mainfrm.h"

void TMainFrm::LayoutControls() {}
void TMainFrm::SetControlFonts() {}
void TMainFrm::LoadSkinBitmaps() {}
void TMainFrm::FreeSkinBitmaps() {}
void TMainFrm::SetStatusImage(int32_t) {}
void TMainFrm::ResetHoverImages() {}
void TMainFrm::RestoreTitleButton() {}
void TMainFrm::UpdateProfilesButton() {}
void TMainFrm::ClearPageLabels() {}
void TMainFrm::ShowCurrentStatusImage() {}
void TMainFrm::ResumeGifThreadIfIdle() {}
void TMainFrm::CheckStatusPage() {}
void TMainFrm::EnableConnectControls(bool) {}
void TMainFrm::ClearProfileList() {}
void TMainFrm::FillProfileList() {}
void TMainFrm::ShowIcon(int32_t) {}
void TMainFrm::PopupTrayMenu(POINT) {}
HICON TMainFrm::TrayIcon(int) { return ::LoadIcon(nullptr, IDI_APPLICATION); }
void TMainFrm::ApplyTcpIpSettings(NicIpInfo&) { TcpIpThread->Suspend(); }
void TMainFrm::ShowGifStatus() {}
