// Screenshots of the desktop that the programs run on, saved for review.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The screen as 24-bit rows, bottom row first, each padded to 4 bytes.
struct ScreenImage {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Bits;
};
ScreenImage CaptureScreen();

// Saves the screen as a 24-bit BMP file; false when it cannot be written.
bool SaveScreenshot(const std::string& FileName);
// The same once the screen has stopped changing, so that windows of other
// processes have finished painting (at most Milliseconds).
bool SaveSettledScreenshot(const std::string& FileName, DWORD Milliseconds = 3000);
// The folder under the build folder where screenshots go, made on first use.
std::string ScreenshotFolder();
