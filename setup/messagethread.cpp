#include "messagethread.h"
#include "unit1.h"

TMessageThread::TMessageThread(TForm1* AForm) : Form(AForm), Window(AForm->Handle()) {}

void TMessageThread::Execute()
{
    while (!Terminated()) {
        POINT cursor;
        RECT window;
        if (::GetCursorPos(&cursor) && ::GetWindowRect(Window, &window) &&
            (cursor.x < window.left || cursor.x > window.right || cursor.y < window.top || cursor.y > window.bottom))
            Synchronize([this] { Form->ResetHoverGroups(); });
        Sleep(200);
    }
}
