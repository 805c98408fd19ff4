#pragma once

#include <optional>

#include "platform/Picture.h"

namespace tess {

// The model of a picture control whose drawing persists: a drawn surface (`image()`), an optional
// assigned background picture (`picture()`), a back colour and a fore colour. It knows no widget;
// the Qt picture widget shows one of these.
class PictureBox {
  public:
    explicit PictureBox(Colour backColor = syscolour::ButtonFace,
                        Colour foreColor = syscolour::ButtonText);

    int width() const { return surface_.width(); }
    int height() const { return surface_.height(); }

    Colour backColor() const { return backColor_; }
    void setBackColor(Colour c) { backColor_ = c; }
    Colour foreColor() const { return foreColor_; }
    void setForeColor(Colour c) { foreColor_ = c; }

    // Assigning a picture makes it the background image, takes its size and redraws the surface
    // from it. An empty optional removes the background image; the surface keeps its size and
    // shows the back colour (assigning always erases what was drawn).
    void setPicture(std::optional<Picture> picture);
    const std::optional<Picture>& picture() const { return picture_; }
    // Assigns `picture` as setPicture does and gives back in it the picture assigned before (an
    // empty one where there was none), whose memory can then serve again; the surface is drawn
    // in the memory it has where that is large enough.
    void exchangePicture(Picture& picture);
    // The same for a picture the surface already equals, which is then left as it is.
    void exchangePictureOfSurface(Picture& picture);
    // The drawn surface becomes the background picture (a control's Picture = Image), in the
    // memory of the picture assigned before.
    void assignImage();
    // What the control stands for: the background picture where one is assigned, else the surface.
    const Picture& pictureOrImage() const { return picture_ ? *picture_ : surface_; }

    // The drawn surface (snapshot with image(), direct access with surface()).
    Picture image() const { return surface_; }
    const Picture& surface() const { return surface_; }
    Picture& surface() { return surface_; }

    // Clears what was drawn: back colour everywhere, then the background picture over it.
    void cls();
    // Resizes the surface; the overlap is kept and added area shows the back colour. Sizes that
    // Picture::create refuses leave the box as it was. The background picture is not touched.
    Status setSize(int width, int height);
    Status setWidth(int width) { return setSize(width, height()); }
    Status setHeight(int height) { return setSize(width(), height); }

    // Drawing on the surface, as the control's methods do; colours may be system references.
    // Code that draws through surface() calls touch() itself.
    Colour point(int x, int y) const { return surface_.pixel(x, y); }
    void pset(int x, int y, Colour c) {
        surface_.setPixel(x, y, c);
        touch();
    }

    // Bumped on every change so a view knows when to repaint.
    unsigned revision() const { return revision_; }
    void touch() { ++revision_; }

  private:
    Picture surface_;
    std::optional<Picture> picture_;
    Colour backColor_;
    Colour foreColor_;
    unsigned revision_ = 0;
};

}  // namespace tess
