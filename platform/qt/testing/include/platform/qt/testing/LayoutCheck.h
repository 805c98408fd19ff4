#pragma once

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace tess::qt::testing {

// Whether a widget is one of a window's own controls: the widgets we named. The parts that Qt
// builds inside a combo box, a list or a text box carry no name or one of Qt's own "qt_" names.
bool isNamedControl(const QWidget* w);

// Why a control's caption or content does not fit into it, or an empty text.
std::string clipping(const QWidget* w);

// Every visible control lies inside its container's inner area, overlaps no visible sibling and
// shows its caption whole. Returns the faults found, one a line. `isControl` picks the widgets
// that count (isNamedControl when empty).
std::string layoutFaults(const QWidget& top,
                         const std::function<bool(const QWidget*)>& isControl = {});

// Saves a picture of the widget as `name` in `folder` (made when missing); under a font setup of
// the build's (FONTCONFIG_FILE, in a folder named after the setup), in `folder`'s subfolder of
// that name. False when it could not.
bool saveShot(QWidget& w, const QString& folder, const QString& name);

}  // namespace tess::qt::testing
