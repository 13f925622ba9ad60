// The setup wizard of the adapter's installation disc.
#include "jpegimage.h"
#include "unit1.h"
#include "unit2.h"
#include "unit3.h"
#include "unit4.h"
#include "toolkit/application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Owns every form; they go with it, before the C runtime's own end.
    TApplication application;
    try {
        RegisterJpegFormat(); // the pictures of every window are JPEG pictures
        Application->SetTitle("Wireless Network");
        Application->CreateForm(Form1);
        Application->CreateForm(Form2);
        Application->CreateForm(Form3);
        Application->CreateForm(Form4);
        Application->Run();
    } catch (const std::exception& e) {
        Application->ShowException(e);
    }
    return 0;
}
