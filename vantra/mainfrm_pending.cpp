// Members that the frame calls and whose page is built on top of it: the
// profile list. Each does nothing yet.
#include "mainfrm.h"

void TMainFrm::FillProfileList() {}
void TMainFrm::EnsureDefaultProfile() {}
