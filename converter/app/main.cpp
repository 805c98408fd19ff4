#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <QStyleFactory>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/DefaultRandom.h"
#include "platform/Services.h"
#include "platform/qt/IniSettingsStore.h"
#include "platform/qt/ProgramFolder.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/SystemClock.h"
#include "shell/ConverterProgram.h"
#include "shell/VisualStyle.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string folder = tess::qt::programFolder();
    // The visual-style manifest beside the program chooses the themed look; without it the classic
    // one. Either is a fixed style, so every control stays where the layout put it.
    if (QStyle* style = QStyleFactory::create(
            tess::converterStyleName(tess::manifestPresent(folder))))
        QApplication::setStyle(style);
    // Held while the program runs: a second converter finds it taken.
    QLockFile instanceLock(QDir::temp().filePath("Tessaryn-" + qEnvironmentVariable("USER") +
                                                 ".lock"));
    const bool otherInstance = !instanceLock.tryLock(0);

    tess::qt::IniSettingsStore settings(
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Tessaryn");
    tess::qt::QtDialogs dialogs;
    tess::qt::SystemClock clock;
    // Seeded once per start; later reseeds only mix the clock in.
    tess::DefaultRandom random(std::random_device{}() ^
                               static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch()));
    tess::qt::QtEventPump pump;
    tess::qt::QtShell shell;
    tess::qt::QtClipboard clipboard;
    tess::Services services{dialogs, settings, clock,     random,
                            pump,    shell,    clipboard, folder};

    std::vector<std::string> arguments;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i)
        arguments.push_back(all[i].toStdString());

    tess::ConverterProgram program(services, std::move(arguments));
    program.otherInstanceRunning = otherInstance;
    program.start();
    return app.exec();
}
