#include "system_error_win32.h"

#include "toolkit/exceptions.h"

#include <string>

void RaiseSystemError()
{
    const DWORD code = GetLastError();
    char text[256];
    DWORD length = code ? FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                         code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text, nullptr)
                        : 0;
    // System texts end in a line break.
    while (length > 0 && static_cast<unsigned char>(text[length - 1]) <= ' ') --length;
    throw EOutOfResources(length ? std::string(text, length) : std::string("Out of system resources"));
}
