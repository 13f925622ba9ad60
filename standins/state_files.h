// Whole files in the state folder. A write goes to a temporary file that then
// replaces the old one, so a reader never sees half a file.
#pragma once
#include <string>

// Creates the folder and any missing parents.
void EnsureFolder(const std::string& folder);
bool ReadStateFile(const std::string& path, std::string& contents);
bool WriteStateFile(const std::string& path, const std::string& contents);
