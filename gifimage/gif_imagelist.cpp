#include "gif_imagelist.h"
#include "gif_image.h"
#include "gif_subimage.h"
#include "gif_util.h"

#include <memory>

TGIFSubImage* TGIFImageList::GetImage(int Index) const { return static_cast<TGIFSubImage*>(GetItem(Index)); }

void TGIFImageList::SetImage(int Index, TGIFSubImage* Frame) { SetItem(Index, Frame); }

void TGIFImageList::SaveToStream(TStream* Stream)
{
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        GetItem(i)->SaveToStream(Stream);
        Image()->Progress(Image(), psRunning, (i + 1) * 100 / count, false, GIFTexts::Saving);
    }
}

void TGIFImageList::LoadFromStream(TStream* Stream, TObject* Parent)
{
    auto* image = dynamic_cast<TGIFImage*>(Parent);
    if (!image) image = Image();
    const int64_t size = Stream->Size();
    for (int b = GetByte(Stream); b >= 0; b = GetByte(Stream)) {
        if (b == 0) continue;
        Stream->Seek(-1, soCurrent);
        if (b == ';') return; // left for the trailer
        if (b != '!' && b != ',') {
            Warning(gsWarning, GIFTexts::UnknownBlock);
            return;
        }
        std::unique_ptr<TGIFSubImage> frame(new TGIFSubImage(image));
        frame->LoadFromStream(Stream);
        Add(frame.release());
        // 64-bit: streams beyond 21 MB would overflow position x 100 in 32 bits.
        const int percent = size > 0 ? int(Stream->Position() * 100 / size) : 100;
        Image()->Progress(Image(), psRunning, percent, GIFImageRenderOnLoad, GIFTexts::Loading);
    }
}
