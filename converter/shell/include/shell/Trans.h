#pragma once

class QWidget;

namespace tess {

// Window transparency on Qt's window opacity; it shows where the desktop composites windows.

// The constant alpha of the transparency menu's entry `index`: 250 - 25 * index for 1 to 9,
// 255 (opaque) for 0.
int transparencyAlpha(int index);

// Whether the window was made translucent.
bool IsLayered(const QWidget& window);
// 0 done, 1 an alpha outside 0 to 255 (nothing changed).
int SetTranslucency(QWidget& window, int alpha);
// 0: the window is opaque again, or was never made translucent.
int MakeOpaque(QWidget& window);

}  // namespace tess
