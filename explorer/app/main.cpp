#include <QApplication>
#include <QDateTime>
#include <QStandardPaths>
#include <QStyleFactory>
#include <cstdint>
#include <random>
#include <string>

#include "platform/DefaultRandom.h"
#include "platform/Services.h"
#include "platform/qt/IniSettingsStore.h"
#include "platform/qt/ProgramFolder.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/SystemClock.h"
#include "windows/ExplorerState.h"
#include "windows/frmMain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The windows are laid out in pixels; one style everywhere keeps every control in its place.
    if (QStyle* style = QStyleFactory::create("Fusion"))
        QApplication::setStyle(style);

    tess::qt::IniSettingsStore settings(
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Tessaryn");
    tess::qt::QtDialogs dialogs;
    tess::qt::SystemClock clock;
    tess::DefaultRandom random(std::random_device{}() ^
                               static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch()));
    tess::qt::QtEventPump pump;
    tess::qt::QtShell shell;
    tess::qt::QtClipboard clipboard;
    tess::Services services{dialogs, settings, clock,     random,
                            pump,    shell,    clipboard, tess::qt::programFolder()};

    // The command line is one directory; a path with blanks may arrive in several pieces.
    std::string commandLine;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i)
        commandLine += (i > 1 ? " " : "") + all[i].toStdString();

    tess::explorer::ExplorerState state;
    tess::explorer::frmMain window(services, state, commandLine);
    window.Form_Load();
    window.show();
    return app.exec();
}
