#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QStyleFactory>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "platform/qt/DesktopServices.h"
#include "platform/qt/ProgramFolder.h"
#include "shell/ConverterProgram.h"
#include "shell/VisualStyle.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string folder = tess::qt::programFolder();
    // The visual-style manifest beside the program chooses the themed look; without it the classic
    // one. Either is a fixed style, so every control stays where the layout put it.
    if (QStyle* style =
            QStyleFactory::create(tess::converterStyleName(tess::manifestPresent(folder))))
        QApplication::setStyle(style);
    // Held while the program runs: a second converter finds it taken.
    QLockFile instanceLock(
        QDir::temp().filePath("Tessaryn-" + qEnvironmentVariable("USER") + ".lock"));
    const bool otherInstance = !instanceLock.tryLock(0);

    tess::qt::DesktopServices desktop;
    tess::Services services = desktop.services();

    std::vector<std::string> arguments;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i)
        arguments.push_back(all[i].toStdString());

    tess::ConverterProgram program(services, std::move(arguments));
    program.otherInstanceRunning = otherInstance;
    program.start();
    return app.exec();
}
