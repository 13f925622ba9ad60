// The image's optimization: colour maps sorted by use, transparency and
// disposals that change nothing dropped, frames merged with and cropped
// against the frames before them, blocks a viewer does not need removed.
#include "colormap_optimizer.h"
#include "gif_image.h"
#include "gif_subimage.h"
#include "gif_util.h"

#include <algorithm>
#include <cstring>

namespace {

bool Intersect(const TGIFRect& A, const TGIFRect& B, TGIFRect& Out)
{
    Out = {std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right), std::min(A.Bottom, B.Bottom)};
    return Out.Left < Out.Right && Out.Top < Out.Bottom;
}

TGIFAppExtNSLoop* LoopExtension(TGIFSubImage* Frame)
{
    for (int i = 0; i < Frame->Extensions()->GetCount(); ++i)
        if (auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(Frame->Extensions()->GetExtension(i))) return loop;
    return nullptr;
}

// The frame says nothing through its transparent index that a pixel uses.
bool TransparencyUnused(TGIFSubImage* Frame)
{
    const int index = Frame->TransparentIndex();
    if (index < 0 || Frame->GetEmpty()) return false;
    return !std::memchr(Frame->Data(), index, size_t(Frame->DataSize()));
}

// Once the frame is shown, nothing of what its pixels covered comes back:
// the frame stays, or gives its area to the background, rather than
// restoring the picture before it or going undrawn (a disposal beyond the
// four known).
bool HidesForGood(TGIFSubImage* Frame)
{
    const TGIFGraphicControlExtension* control = Frame->GraphicControlExtension;
    const TDisposalMethod disposal = control ? control->GetDisposal() : dmNoDisposal;
    return disposal == dmNone || disposal == dmNoDisposal || disposal == dmBackground;
}

bool Removable(TGIFExtension* Extension, int FrameIndex, int FrameCount)
{
    if (dynamic_cast<TGIFCommentExtension*>(Extension) || dynamic_cast<TGIFTextExtension*>(Extension) ||
        dynamic_cast<TGIFUnknownAppExtension*>(Extension))
        return true;
    // Only the first frame's loop extension loops an animation.
    if (dynamic_cast<TGIFAppExtNSLoop*>(Extension)) return FrameIndex != 0 || FrameCount <= 1;
    return false;
}

} // namespace

