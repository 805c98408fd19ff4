#include "workspace/ResizeCommands.h"

#include <algorithm>
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
    if (Status ready = readyResizeTarget(source, size, drawing, scratchBack, target); !ready)
        return ready.error();
    drawResizedInto(source, drawing, target);
    return target;
}

Status readyResizeTarget(const Picture& source, PictureSize size, ResizeDrawing drawing,
                         Colour scratchBack, Picture& target) {
    // Both drawings write every pixel from a source with pixels (the stretch maps each target
    // pixel to a run of source pixels that is never empty), so only a stretch of a source
    // without pixels shows the clearing. Clearing first would cost a second pass over memory
    // that is new to the process.
    if (drawing == ResizeDrawing::Resample || !source.empty())
        return target.assignForOverwrite(size.width, size.height);
    return target.assign(size.width, size.height, scratchBack);
}

void drawResizedInto(const Picture& source, ResizeDrawing drawing, Picture& target, Picture* twin) {
    // The twin takes each row while it is still in the drawing core's cache.
    RowFinished copyRow;
    if (twin != nullptr && !source.empty()) {
        copyRow = [&](int y) {
            std::copy_n(target.row(y), static_cast<std::size_t>(target.width()), twin->row(y));
        };
    }
    if (drawing == ResizeDrawing::Resample) {
        drawBilinear(source, target, ResampleCode::Fastest, copyRow);
    } else {
        stretchBlt(target, 0, 0, target.width(), target.height(), source, 0, 0, source.width(),
                   source.height(), RasterOp::SrcCopy, StretchMode::BlackOnWhite, copyRow);
    }
    // A stretch of nothing draws no row; the pictures have one size, so this copy cannot fail.
    if (twin != nullptr && source.empty())
        static_cast<void>(twin->copyFrom(target));
}

std::string sizeStatusText(int width, int height) {
    return "0x0 of " + std::to_string(width) + "x" + std::to_string(height);
}

}  // namespace tess
