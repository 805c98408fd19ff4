// Draws the programs' icons for the desktop's icon theme: `ProgramIcons FOLDER SIZE...` writes
// FOLDER/<size>x<size>/apps/tessaryn.png and wenderlock.png for every size. Run by the build.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QString>
#include <cstdio>
#include <functional>

#include "shell/ProgramIcon.h"
#include "windows/ExplorerArt.h"

namespace {

// Written whole or not at all, so a failed run never leaves a cut-off picture for the install.
bool savePng(const QImage& image, const QString& path) {
    QSaveFile file(path);
    return !image.isNull() && file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") &&
           file.commit();
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: ProgramIcons FOLDER SIZE...\n");
        return 2;
    }
    const struct {
        const char* name;
        std::function<QImage(int)> draw;
    } icons[] = {{"tessaryn", tess::ProgramIcon}, {"wenderlock", tess::explorer::programIcon}};
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        bool isNumber = false;
        const int size = arguments[i].toInt(&isNumber);
        if (!isNumber || size < 16 || size > 1024) {
            std::fprintf(stderr, "ProgramIcons: not an icon size: %s\n", qPrintable(arguments[i]));
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(arguments[1]).arg(size);
        if (!QDir().mkpath(folder)) {
            std::fprintf(stderr, "ProgramIcons: cannot make %s\n", qPrintable(folder));
            return 1;
        }
        for (const auto& icon : icons) {
            const QString path = folder + '/' + icon.name + ".png";
            if (!savePng(icon.draw(size), path)) {
                std::fprintf(stderr, "ProgramIcons: cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    }
    return 0;
}
