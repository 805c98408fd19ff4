#include "shell/Trans.h"

#include <QVariant>
#include <QWidget>

#include "shell/SharedFunctions.h"

namespace tess {

namespace {

// Qt keeps no "layered" style of its own; the window carries the mark as a property.
constexpr const char* kLayered = "tessaryn_layered";

}  // namespace

int transparencyAlpha(int index) {
    return index <= 0 ? 255 : 250 - 25 * index;
}

bool IsLayered(const QWidget& window) {
    return IsWin2000OrLater() && window.property(kLayered).toBool();
}

int SetTranslucency(QWidget& window, int alpha) {
    if (!IsWin2000OrLater())
        return 0;
    if (alpha < 0 || alpha > 255)
        return 1;
    window.setProperty(kLayered, true);
    window.setWindowOpacity(alpha / 255.0);
    return 0;
}

int MakeOpaque(QWidget& window) {
    if (!IsLayered(window))
        return 0;
    window.setProperty(kLayered, false);
    window.setWindowOpacity(1.0);
    return 0;
}

}  // namespace tess
