#include "thread_check.h"
#include "component.h"
#include "format.h"
#include "seam.h"

#include <atomic>
#include <cstdio>

namespace {

void StopHere(const std::string& What)
{
    const std::string text = "Window changed off its thread: " + What;
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
    Platform().Trace(text);
    __builtin_trap(); // a debugger stops here; without one the program ends with the fault
}

std::atomic<TThreadCheckFailure> Failure{StopHere};

} // namespace

TThreadCheckFailure SetThreadCheckFailure(TThreadCheckFailure Handler)
{
    return Failure.exchange(Handler ? Handler : StopHere);
}

#ifdef TOOLKIT_THREAD_CHECKS
void CheckWindowThread(HWND Window, const TComponent* Changed)
{
    if (!Window) return;
    const DWORD owner = ::GetWindowThreadProcessId(Window, nullptr);
    const DWORD current = ::GetCurrentThreadId();
    if (owner == 0 || owner == current) return; // 0: the window is gone
    Failure.load()(Format("%s %s on thread %lu, its window's thread is %lu", Changed->ClassName(),
                          Changed->Name.c_str(), static_cast<unsigned long>(current),
                          static_cast<unsigned long>(owner)));
}
#endif
