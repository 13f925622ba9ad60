// Members that the frame calls and whose pages are built on top of it: the
// link page's details and status pictures, the site survey, connecting, the
// profile wizard and the TCP/IP applier. Each does nothing yet; the
// applier parks its thread and the connect check turns itself off.
#include "mainfrm.h"

void TMainFrm::UpdateLinkInfo() {}
void TMainFrm::ShowLinkInfo(bool) {}
void TMainFrm::ShowGifStatus() {}
void TMainFrm::ApplyTcpIpSettings(NicIpInfo&) { TcpIpThread->Suspend(); }
void TMainFrm::ApplyDefaultProfile() {}
void TMainFrm::CheckTimerTimer(TObject*) {}
void TMainFrm::ConnectCheckTimerTimer(TObject*) { ConnectCheckTimer->SetEnabled(false); }
void TMainFrm::RefreshSiteSurvey() {}
void TMainFrm::FillSurveyList() {}
void TMainFrm::ResetSurveyImages() {}
void TMainFrm::Connections_ConnectBtnClick(TObject*) {}
void TMainFrm::ConnectToAP(ConnectTarget) {}
void TMainFrm::ShowWizardSsidPage() {}
