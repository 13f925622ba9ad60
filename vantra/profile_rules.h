// Rules of the profile store that need no window: the store's name list
// text and what may be stored. Portable: no Windows call.
#pragma once
#include <string>
#include <vector>

// The list text holds every name in double quotes, separated by commas; it
// is read as comma text, so a blank outside the quotes also separates.
std::vector<std::string> SplitProfileList(const std::string& Text);
std::string JoinProfileList(const std::vector<std::string>& Names);

// Why a profile named Name with an SSID of SsidLength bytes cannot be
// stored when the store's name list is to become ListText (empty when the
// list stays as it is); an empty text when nothing stands against it. The
// limits are those of the records and of the list's 1024-byte buffer, and
// a double quote, which would end the name early in the list text.
std::string ProfileStoreRefusal(const std::string& Name, unsigned SsidLength, const std::string& ListText);
