// The profile wizard, whose pages are built on top of the frame: it does
// nothing yet.
#include "mainfrm.h"

void TMainFrm::ShowWizardSsidPage() {}
