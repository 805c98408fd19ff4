#include "workspace/ResizeCommands.h"

#include <utility>

#include "platform/Blit.h"
#include "workspace/Resample.h"

namespace tess {

std::optional<PictureSize> halfSize(const Picture& picture) {
    const PictureSize half{picture.width() / 2, picture.height() / 2};
    if (half.width == 0 || half.height == 0)
        return std::nullopt;
    return half;
}

std::optional<PictureSize> doubleSize(const Picture& picture) {
    if (picture.empty())
        return std::nullopt;
    return PictureSize{2 * picture.width(), 2 * picture.height()};
}

Result<Picture> resizedPicture(const Picture& source, PictureSize size, ResizeDrawing drawing,
                               Colour scratchBack) {
    Picture target;
    if (Status ready = readyResizeTarget(size, drawing, scratchBack, target); !ready)
        return ready.error();
    drawResizedInto(source, drawing, target);
    return target;
}

Status readyResizeTarget(PictureSize size, ResizeDrawing drawing, Colour scratchBack,
                         Picture& target) {
    // The resampling writes every pixel, so its picture needs no clearing first.
    return drawing == ResizeDrawing::Resample ? target.assignForOverwrite(size.width, size.height)
                                              : target.assign(size.width, size.height, scratchBack);
}

void drawResizedInto(const Picture& source, ResizeDrawing drawing, Picture& target) {
    if (drawing == ResizeDrawing::Resample) {
        drawBilinear(source, target);
    } else {
        stretchBlt(target, 0, 0, target.width(), target.height(), source, 0, 0, source.width(),
                   source.height(), RasterOp::SrcCopy);
    }
}

std::string sizeStatusText(int width, int height) {
    return "0x0 of " + std::to_string(width) + "x" + std::to_string(height);
}

}  // namespace tess
