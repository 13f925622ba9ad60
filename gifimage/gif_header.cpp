#include "gif_header.h"
#include "gif_image.h"
#include "gif_util.h"

#include <cctype>
#include <cstring>

TGIFHeader::TGIFHeader(TGIFImage* Image) : TGIFItem(Image), ColorMap(new TGIFGlobalColorMap(this))
{
    Clear();
}

TGIFHeader::~TGIFHeader() = default;

void TGIFHeader::Clear()
{
    ColorMap->Clear();
    LogicalScreenDescriptor = {};
}

void TGIFHeader::Assign(TPersistent* Source)
{
    if (auto* header = dynamic_cast<TGIFHeader*>(Source)) {
        ColorMap->Assign(header->ColorMap.get());
        LogicalScreenDescriptor = header->LogicalScreenDescriptor;
    } else if (auto* map = dynamic_cast<TGIFColorMap*>(Source)) {
        Clear();
        ColorMap->Assign(map);
    } else {
        TGIFItem::Assign(Source);
    }
}

TGIFVersion TGIFHeader::GetVersion() const
{
    return ColorMap->Optimized() || LogicalScreenDescriptor.AspectRatio != 0 ? gv89a : gv87a;
}

void TGIFHeader::Prepare()
{
    uint8_t& packed = LogicalScreenDescriptor.PackedFields;
    packed = 0;
    if (ColorMap->Count() > 0) {
        packed |= lsdGlobalColorTable;
        if (ColorMap->Optimized()) packed |= lsdSort;
    }
    packed |= (uint32_t(Image()->GetColorResolution()) << 4) & lsdColorResolution;
    const int bits = ColorMap->Count() > 0 ? ColorMap->GetBitsPerPixel() : Image()->GetBitsPerPixel();
    packed |= uint32_t(bits - 1) & lsdColorTableSize;
}

void TGIFHeader::SetBackgroundColorIndex(uint8_t Index)
{
    if (Index >= ColorMap->Count() && ColorMap->Count() > 0) {
        Warning(gsWarning, GIFTexts::BadColorIndex);
        Index = 0;
    }
    LogicalScreenDescriptor.BackgroundColorIndex = Index;
}

uint32_t TGIFHeader::GetBackgroundColor() { return ColorMap->GetColor(LogicalScreenDescriptor.BackgroundColorIndex); }

void TGIFHeader::SetBackgroundColor(uint32_t Color) { SetBackgroundColorIndex(uint8_t(ColorMap->AddUnique(Color))); }

void TGIFHeader::SaveToStream(TStream* Stream)
{
    const TGIFVersion version = Image()->GetVersion();
    if (version == gvUnknown) RaiseGifError(GIFTexts::UnsupportedVersion);
    char signature[6] = {'G', 'I', 'F'};
    std::memcpy(signature + 3, GIFVersions[version], 3);
    Stream->WriteBuffer(signature, 6);
    Prepare();
    Stream->WriteBuffer(&LogicalScreenDescriptor, sizeof LogicalScreenDescriptor);
    if (LogicalScreenDescriptor.PackedFields & lsdGlobalColorTable) ColorMap->SaveToStream(Stream);
}

namespace {
bool IsSignature(const char* s)
{
    return std::toupper(uint8_t(s[0])) == 'G' && std::toupper(uint8_t(s[1])) == 'I' && std::toupper(uint8_t(s[2])) == 'F';
}
} // namespace

void TGIFHeader::LoadFromStream(TStream* Stream)
{
    const int64_t start = Stream->Position();
    char signature[6];
    ReadExactly(Stream, signature, 6);
    if (!IsSignature(signature)) {
        // Some containers put a 4-byte length in front of the stream.
        Stream->SetPosition(start + 4);
        ReadExactly(Stream, signature, 6);
        if (!IsSignature(signature)) RaiseGifError(GIFTexts::BadSignature);
    }
    ReadExactly(Stream, &LogicalScreenDescriptor, sizeof LogicalScreenDescriptor);
    const uint8_t packed = LogicalScreenDescriptor.PackedFields;
    if (packed & lsdGlobalColorTable)
        ColorMap->LoadFromStream(Stream, 2 << (packed & lsdColorTableSize));
    else
        ColorMap->Clear();
}

void TGIFTrailer::SaveToStream(TStream* Stream) { PutByte(Stream, ';'); }

void TGIFTrailer::LoadFromStream(TStream* Stream)
{
    const int b = GetByte(Stream);
    if (b >= 0 && b != ';') Warning(gsWarning, GIFTexts::BadTrailer);
}
