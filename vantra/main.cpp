// The adapter utility: a tray-resident program that watches and configures
// the wireless link.
#include "mainfrm.h"
#include "sitesurveywep.h"
#include "toolkit/application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    try {
        Application->SetTitle("RIZI_Vud");
        Application->CreateForm(MainFrm);
        Application->CreateForm(SiteSurveyWEPFrm);
        Application->Run();
    } catch (const std::exception& e) {
        Application->ShowException(e);
    }
    return 0;
}
