// Members that the frame calls and whose pages are built on top of it: the
// link page's details and status pictures, connecting, the profile wizard
// and the TCP/IP applier. Each does nothing yet; the applier parks its
// thread and the connect check turns itself off.
#include "mainfrm.h"

void TMainFrm::UpdateLinkInfo() {}
void TMainFrm::ShowLinkInfo(bool) {}
void TMainFrm::ShowGifStatus() {}
void TMainFrm::ApplyTcpIpSettings(NicIpInfo&) { TcpIpThread->Suspend(); }
void TMainFrm::ApplyDefaultProfile() {}
void TMainFrm::ConnectCheckTimerTimer(TObject*) { ConnectCheckTimer->SetEnabled(false); }
void TMainFrm::Connections_ConnectBtnClick(TObject*) {}
void TMainFrm::ConnectToAP(ConnectTarget) {}
void TMainFrm::ShowWizardSsidPage() {}