void TGIFImage::Optimize(TGIFOptimizeOptions Options, TColorReduction ColorReduction, TDitherMode /*DitherMode*/,
                         int /*ReductionBits*/)
{
    if (GetEmpty()) return;
    PaintStop();
    Painters()->LockList();
    struct Unlock {
        ~Unlock() { List->UnlockList(); }
        TThreadList* List;
    } unlock{Painters()};

    const auto has = [Options](TGIFOptimizeOption Option) { return (Options & OptimizeOption(Option)) != 0; };
    const int64_t total = 6 * int64_t(FImages->GetCount());
    int64_t step = 0;
    const auto report = [&] {
        Progress(this, psRunning, total ? int((step * 100 + total / 2) / total) : 0, false, GIFTexts::Optimizing);
    };
    const auto frame = [this](int Index) { return FImages->GetImage(Index); };

    Progress(this, psStarting, 0, false, GIFTexts::Optimizing);
    try {
        if (has(ooColorMap)) {
            if (GetColorMap()->Count() > 0) GetColorMap()->Optimize();
            for (int i = 0; i < FImages->GetCount(); ++i, ++step) {
                if (frame(i)->GetColorMap()->Count() == 0) continue;
                frame(i)->GetColorMap()->Optimize();
                report();
            }
        } else {
            step += FImages->GetCount();
        }

        if (has(ooCleanup)) {
            for (int i = 0; i < FImages->GetCount(); ++i)
                if (TransparencyUnused(frame(i))) frame(i)->GraphicControlExtension->SetTransparent(false);
            // A frame that the next, opaque one covers wholly and hides for
            // good needs no disposal.
            for (int i = 0; i + 1 < FImages->GetCount(); ++i, ++step) {
                TGIFGraphicControlExtension* control = frame(i)->GraphicControlExtension;
                if (!control || (control->GetDisposal() != dmBackground && control->GetDisposal() != dmPrevious) ||
                    frame(i + 1)->Transparent || !HidesForGood(frame(i + 1)))
                    continue;
                TGIFRect common;
                if (!Intersect(frame(i)->GetBoundsRect(), frame(i + 1)->GetBoundsRect(), common)) continue;
                if (common == frame(i)->GetBoundsRect()) control->SetDisposal(dmNone);
                report();
            }
        } else {
            step += FImages->GetCount();
        }

        if (has(ooMerge)) {
            for (int i = FImages->GetCount() - 1; i >= 1; --i, ++step) {
                int j = i - 1;
                while (j > 0 && frame(j)->GraphicControlExtension &&
                       frame(j)->GraphicControlExtension->GetDisposal() == dmPrevious)
                    --j;
                frame(i)->Merge(frame(j));
                report();
            }
        } else {
            step += FImages->GetCount();
        }

        if (has(ooCrop)) {
            for (int i = FImages->GetCount() - 1; i >= 0; --i, ++step) {
                TGIFSubImage* current = frame(i);
                const TGIFGraphicControlExtension* control = current->GraphicControlExtension;
                // One that gives its whole area back to the background clears
                // its transparent borders too: they stay.
                if (current->GetEmpty() || !current->Transparent || (control && control->GetDisposal() == dmBackground))
                    continue;
                const int delay = control ? control->GetDelay() : 0;
                int loops = -1;
                if (TGIFAppExtNSLoop* loop = LoopExtension(current)) loops = loop->Loops;
                current->Crop();
                report();
                if (!current->GetEmpty()) continue;
                if (i > 0 && frame(i - 1)->Transparent) {
                    TGIFGraphicControlExtension* previous = frame(i - 1)->GraphicControlExtension;
                    previous->SetDelay(uint16_t(std::min(previous->GetDelay() + delay, 0xFFFF)));
                }
                FImages->Delete(i);
                // The animation still loops: the frame that takes the place gets the loop extension.
                if (loops >= 0 && i < FImages->GetCount() && !LoopExtension(frame(i))) {
                    auto* loop = new TGIFAppExtNSLoop(frame(i));
                    loop->Loops = uint16_t(loops);
                    frame(i)->Extensions()->Insert(0, loop);
                }
            }
        } else {
            step += FImages->GetCount();
        }

        if (has(ooCleanup)) {
            for (int i = FImages->GetCount() - 1; i >= 0; --i, ++step) {
                TGIFSubImage* current = frame(i);
                TGIFExtensionList* extensions = current->Extensions();
                for (int e = extensions->GetCount() - 1; e >= 0; --e)
                    if (Removable(extensions->GetExtension(e), i, FImages->GetCount())) extensions->Delete(e);
                const bool single = FImages->GetCount() == 1;
                if (TGIFGraphicControlExtension* control = current->GraphicControlExtension) {
                    const bool plainDisposal = control->GetDisposal() == dmNone || control->GetDisposal() == dmNoDisposal;
                    if ((control->GetDelay() == 0 || single) && !control->GetTransparent() && !control->GetUserInput() &&
                        (plainDisposal || single))
                        extensions->Delete(extensions->IndexOf(control));
                }
                if (current->GetEmpty() && extensions->GetCount() == 0) FImages->Delete(i);
            }
            report();
        } else {
            step += FImages->GetCount();
        }

        // Colour reduction is not done here; asking for it by palette is refused.
        if (has(ooReduceColors) && !has(ooCleanup) && ColorReduction == rmPalette) RaiseGifError(GIFTexts::BadReduction);
    } catch (...) {
        Progress(this, psEnding, 0, false, GIFTexts::Optimizing);
        throw;
    }
    Progress(this, psEnding, 100, false, GIFTexts::Optimizing);
}

void TGIFImage::OptimizeColorMap()
{
    TColorMapOptimizer optimizer(this);
    optimizer.Optimize();
}
