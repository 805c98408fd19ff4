#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QStyleFactory>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "platform/qt/DesignFont.h"
#include "platform/qt/DesktopServices.h"
#include "platform/qt/QtText.h"
#include "shell/ConverterProgram.h"
#include "shell/InstanceLock.h"
#include "shell/VisualStyle.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Every window is laid out in pixels for one small font: message boxes, menus and tooltips
    // draw with it too, whatever the desktop's font.
    QApplication::setFont(tess::qt::designFont());
    tess::qt::DesktopServices desktop;
    tess::Services services = desktop.services();

    // The visual-style manifest chooses the themed look; without it the classic one. Either is a
    // fixed style, so every control stays where the layout put it.
    if (QStyle* style = QStyleFactory::create(
            tess::converterStyleName(tess::manifestPresent(services.folders.data))))
        QApplication::setStyle(style);
    // Held while the program runs: a second converter finds it taken.
    QLockFile instanceLock(tess::qt::toQ(
        tess::instanceLockPath(services.folders, tess::qt::fromQ(QDir::tempPath()), ::getuid())));
    const bool otherInstance = !instanceLock.tryLock(0);

    std::vector<std::string> arguments;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i)
        arguments.push_back(all[i].toStdString());

    tess::ConverterProgram program(services, std::move(arguments));
    program.otherInstanceRunning = otherInstance;
    program.start();
    return app.exec();
}
