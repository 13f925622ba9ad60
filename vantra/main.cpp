// The adapter utility: a tray-resident program that watches and configures
// the wireless link.
#include "debug_trace.h"
#include "gifimage/gif_unit_win32.h"
#include "mainfrm.h"
#include "sitesurveywep.h"
#include "toolkit/application.h"
#include "toolkit/format.h"
#include "toolkit/thread.h"
#include "toolkit/timer.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    {
        // The form data's animations need the GIF unit; it outlives every form.
        TGIFUnit gifUnit;
        // Owns every form; they go with it, before the C runtime's own end.
        TApplication application;
        try {
            Application->SetTitle("RIZI_Vud");
            TMainFrm* mainFrm;
            Application->CreateForm(mainFrm);
            Application->CreateForm(SiteSurveyWEPFrm);
            Application->Run();
        } catch (const std::exception& e) {
            Application->ShowException(e);
        }
    }
    // Every exit path must have freed its timers, windows and threads by now.
    DebugTrace(0, Format("Alive at the end: %d timers, %d windows, %d threads", TLiveCount<TTimer>::Alive(),
                         TLiveCount<TWinControl>::Alive(), TLiveCount<TThread>::Alive()));
    return 0;
}
