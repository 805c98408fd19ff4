#pragma once

#include <QIcon>
#include <QImage>
#include <string_view>

namespace tess::explorer {

// The explorer's bitmaps, drawn by the program itself: the seven toolbar pictures ("XP_ICO_TIT",
// "XP_ICO_BGC", "XP_ICO_FS", "XP_ICO_SA", "XP_ICO_SAV", "XP_ICO_X", "XP_ICO_PREV", 16 x 16 on
// magenta), the banner ("XP_MAIN" 429 x 55, "XP_BLUE" 5 x 55, "XP_BAR" 429 x 4) and the dialog
// headers ("XP_MFS", "XP_CSS", "XP_MMT", 310 x 59). An unknown name gives a null image.
QImage resourceBitmap(std::string_view name);

// The explorer's icon, `size` pixels square (16 and up, else a null image): the emblem of the
// banner on the banner's shade, with rounded, see-through corners.
QImage programIcon(int size);

// A toolbar picture with its magenta pixels left out.
QIcon maskedIcon(const QImage& bitmap);

// The list's marks, 13 x 13 on silver: 1 an unchanged row (greys and white), 2 a changed row
// (yellow and black). Any other index gives a null image.
QImage rowMark(int index);

}  // namespace tess::explorer
