#pragma once

#include <QImage>

namespace tess {

// The converter's icon, `size` pixels square (16 and up, else a null image), drawn after the
// splash: the title's first letter over rows of the splash's coloured mosaic characters, on its
// night sky, with rounded, see-through corners.
QImage ProgramIcon(int size);

}  // namespace tess
