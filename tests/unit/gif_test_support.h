// Helpers the GIF tests share: byte streams built by hand, a warning
// recorder hooked to an image, and the message of what a call raises.
#pragma once
#include "gifimage/gif_image.h"
#include "gifimage/gif_subimage.h"
#include "toolkit/streams.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline void Append(Bytes& b, std::initializer_list<int> values)
{
    for (int v : values) b.push_back(uint8_t(v));
}

inline void Append(Bytes& b, const std::string& text) { b.insert(b.end(), text.begin(), text.end()); }

inline void Append(Bytes& b, const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); }

inline void StreamOf(TMemoryStream& stream, const Bytes& b)
{
    stream.Clear();
    if (!b.empty()) stream.WriteBuffer(b.data(), int32_t(b.size()));
    stream.SetPosition(0);
}

// The message of the toolkit or GIF exception that Call raises.
template <typename F>
std::string MessageOf(F Call)
{
    try {
        Call();
    } catch (const Exception& e) {
        return e.what();
    }
    return "nothing raised";
}

inline Bytes Contents(TMemoryStream& stream)
{
    return Bytes(stream.Memory(), stream.Memory() + stream.Size());
}

inline Bytes ReadFileBytes(const std::string& Path)
{
    std::ifstream in(Path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// "GIF89a", a logical screen of Width x Height and a global table of
// 2 << SizeBits grey entries when Global is set.
inline Bytes Header(int Width, int Height, bool Global, int SizeBits = 1, int Background = 0, const char* Signature = "GIF89a")
{
    Bytes b;
    Append(b, Signature);
    Append(b, {Width & 255, Width >> 8, Height & 255, Height >> 8, (Global ? 0x80 : 0) | 0x70 | SizeBits, Background, 0});
    if (Global)
        for (int i = 0; i < (2 << SizeBits); ++i) Append(b, {i, i, i});
    return b;
}

// An image descriptor with no local table, then image data holding a
// clear code, one pixel of colour 0 and the end code (minimum code size 2):
// the end code leaves the other pixels as they are, without a warning.
inline Bytes MinimalFrame(int Width, int Height)
{
    Bytes b;
    Append(b, {',', 0, 0, 0, 0, Width & 255, Width >> 8, Height & 255, Height >> 8, 0});
    Append(b, {2, 2, 0x44, 0x01, 0}); // codes 4 (clear), 0 and 5 (end), 3 bits each
    return b;
}

struct WarningLog {
    explicit WarningLog(TGIFImage& Image)
    {
        Image.OnWarning = [this](TObject* Sender, TGIFSeverity Severity, const std::string& Message) {
            Messages.push_back(Message);
            Senders.push_back(Sender);
            EXPECT_EQ(Severity, gsWarning);
        };
    }
    int Count(const std::string& Message) const
    {
        int n = 0;
        for (const auto& m : Messages) n += m == Message;
        return n;
    }
    std::vector<std::string> Messages;
    std::vector<TObject*> Senders;
};

// Loads a whole stream into Image; answers the message of a GIFException, or "".
inline std::string Load(TGIFImage& Image, const Bytes& Data)
{
    TMemoryStream stream;
    StreamOf(stream, Data);
    try {
        Image.LoadFromStream(&stream);
    } catch (const GIFException& e) {
        return e.Message;
    }
    return "";
}

// A frame added to Image at (Left, Top) with Pixels, a local map of
// Colors (none: the frame uses the global map), transparent at Transparent
// when that is 0 or more.
inline TGIFSubImage* AddFrame(TGIFImage& Image, int Left, int Top, int Width, int Height, const Bytes& Pixels,
                       std::initializer_list<uint32_t> Colors = {}, int Transparent = -1)
{
    auto* frame = new TGIFSubImage(&Image);
    Image.Images()->Add(frame);
    for (uint32_t c : Colors) frame->GetColorMap()->Add(c);
    frame->DoSetBounds(Left, Top, Width, Height);
    std::copy(Pixels.begin(), Pixels.end(), frame->Data());
    if (Transparent >= 0) {
        auto* gce = new TGIFGraphicControlExtension(frame);
        frame->Extensions()->Add(gce);
        gce->SetTransparentColorIndex(uint8_t(Transparent));
        gce->SetTransparent(true);
    }
    return frame;
}

// Handler hears the image's progress reports (the toolkit's form, on Windows,
// adds a rectangle that is always empty here).
inline void OnProgressOf(TGIFImage& Image, const TGIFProgressEvent& Handler)
{
#ifdef _WIN32
    if (!Handler) {
        Image.OnProgress = nullptr;
        return;
    }
    Image.OnProgress = [Handler](TObject* Sender, TProgressStage Stage, uint8_t Percent, bool RedrawNow, const RECT&,
                                 const std::string& Message) { Handler(Sender, Stage, Percent, RedrawNow, Message); };
#else
    Image.OnProgress = Handler;
#endif
}

inline Bytes Save(TGIFImage& Image)
{
    TMemoryStream stream;
    Image.SaveToStream(&stream);
    return Contents(stream);
}
