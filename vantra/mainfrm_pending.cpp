// Members that the frame calls and whose pages are built on top of it: the
// profile list and connecting. Each does nothing yet; the connect check
// turns itself off.
#include "mainfrm.h"

void TMainFrm::FillProfileList() {}
void TMainFrm::EnsureDefaultProfile() {}
void TMainFrm::ApplyDefaultProfile() {}
void TMainFrm::ConnectCheckTimerTimer(TObject*) { ConnectCheckTimer->SetEnabled(false); }
void TMainFrm::Connections_ConnectBtnClick(TObject*) {}
