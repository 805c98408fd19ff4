#include "shell/frmMain.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <optional>

#include "platform/Dialogs.h"
#include "shell/StoredSettings.h"
#include "shell/Trans.h"
#include "shell/WindowPlacement.h"

// The Window menu: remembering the window's position, and the main window's transparency.

namespace tess {

namespace {

QSize screenPixels() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->geometry().size();
    return {};
}

std::vector<ScreenRect> screenAreas() {
    std::vector<ScreenRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect r = screen->availableGeometry();
        areas.push_back({r.x(), r.y(), r.width(), r.height()});
    }
    return areas;
}

}  // namespace

void frmMain::connectWindowMenu() {
    // A checkable item ticks itself before the handler runs; the handler decides the mark.
    connect(mnuRWSP, &QAction::triggered, this, [this] {
        mnuRWSP->setChecked(!mnuRWSP->isChecked());
        mnuRWSP_Click();
    });
    for (std::size_t k = 0; k < mnuTransVal.size(); ++k) {
        connect(mnuTransVal[k], &QAction::triggered, this,
                [this, k] { mnuTransVal_Click(static_cast<int>(k)); });
    }
}

void frmMain::saveSetting(const std::string& key, const std::string& value) {
    services_.settings.save(std::string(settings::kApp), std::string(settings::kSection), key,
                            value);
}

void frmMain::LoadSizePos() {
    if (settings::read(services_.settings, "WRemember", "False") != "True")
        return;
    mnuRWSP->setChecked(true);
    const QSize screen = screenPixels();
    const std::optional<int> oldX = storedWholeNumber(
        settings::read(services_.settings, "WSOldX", std::to_string(screen.width())));
    const std::optional<int> oldY = storedWholeNumber(
        settings::read(services_.settings, "WSOldY", std::to_string(screen.height())));
    if (!oldX || !oldY)
        return;
    if (screenShrank(screen.width(), screen.height(), *oldX, *oldY)) {
        const int answer = services_.dialogs.msgBox(
            "Your display resolution has been changed since the last time Tessaryn q4 ran.\r"
            "This resolution change may cause Tessaryn q4 to display incorrectly.\r\r"
            "Would you like to load the default Tessaryn q4 display settings instead?",
            mb::YesNo | mb::Question, "Window Position");
        if (answer == mb::Yes)
            return;
    }
    const std::optional<int> left = storedWholeNumber(
        settings::read(services_.settings, "WX", std::to_string(x() * kTwipsPerPixel)));
    const std::optional<int> top = storedWholeNumber(
        settings::read(services_.settings, "WY", std::to_string(y() * kTwipsPerPixel)));
    if (!left || !top)
        return;
    const QRect frame = frameGeometry();
    const ScreenRect placed =
        ontoNearestScreen({*left / kTwipsPerPixel, *top / kTwipsPerPixel, frame.width(),
                           frame.height()},
                          screenAreas());
    move(placed.left, placed.top);
}

void frmMain::mnuRWSP_Click() {
    if (!mnuRWSP->isChecked()) {
        mnuRWSP->setChecked(true);
        saveSetting("WRemember", "True");
        const QSize screen = screenPixels();
        saveSetting("WSOldX", std::to_string(screen.width()));
        saveSetting("WSOldY", std::to_string(screen.height()));
        saveSetting("WX", std::to_string(x() * kTwipsPerPixel));
        saveSetting("WY", std::to_string(y() * kTwipsPerPixel));
    } else {
        mnuRWSP->setChecked(false);
        saveSetting("WRemember", "False");
    }
}

void frmMain::saveWindowPosition() {
    if (!mnuRWSP->isChecked()) {
        saveSetting("WRemember", "False");
        return;
    }
    saveSetting("WRemember", "True");
    const QSize screen = screenPixels();
    saveSetting("WSOldX", std::to_string(screen.width()));
    saveSetting("WSOldY", std::to_string(screen.height()));
    const int state = isMinimized() ? 1 : isMaximized() ? 2 : 0;
    saveSetting("WState", std::to_string(state));
    if (state == 1)
        return;
    const QRect frame = frameGeometry();
    saveSetting("WWidth", std::to_string(frame.width() * kTwipsPerPixel));
    saveSetting("WHeight", std::to_string(frame.height() * kTwipsPerPixel));
    saveSetting("WX", std::to_string(x() * kTwipsPerPixel));
    saveSetting("WY", std::to_string(y() * kTwipsPerPixel));
}

void frmMain::mnuTransVal_Click(int Index) {
    if (Index < 0 || Index >= static_cast<int>(mnuTransVal.size()))
        return;
    for (QAction* item : mnuTransVal)
        item->setChecked(false);
    mnuTransVal[static_cast<std::size_t>(Index)]->setChecked(true);
    saveSetting("TransMode", std::to_string(Index));
    if (Index == 0) {
        MakeOpaque(*this);
    } else {
        SetTranslucency(*this, transparencyAlpha(Index));
    }
}

int frmMain::transparencyChoice() const {
    int choice = 0;
    for (std::size_t k = 0; k < mnuTransVal.size(); ++k) {
        if (mnuTransVal[k]->isChecked())
            choice = static_cast<int>(k);
    }
    return choice;
}

}  // namespace tess
