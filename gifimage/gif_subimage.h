// One frame: image descriptor, local colour table, pixels (one colour
// index per byte, rows top to bottom in display order) and the extension
// blocks that stand in front of it in the stream.
#pragma once
#include "gif_colormap.h"
#include "gif_extension.h"
#include "gif_item.h"

#include <memory>

#pragma pack(push, 1)
struct TImageDescriptor {
    uint8_t Separator;
    uint16_t Left;
    uint16_t Top;
    uint16_t Width;
    uint16_t Height;
    uint8_t PackedFields;
};
#pragma pack(pop)
static_assert(sizeof(TImageDescriptor) == 10, "read and written as stored");

enum : uint8_t {
    idLocalColorTable = 0x80,
    idInterlaced = 0x40,
    idSort = 0x20,
    idReserved = 0x18,
    idColorTableSize = 0x07,
};

// Frames above this many pixels are refused rather than allocated: the
// descriptor alone must not be able to demand gigabytes. Nor may many
// frames of a few bytes each, so all frames of one image together hold
// at most MaxImagePixels.
inline constexpr int64_t MaxFramePixels = int64_t(1) << 25;
inline constexpr int64_t MaxImagePixels = int64_t(1) << 26;

class TGIFSubImage : public TGIFItem {
public:
    CLASS_NAME(TGIFSubImage)
    explicit TGIFSubImage(TGIFImage* Image);
    ~TGIFSubImage() override;

    void Clear();
    bool GetEmpty() const;
    const TImageDescriptor& Descriptor() const { return ImageDescriptor; }
    uint16_t GetLeft() const { return ImageDescriptor.Left; }
    uint16_t GetTop() const { return ImageDescriptor.Top; }
    uint16_t GetWidth() const { return ImageDescriptor.Width; }
    uint16_t GetHeight() const { return ImageDescriptor.Height; }
    // New sizes get fresh zero-filled pixels; the image grows to hold the frame.
    void DoSetBounds(int Left, int Top, int Width, int Height);
    bool GetInterlaced() const { return ImageDescriptor.PackedFields & idInterlaced; }
    void SetInterlaced(bool Value);

    TGIFVersion GetVersion() const override;
    int GetColorResolution() const { return ColorMap->GetBitsPerPixel() - 1; }
    int GetBitsPerPixel() const { return ColorMap->GetBitsPerPixel(); }
    TGIFLocalColorMap* GetColorMap() const { return ColorMap.get(); }
    // The local map when it has colours, else the image's global one when
    // that has colours, else the empty local map.
    TGIFColorMap* GetActiveColorMap() const;
    TGIFExtensionList* Extensions() const { return FExtensions.get(); }

    uint8_t* Data() const { return FData.get(); }
    int32_t DataSize() const { return FDataSize; }
    void NewImage(); // width x height zero bytes
    void FreeImage();
    // Translates every colour index of the frame (pixels, transparent
    // index, text colours) through Map, after its colour map was reordered.
    void MapColorIndices(const uint8_t* Map);

    void SetPalette(TGIFPaletteRef Palette) { KeptPalette = std::move(Palette); }

    void Prepare(); // rebuilds the packed fields
    void SaveToStream(TStream* Stream) override;
    void LoadFromStream(TStream* Stream) override;
    void Decompress(TStream* Stream);
    void Compress(TStream* Stream);

    // Kept up to date by the graphic control extension.
    bool Transparent = false;
    TGIFGraphicControlExtension* GraphicControlExtension = nullptr;

private:
    TImageDescriptor ImageDescriptor{};
    std::unique_ptr<uint8_t[]> FData;
    int32_t FDataSize = 0;
    std::unique_ptr<TGIFLocalColorMap> ColorMap;
    std::unique_ptr<TGIFExtensionList> FExtensions;
    TGIFPaletteRef KeptPalette;
};
