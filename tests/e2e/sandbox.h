// Runs the real programs under Wine, each in a folder of its own holding a
// copy of the built programs and libraries, and reads what they left: the
// platform seam's log and the stand-in libraries' call log.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class Sandbox {
public:
    // A fresh folder with everything of the build's bin folder except the
    // files named in Omit.
    explicit Sandbox(const std::string& Name, const std::vector<std::string>& Omit = {});
    ~Sandbox(); // ends what still runs

    const std::string Folder; // with a trailing backslash
    std::string Path(const std::string& File) const { return Folder + File; }
    void WriteFile(const std::string& File, const std::string& Text) const;
    std::string ReadFile(const std::string& File) const;

    // Starts Program (in the folder) with Arguments; the seam records into
    // seam.log and answers message boxes.
    HANDLE Start(const std::string& Program, const std::string& Arguments = "");
    // Waits for the process to end; its exit code, or STILL_ACTIVE on time-out.
    DWORD WaitExit(HANDLE Process, DWORD Milliseconds);
    // The visible-or-hidden top-level window of the process with that class.
    HWND WaitWindow(HANDLE Process, const char* ClassName, DWORD Milliseconds);

    // The lines of a text file in the folder.
    std::vector<std::string> Lines(const std::string& File) const;
    std::vector<std::string> SeamLog() const { return Lines("seam.log"); }
    // Lines of the seam log that begin with Prefix.
    std::vector<std::string> SeamCalls(const std::string& Prefix) const;
    // How many calls of the entry point Name the stand-ins' call log holds.
    size_t Calls(const std::string& Name) const;
    // Waits until the seam log holds a line that begins with Prefix.
    bool WaitSeamCall(const std::string& Prefix, DWORD Milliseconds) const;
    // The program's own report, at the end of its entry function, that its
    // exit freed every timer, window and thread it made.
    bool EndedClean() const;

private:
    std::vector<HANDLE> Processes;
};

// Every top-level window that belongs to the process.
std::vector<HWND> WindowsOf(DWORD ProcessId);

// Sets the Windows version that Wine reports to Program (win98, win2k,
// winxp), or clears it with an empty Version.
void SetWineVersion(const std::string& Program, const std::string& Version);
