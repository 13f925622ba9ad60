#include "metafile.h"
#include "exceptions.h"

#include <vector>

TMetafile::~TMetafile()
{
    if (FHandle) ::DeleteEnhMetaFile(FHandle);
}

void TMetafile::SetHandle(HENHMETAFILE Value)
{
    if (Value == FHandle) return;
    if (FHandle) ::DeleteEnhMetaFile(FHandle);
    FHandle = Value;
    FWidth = FHeight = 0;
    ENHMETAHEADER header{};
    if (Value && ::GetEnhMetaFileHeader(Value, sizeof header, &header) && header.szlMillimeters.cx > 0 &&
        header.szlMillimeters.cy > 0) {
        // The frame is kept in hundredths of a millimetre of the device it was made on.
        FWidth = ::MulDiv(header.rclFrame.right - header.rclFrame.left, header.szlDevice.cx,
                          header.szlMillimeters.cx * 100);
        FHeight = ::MulDiv(header.rclFrame.bottom - header.rclFrame.top, header.szlDevice.cy,
                           header.szlMillimeters.cy * 100);
    }
    Changed();
}

void TMetafile::SetWidth(int Value)
{
    FWidth = Value;
    Changed();
}

void TMetafile::SetHeight(int Value)
{
    FHeight = Value;
    Changed();
}

void TMetafile::Draw(TCanvas* Canvas, const RECT& Rect)
{
    if (FHandle) ::PlayEnhMetaFile(Canvas->Handle(), FHandle, &Rect);
}

void TMetafile::LoadFromStream(TStream* Stream)
{
    std::vector<uint8_t> data(static_cast<size_t>(Stream->Size() - Stream->Position()));
    if (!data.empty()) Stream->ReadBuffer(data.data(), static_cast<int32_t>(data.size()));
    HENHMETAFILE metafile = ::SetEnhMetaFileBits(static_cast<UINT>(data.size()), data.data());
    if (!metafile) throw EInvalidGraphic("Metafile is not valid");
    SetHandle(metafile);
}

void TMetafile::SaveToStream(TStream* Stream)
{
    if (!FHandle) return;
    std::vector<uint8_t> data(::GetEnhMetaFileBits(FHandle, 0, nullptr));
    ::GetEnhMetaFileBits(FHandle, static_cast<UINT>(data.size()), data.data());
    Stream->WriteBuffer(data.data(), static_cast<int32_t>(data.size()));
}
