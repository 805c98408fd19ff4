#include "platform/PictureBox.h"

#include <utility>

#include "platform/Blit.h"

namespace tess {

PictureBox::PictureBox(Colour backColor, Colour foreColor)
    : backColor_(backColor), foreColor_(foreColor) {}

void PictureBox::setPicture(std::optional<Picture> picture) {
    picture_ = std::move(picture);
    if (picture_) {
        surface_ = *picture_;
    } else {
        surface_.fill(backColor_);
    }
    touch();
}

void PictureBox::exchangePicture(Picture& picture) {
    exchangePictureOfSurface(picture);
    surface_ = *picture_;
}

void PictureBox::exchangePictureOfSurface(Picture& picture) {
    if (picture_) {
        std::swap(*picture_, picture);
    } else {
        picture_ = std::move(picture);
        picture = Picture();
    }
    touch();
}

void PictureBox::assignImage() {
    if (picture_) {
        *picture_ = surface_;
    } else {
        picture_ = surface_;
    }
    touch();
}

void PictureBox::cls() {
    surface_.fill(backColor_);
    if (picture_) {
        bitBlt(surface_, 0, 0, picture_->width(), picture_->height(), *picture_, 0, 0,
               RasterOp::SrcCopy);
    }
    touch();
}

Status PictureBox::setSize(int width, int height) {
    Status s = surface_.resize(width, height, backColor_);
    if (s) {
        touch();
    }
    return s;
}

}  // namespace tess
