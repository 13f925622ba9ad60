#include "mainfrm.h"
#include "toolkit/application.h"
#include "toolkit/format.h"
#include "toolkit/seam.h"

#include <mmsystem.h>

namespace {
// Sound paths are relative to the program folder, which is made current
// before each use; the MCI device of a file is named by that path.
std::string SoundPath(const std::string& ProgramFolder, const std::string& Name)
{
    ::SetCurrentDirectoryA(ProgramFolder.c_str());
    return "Sound\\" + Name;
}

bool Exists(const std::string& Path) { return ::GetFileAttributesA(Path.c_str()) != INVALID_FILE_ATTRIBUTES; }
} // namespace

// Nothing plays while quitting but the exit's own sound.
bool TMainFrm::PlaySoundFile(const std::string& Name)
{
    if (Program.Quitting && Name != "exit.wav") return true;
    if (!Program.SoundEnabled) return false;
    const std::string path = SoundPath(Program.ProgramFolder, Name);
    if (!Exists(path)) return false;
    if (Name == "exit.wav") return Platform().PlaySound(path, SND_FILENAME) != FALSE;
    Platform().MciSendString("close " + path);
    Platform().MciSendString("open " + path);
    return Platform().MciSendString("play " + path) != 0;
}

bool TMainFrm::StopSoundFile(const std::string& Name)
{
    if (Program.Quitting || !Program.SoundEnabled) return true;
    const std::string path = SoundPath(Program.ProgramFolder, Name);
    if (Exists(path)) Platform().MciSendString("close " + path);
    return true;
}

void TMainFrm::PlaySoundThenStop(const std::string& Name)
{
    if (PlaySoundFile(Name)) StopSoundFile(Name);
}

// The window's close, at the end of the exit, closes them.
void TMainFrm::CloseAllSounds()
{
    Program.ProgramFolder = ExtractFilePath(Application->ExeName());
    ::SetCurrentDirectoryA(Program.ProgramFolder.c_str());
    for (const char* name : {"start.wav", "change.wav", "click.wav", "exit.wav"})
        Platform().MciSendString(std::string("close Sound\\") + name);
}
