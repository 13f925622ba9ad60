// The frames of an image in stream order, and the walk over the blocks
// between the header and the trailer.
#pragma once
#include "gif_item.h"

class TGIFSubImage;

class TGIFImageList : public TGIFList {
public:
    CLASS_NAME(TGIFImageList)
    using TGIFList::TGIFList;
    TGIFSubImage* GetImage(int Index) const;
    void SetImage(int Index, TGIFSubImage* Frame); // the old frame is not freed
    void SaveToStream(TStream* Stream) override;
    void LoadFromStream(TStream* Stream, TObject* Parent) override;
};
