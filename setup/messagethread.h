// The wizard's pointer watcher: five times a second it looks whether the
// pointer has left the wizard's window, and if so has the main thread put
// every highlighted button back.
#pragma once
#include "toolkit/thread.h"

class TForm1;

class TMessageThread : public TThread {
public:
    explicit TMessageThread(TForm1* AForm);

protected:
    void Execute() override;

private:
    TForm1* const Form;
    const HWND Window; // read here, so that the thread never asks the form for it
};
