#include "platform/qt/ProgramFolder.h"

#include <QCoreApplication>

#include "platform/qt/QtText.h"

namespace tess::qt {

std::string programFolder() {
    return fromQ(QCoreApplication::applicationDirPath());
}

}  // namespace tess::qt
