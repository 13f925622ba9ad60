// The registry values that the wizard shares with the utility's installer,
// under the key "SOFTWARE" of HKEY_LOCAL_MACHINE: "Open", which the wizard
// sets while it runs, and "Exitkey", which the installer leaves behind; and
// the Windows version number that chooses the restart prompt.
#pragma once
#include <string>

// A missing value or key is no error.
void DeleteSoftwareValue(const char* Name);
// "Open" = "Open Setup"; a key that cannot be opened is passed over.
void WriteOpenValue();
// The installer left "Exitkey" = "exit" (in any letter case).
bool InstallerCompleted();
// The version number that Windows 98 and ME keep in the registry says so.
bool IsWindows98OrMe();
