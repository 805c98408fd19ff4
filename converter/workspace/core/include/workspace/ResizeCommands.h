#pragma once

#include <optional>
#include <string>

#include "platform/Colour.h"
#include "platform/Picture.h"
#include "platform/Result.h"

namespace tess {

struct PictureSize {
    int width = 0;
    int height = 0;
    bool operator==(const PictureSize&) const = default;
};

// How a resize draws the new picture: the platform's stretch in its default mode (a shrink ANDs
// the pixels it drops into the ones it keeps), or the bilinear resampling.
enum class ResizeDrawing { Stretch, Resample };

// The half size W \ 2 x H \ 2; none when a side would become 0, since a working picture never has
// a side of 0.
std::optional<PictureSize> halfSize(const Picture& picture);
// The double size 2W x 2H; none for a picture without pixels. The new picture may still be too
// large for the picture layer; resizedPicture() refuses it then.
std::optional<PictureSize> doubleSize(const Picture& picture);

// The new working picture of a resize: the scratch picture of `size` cleared to `scratchBack`,
// `source` drawn into it. Refuses what Picture::create refuses (a side above 32767, more pixels
// than the layer holds, memory that cannot be had), so a caller that gets an error changes
// nothing.
Result<Picture> resizedPicture(const Picture& source, PictureSize size, ResizeDrawing drawing,
                               Colour scratchBack);
// The same in two steps into `target` (a picture other than the source, the main window's
// scratch picture): readyResizeTarget gives it the size for drawing `source`, in the memory it has
// where that is large enough, cleared where the drawing does not cover every pixel, and refuses
// what resizedPicture refuses (leaving it possibly empty); drawResizedInto then draws the source
// into it.
Status readyResizeTarget(const Picture& source, PictureSize size, ResizeDrawing drawing,
                         Colour scratchBack, Picture& target);
// A `twin` of the target's size (the window's surface, which shows the same picture) gets the
// same pixels in the same pass, each row copied as soon as it is drawn: memory new to the process
// is then gone over once rather than twice.
void drawResizedInto(const Picture& source, ResizeDrawing drawing, Picture& target,
                     Picture* twin = nullptr);

// The status label after a resize that does not end idle: "0x0 of 200x100".
std::string sizeStatusText(int width, int height);

}  // namespace tess
