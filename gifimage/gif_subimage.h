// One frame: image descriptor, local colour table, pixels (one colour
// index per byte, rows top to bottom in display order) and the extension
// blocks that stand in front of it in the stream. Pixels, bounds, the
// stream, cropping and merging are portable; rendering, drawing and the
// import of the toolkit's graphics are the Windows part (*_win32.cpp).
#pragma once
#include "gif_colormap.h"
#include "gif_extension.h"
#include "gif_item.h"

#include <memory>

#ifdef _WIN32
#include "toolkit/bitmap.h"
#endif

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

// What a frame renders for the platform: its bitmap together with the
// transparency mask built from the same pixels. The two are made, shared
// by a draw that is using them, and dropped as one.
class TFrameRendering {
public:
    virtual ~TFrameRendering() = default;
    // The transparent index the mask was built for; -1 when none was wanted.
    int MaskIndex = -1;
};

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
    // 1 left, 2 top, 3 width, 4 height; other indices read 0 and set nothing.
    int GetBounds(int Index) const;
    void SetBounds(int Index, int Value);
    // New sizes get fresh zero-filled pixels; the image grows to hold the frame.
    void DoSetBounds(int Left, int Top, int Width, int Height);
    TGIFRect GetBoundsRect() const;
    // Right and bottom are taken as inside the frame, unlike GetBoundsRect's.
    void SetBoundsRect(const TGIFRect& Rect);
    TGIFRect GetClientRect() const { return {0, 0, GetWidth(), GetHeight()}; }
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
    // The index that the graphic control extension makes transparent, or -1.
    int TransparentIndex() const;

    uint8_t* Data() const { return FData.get(); }
    int32_t DataSize() const { return FDataSize; }
    void NewImage(); // width x height zero bytes
    void FreeImage();
    // Pixels made when there are none; GIFException "Image is empty" for a
    // frame of no pixels.
    void NeedImage();
    // GIFException "Invalid pixel coordinates" outside the frame.
    uint8_t* GetScanline(int Row);
    uint8_t GetPixel(int X, int Y);
    // Translates every colour index of the frame (pixels, transparent
    // index, text colours) through Map, after its colour map was reordered.
    void MapColorIndices(const uint8_t* Map);

    // The kept palette is replaced, unless both are none; a rendering in
    // other colours goes.
    void SetPalette(TGIFPaletteRef Palette);
    // The local colour map changed: the kept palette and the rendering go.
    void ColorMapChanged();
    // Drops the rendering: bitmap and mask together.
    void FreeBitmap();
    void FreeMask() { FreeBitmap(); }

    void Prepare(); // rebuilds the packed fields
    void SaveToStream(TStream* Stream) override;
    void LoadFromStream(TStream* Stream) override;
    void Decompress(TStream* Stream);
    void Compress(TStream* Stream);

    void Assign(TPersistent* Source) override;
    // Cuts away the borders that hold only the transparent index.
    void Crop();
    // Makes transparent what Previous already shows in the same colour.
    void Merge(TGIFSubImage* Previous);
    // Makes the pixels whose byte in Marks (width x height, rows from the
    // top) is not 0 transparent in a colour of their own, black, appended
    // after the local map is optimized; nothing when the map has no room.
    void MakeTransparent(const uint8_t* Marks);

#ifdef _WIN32
    // The rendering's bitmap, made when there is none; none for an empty
    // frame. Valid until the rendering is dropped.
    TBitmap* GetBitmap();
    void SetBitmap(TBitmap* Bitmap);
    bool GetHasBitmap() const { return bool(CurrentRendering()); }
    void SetHasBitmap(bool Value);
    void NewBitmap();
    // Whether a transparent frame has pixels to see through; renders first
    // when the rendering is older than the transparency.
    bool HasMask();
    // The palette the frame renders with; not the caller's to delete.
    HPALETTE GetPalette();

    void Draw(TCanvas* Canvas, const RECT& Rect, bool Transparent, bool Tile);
    void StretchDraw(TCanvas* Canvas, const RECT& Rect, bool Transparent, bool Tile);
    // The frame's place in Rect when Rect shows the whole logical screen.
    RECT ScaleRect(const RECT& Rect) const;
    // Copies the source where the mask bit is 0 and keeps the destination
    // where it is 1, scaled from the source size to Width x Height.
    bool MaskedStretchDraw(HDC DestDC, int X, int Y, int Width, int Height, HDC SourceDC, int SourceX, int SourceY,
                           int SourceWidth, int SourceHeight, HDC MaskDC, int MaskX, int MaskY);
    // The bitmap's non-zero (not black) pixels become transparent.
    void MaskFromBitmap(HBITMAP Mask);
#endif

    // Kept up to date by the graphic control extension.
    bool Transparent = false;
    TGIFGraphicControlExtension* GraphicControlExtension = nullptr;

#ifdef _WIN32
protected:
    void AssignTo(TPersistent* Dest) override; // a bitmap takes GetBitmap
#endif

private:
    void AssignFrame(TGIFSubImage* Source);
    // Makes Index transparent through the graphic control extension, a new
    // one when the frame has none.
    void SetTransparentIndex(int Index);
    // Takes Pixels (width x height bytes) as the frame's pixel data.
    void ReplaceImage(std::unique_ptr<uint8_t[]> Pixels, int32_t Size);
    // Drops a rendering in colours that changed and tells the image.
    void RenderedColorsChanged();
    void Progress(TProgressStage Stage, int Percent, bool RedrawNow, const char* Message);
    std::shared_ptr<TFrameRendering> CurrentRendering() const { return std::atomic_load(&Rendering); }
#ifdef _WIN32
    void AssignBitmap(TBitmap* Source);
    bool AssignGraphic(TPersistent* Source);
    std::shared_ptr<TFrameRendering> Render(bool Dither);
    void TiledCopies(const RECT& Rect, const std::function<void(int X, int Y)>& Copy) const;
#endif

    TImageDescriptor ImageDescriptor{};
    std::unique_ptr<uint8_t[]> FData;
    int32_t FDataSize = 0;
    std::unique_ptr<TGIFLocalColorMap> ColorMap;
    std::unique_ptr<TGIFExtensionList> FExtensions;
    TGIFPaletteRef KeptPalette;
    // Read and replaced atomically: a painter thread may render the frame
    // while the main thread draws it.
    std::shared_ptr<TFrameRendering> Rendering;
};
