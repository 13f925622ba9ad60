#include "screen.h"

#include <fstream>

ScreenImage CaptureScreen()
{
    ScreenImage image;
    image.Width = ::GetSystemMetrics(SM_CXSCREEN);
    image.Height = ::GetSystemMetrics(SM_CYSCREEN);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.Width;
    info.bmiHeader.biHeight = image.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP shot = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, shot);
    ::BitBlt(memory, 0, 0, image.Width, image.Height, screen, 0, 0, SRCCOPY);
    ::GdiFlush();
    const size_t rowSize = (image.Width * 3 + 3) & ~3u;
    image.Bits.assign(static_cast<const uint8_t*>(bits), static_cast<const uint8_t*>(bits) + rowSize * image.Height);
    ::SelectObject(memory, old);
    ::DeleteObject(shot);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return image;
}

namespace {

bool Save(const ScreenImage& Image, const std::string& FileName)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = Image.Width;
    header.biHeight = Image.Height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(Image.Bits.size());
    std::ofstream out(FileName, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(Image.Bits.data()), static_cast<std::streamsize>(Image.Bits.size()));
    return static_cast<bool>(out);
}

} // namespace

bool SaveScreenshot(const std::string& FileName) { return Save(CaptureScreen(), FileName); }

bool SaveSettledScreenshot(const std::string& FileName, DWORD Milliseconds)
{
    ScreenImage last = CaptureScreen();
    for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < Milliseconds;) {
        ::Sleep(100);
        ScreenImage now = CaptureScreen();
        if (now.Bits == last.Bits) break;
        last = std::move(now);
    }
    return Save(last, FileName);
}

std::string ScreenshotFolder()
{
    const std::string folder = BIN_DIR "\\..\\screenshots\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}
