// TImageList: equal-sized pictures in one system image list, as list views
// and the notification area take them.
#pragma once
#include "component.h"
#include "bitmap.h"
#include "icon.h"

#include <commctrl.h>

class TImageList : public TComponent {
public:
    CLASS_NAME(TImageList)
    explicit TImageList(TComponent* AOwner) : TComponent(AOwner) {}
    ~TImageList() override;

    HIMAGELIST Handle(); // made on first use
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetSize(int AWidth, int AHeight); // empties the list
    int Count() const;

    // Each returns the index of the (first) new picture; pictures of another
    // size are scaled; a strip of pictures side by side adds each of them.
    int Add(TBitmap* Image, TBitmap* Mask);
    int AddMasked(TBitmap* Image, TColor MaskColor);
    int AddIcon(TIcon* Icon);
    void Delete(int Index);
    void Clear();
    void GetIcon(int Index, TIcon* Icon);
    void Draw(TCanvas* Canvas, int X, int Y, int Index);

private:
    HIMAGELIST FHandle = nullptr;
    int FWidth = 16, FHeight = 16;
};
