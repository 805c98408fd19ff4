#include "shell/SharedFunctions.h"

#include <QApplication>
#include <array>
#include <string_view>
#include <vector>

#include "shell/StoredSettings.h"
#include "shell/Trans.h"
#include "shell/frmMain.h"

namespace tess {

namespace {

struct TooltipList {
    std::string_view window;
    std::vector<std::string_view> controls;
};

// In the order they are cleared.
const std::array<TooltipList, 4>& tooltipLists() {
    static const std::array<TooltipList, 4> lists = {{
        {"frmMain",
         {"Check1",    "Check1b",   "Check2b",   "Check2",         "Check3",    "Combo1",
          "Combo1b",   "Combo2",    "Combo2b",   "Combo3",         "Combo3b",   "Combo4b",
          "Combo5b",   "Command1",  "Command1b", "Command2",       "Command2b", "Command3",
          "Command3b", "Command4",  "Command5",  "Command6",       "Command7",  "Command8",
          "Command9",  "Command10", "Command11", "Picture3b",      "Text1",     "Text2",
          "Text3",     "Text4",     "Label6",    "picStatHandler", "picStatus", "Label3",
          "Picture5"}},
        {"frmCResize", {"Text1", "Text2", "Check1", "Check2", "Command1", "Command2"}},
        {"frmCSS", {"Option1", "Option2", "Option3", "Text1", "Command1", "Command2"}},
        {"frmGFXLib", {"Command1", "Command2", "picPreview", "Image2", "Image3"}},
    }};
    return lists;
}

}  // namespace

bool TooltipsDisabled(const SettingsStore& settings) {
    return settings::read(settings, "Tooltips", "1") == "0";
}

void ApplyTooltipSetting(QWidget& window, const SettingsStore& settings) {
    if (!TooltipsDisabled(settings))
        return;
    const QString name = window.objectName();
    for (const TooltipList& list : tooltipLists()) {
        if (name != QLatin1String(list.window.data(), static_cast<qsizetype>(list.window.size())))
            continue;
        for (std::string_view control : list.controls) {
            const QString controlName =
                QString::fromLatin1(control.data(), static_cast<qsizetype>(control.size()));
            if (QWidget* widget = window.findChild<QWidget*>(controlName))
                widget->setToolTip({});
        }
        return;
    }
}

void ApplyTransparency(QWidget& window, const ConverterState& state) {
    if (!IsWin2000OrLater() || !state.MainActive)
        return;
    // The choice is the main window's transparency menu: the dialog's owner, or else the one
    // main window of the program.
    const frmMain* main = nullptr;
    for (QWidget* owner = window.parentWidget(); owner && !main; owner = owner->parentWidget())
        main = qobject_cast<const frmMain*>(owner);
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!main)
            main = qobject_cast<const frmMain*>(top);
    }
    const int choice = main ? main->transparencyChoice() : 0;
    if (choice == 0) {
        MakeOpaque(window);
    } else {
        SetTranslucency(window, transparencyAlpha(choice));
    }
}

void SaveWindowState(frmMain& main) {
    main.saveWindowPosition();
}

bool IsWin2000OrLater() {
    return true;
}

}  // namespace tess
