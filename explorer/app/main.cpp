#include <QApplication>
#include <QStyleFactory>
#include <string>

#include "platform/Services.h"
#include "platform/qt/DesignFont.h"
#include "platform/qt/DesktopServices.h"
#include "windows/ExplorerState.h"
#include "windows/frmMain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The windows are laid out in pixels; one style everywhere keeps every control in its place.
    if (QStyle* style = QStyleFactory::create("Fusion"))
        QApplication::setStyle(style);
    // The same holds for the font: every window, message box, menu and tooltip draws with the one
    // the layout was made for, whatever the desktop's font.
    QApplication::setFont(tess::qt::designFont());

    tess::qt::DesktopServices desktop;
    tess::Services services = desktop.services();

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
