// Screenshots of the desktop that the programs run on, saved for review.
#pragma once
#include <windows.h>

#include <string>

// Saves the screen as a 24-bit BMP file; false when it cannot be written.
bool SaveScreenshot(const std::string& FileName);
// The folder under the build folder where screenshots go, made on first use.
std::string ScreenshotFolder();
