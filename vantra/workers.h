// The four worker threads of the main window. Each runs one of the
// window's own methods in a loop until it is terminated; the window
// resumes them when it has work and they suspend themselves or are
// suspended when it has none.
#pragma once
#include "toolkit/thread.h"

// Notices that the pointer has left the main window and resets the hover
// pictures (on the main thread).
class TMessageThread : public TThread {
protected:
    void Execute() override;
};

// Applies the pending TCP/IP record through the NIC library.
class TSetTCPIPThread : public TThread {
protected:
    void Execute() override;
};

// Refreshes the link page's status pictures and tests the Internet.
class TShowGifThread : public TThread {
protected:
    void Execute() override;
};

// After a power resume, re-arms the device check once.
class TGetSysPowStatus : public TThread {
protected:
    void Execute() override;
};
