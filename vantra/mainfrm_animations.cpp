// The five animated status pictures. Each plays in its own painter thread
// once it is first drawn; while the window is hidden nothing of them shows,
// so their painters park instead of waking for every frame.
#include "gifimage/gif_image.h"
#include "mainfrm.h"

namespace {

template <class Each> void ForEachAnimation(std::initializer_list<TImage*> Pictures, Each Do)
{
    for (TImage* picture : Pictures)
        if (auto* animation = dynamic_cast<TGIFImage*>(picture->Picture()->Graphic())) Do(animation);
}

} // namespace

void TMainFrm::PauseAnimations()
{
    ForEachAnimation({Img_Adhoc, Img_Infrastrcture, Img_MissAP, Img_MissInternet, Img_Search},
                     [](TGIFImage* Animation) { Animation->PaintPause(); });
}

void TMainFrm::ResumeAnimations()
{
    ForEachAnimation({Img_Adhoc, Img_Infrastrcture, Img_MissAP, Img_MissInternet, Img_Search},
                     [](TGIFImage* Animation) { Animation->PaintResume(); });
}
