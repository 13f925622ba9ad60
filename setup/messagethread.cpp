#include "messagethread.h"
#include "unit1.h"

TMessageThread::TMessageThread(TForm1* AForm) : Form(AForm), Window(AForm->Handle()) {}

void TMessageThread::Execute()
{
    while (!Terminated()) {
        if (PointerOutside(Window)) Synchronize([this] { Form->ResetHoverGroups(); });
        Sleep(200);
    }
}
