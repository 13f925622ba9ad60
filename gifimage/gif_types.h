// The vocabulary every part of the GIF unit shares: format enumerations,
// the colour triple of a colour table, the unit's exception, the warning
// and progress channels, and the fixed message texts.
#pragma once
#include "toolkit/progress.h"
#include "toolkit/exceptions.h"
#include "toolkit/persistent.h"

#include <cstdint>
#include <functional>
#include <string>

enum TGIFVersion : uint8_t { gvUnknown, gv87a, gv89a };
enum TGIFSeverity : uint8_t { gsInfo, gsWarning, gsError };
enum TDisposalMethod : uint8_t { dmNone, dmNoDisposal, dmBackground, dmPrevious };
enum TGIFCompression : uint8_t { gcLZW, gcRLE };

// Indexed by TGIFVersion; gvUnknown has no text and cannot be written.
inline constexpr const char* GIFVersions[3] = {"", "87a", "89a"};

// One entry of a GIF colour table, exactly as stored.
struct TGIFColor {
    uint8_t Red, Green, Blue;
};
static_assert(sizeof(TGIFColor) == 3, "colour tables are read and written as packed triples");

class GIFException : public EInvalidGraphic {
public:
    explicit GIFException(std::string message) : EInvalidGraphic(std::move(message)) {}
};

// A rectangle as GDI keeps one: right and bottom lie just outside it.
struct TGIFRect {
    int32_t Left, Top, Right, Bottom;
    bool operator==(const TGIFRect& R) const
    {
        return Left == R.Left && Top == R.Top && Right == R.Right && Bottom == R.Bottom;
    }
};

using TGIFWarning = std::function<void(TObject* Sender, TGIFSeverity Severity, const std::string& Message)>;

// Progress of long operations; the rectangle of the toolkit's notification
// is always empty here, so it is not passed.
using TGIFProgressEvent = std::function<void(TObject* Sender, TProgressStage Stage, int Percent,
                                             bool RedrawNow, const std::string& Message)>;

namespace GIFTexts {
inline constexpr const char* PrematureEnd = "Premature end of data";
inline constexpr const char* BadSignature = "Invalid GIF signature";
inline constexpr const char* UnsupportedVersion = "Unsupported GIF version";
inline constexpr const char* ColorTableOverflow = "Color table overflow";
inline constexpr const char* BadColorIndex = "Invalid color index";
inline constexpr const char* EmptyColorTable = "Color table is empty";
inline constexpr const char* UnknownBlock = "Unknown GIF block type";
inline constexpr const char* BadTrailer = "Invalid Image trailer";
inline constexpr const char* ImageEmpty = "Image is empty";
inline constexpr const char* BadPixelCoordinates = "Invalid pixel coordinates";
inline constexpr const char* ExceedsScreen = "Image exceeds Logical Screen size";
inline constexpr const char* WidthTooSmall = "Image width too small for contained frames";
inline constexpr const char* HeightTooSmall = "Image height too small for contained frames";
inline constexpr const char* ImageTooLarge = "Image dimensions too large";
inline constexpr const char* FramesTooLarge = "Image frames too large in total";
inline constexpr const char* BadIntroducer = "Invalid extension introducer";
inline constexpr const char* UnknownExtension = "Unknown extension type";
inline constexpr const char* ExtensionMismatch = "Internal error: Extension Instance does not match Extension Label";
inline constexpr const char* BadAppBlockSize = "Unsupported Application Extension block size";
inline constexpr const char* BadData = "Invalid GIF data";
inline constexpr const char* CircularTable = "Circular decoder table entry";
inline constexpr const char* BitBufferUnderrun = "Decoder bit buffer under-run";
inline constexpr const char* CorruptData = "Corrupt image data";
inline constexpr const char* BadCodeSize = "Invalid LZW code size";
inline constexpr const char* ColorNotInTable = "Color not in color table";
inline constexpr const char* BadStreamOperation = "Invalid stream operation";
inline constexpr const char* Loading = "Loading...";
inline constexpr const char* Saving = "Saving...";
inline constexpr const char* Rendering = "Rendering...";
inline constexpr const char* Converting = "Converting...";
inline constexpr const char* NoColorTable = "No global or local color table defined";
inline constexpr const char* BadBitsPerPixel = "Invalid Bits Per Pixel value";
inline constexpr const char* UnsupportedObject = "Object type not supported for operation";
inline constexpr const char* FrameListed = "Frame is already in the image";
inline constexpr const char* UnsupportedClipboard = "Unsupported clipboard format";
inline constexpr const char* ClipboardFailed = "Failed to store GIF on clipboard";
inline constexpr const char* BadReduction = "Invalid reduction method";
inline constexpr const char* Copying = "Copying...";
inline constexpr const char* Optimizing = "Optimizing...";
} // namespace GIFTexts
