// The blocks around the frames: the header (signature, version, logical
// screen descriptor, global colour table) and the trailer.
#pragma once
#include "gif_colormap.h"
#include "gif_item.h"

#include <memory>

#pragma pack(push, 1)
struct TLogicalScreenDescriptor {
    uint16_t ScreenWidth;
    uint16_t ScreenHeight;
    uint8_t PackedFields;
    uint8_t BackgroundColorIndex;
    uint8_t AspectRatio;
};
#pragma pack(pop)
static_assert(sizeof(TLogicalScreenDescriptor) == 7, "read and written as stored");

enum : uint8_t {
    lsdGlobalColorTable = 0x80,
    lsdColorResolution = 0x70,
    lsdSort = 0x08,
    lsdColorTableSize = 0x07,
};

class TGIFHeader : public TGIFItem {
public:
    CLASS_NAME(TGIFHeader)
    explicit TGIFHeader(TGIFImage* Image);
    ~TGIFHeader() override;

    void Clear();
    void Assign(TPersistent* Source) override;
    void Prepare(); // rebuilds the packed fields
    TGIFVersion GetVersion() const override;
    int GetBitsPerPixel() const { return ColorMap->GetBitsPerPixel(); }
    int GetColorResolution() const { return ColorMap->GetBitsPerPixel() - 1; }

    TGIFColorMap* GetColorMap() const { return ColorMap.get(); }
    const TLogicalScreenDescriptor& Descriptor() const { return LogicalScreenDescriptor; }
    uint16_t GetWidth() const { return LogicalScreenDescriptor.ScreenWidth; }
    uint16_t GetHeight() const { return LogicalScreenDescriptor.ScreenHeight; }
    void SetWidth(uint16_t Width) { LogicalScreenDescriptor.ScreenWidth = Width; }
    void SetHeight(uint16_t Height) { LogicalScreenDescriptor.ScreenHeight = Height; }
    uint8_t GetAspectRatio() const { return LogicalScreenDescriptor.AspectRatio; }
    void SetAspectRatio(uint8_t Value) { LogicalScreenDescriptor.AspectRatio = Value; }
    uint8_t GetBackgroundColorIndex() const { return LogicalScreenDescriptor.BackgroundColorIndex; }
    void SetBackgroundColorIndex(uint8_t Index);
    uint32_t GetBackgroundColor();
    void SetBackgroundColor(uint32_t Color);

    void SaveToStream(TStream* Stream) override;
    void LoadFromStream(TStream* Stream) override;

private:
    TLogicalScreenDescriptor LogicalScreenDescriptor{};
    std::unique_ptr<TGIFGlobalColorMap> ColorMap;
};

// The byte ";" that ends the stream.
class TGIFTrailer : public TGIFItem {
public:
    CLASS_NAME(TGIFTrailer)
    using TGIFItem::TGIFItem;
    void SaveToStream(TStream* Stream) override;
    void LoadFromStream(TStream* Stream) override;
};
