// TIcon: an icon handle, loaded from an icon file or a resource.
#pragma once
#include "graphics.h"

#include <vector>

class TIcon : public TGraphic {
public:
    CLASS_NAME(TIcon)
    ~TIcon() override;
    void Assign(TPersistent* Source) override;

    void Draw(TCanvas* Canvas, const RECT& Rect) override;
    bool Empty() const override { return FHandle == nullptr; }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;
    bool Transparent() const override { return true; }

    void LoadFromStream(TStream* Stream) override; // an ICO file: its entry nearest to the icon size
    void SaveToStream(TStream* Stream) override;    // the file it was loaded from
    void LoadFromResourceName(HINSTANCE Instance, const std::string& ResName);

    // The icon; setting one takes it over and frees the one it replaces.
    HICON Handle() const { return FHandle; }
    void SetHandle(HICON Value);
    HICON ReleaseHandle();
    // A new icon at another size, taken from the icon's own resource when it
    // came from one (so a 16 x 16 picture there is used as drawn); the caller frees it.
    HICON CopyAtSize(int AWidth, int AHeight) const;

private:
    HICON FHandle = nullptr;
    int FWidth = 0, FHeight = 0;
    std::vector<uint8_t> FileData;
    HINSTANCE ResInstance = nullptr;
    std::string ResName;
};
