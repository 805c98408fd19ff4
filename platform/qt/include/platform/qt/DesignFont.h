#pragma once

#include <QFont>

namespace tess::qt {

// The font every window's pixel geometry was laid out for, whatever face and size the desktop
// draws with: DejaVu Sans, which the install brings, at an exact pixel size (11 pixels is the
// design's 8.25 points at 96 dots per inch). It is hinted only up and down, so the desktop's
// choice of hinting leaves the widths of the texts as they are.
QFont designFont(int pixelSize = 11);

}  // namespace tess::qt
