#include "platform/qt/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

#include "platform/qt/QtText.h"

namespace tess::qt {

std::string programFolder() {
    return fromQ(QCoreApplication::applicationDirPath());
}

Folders desktopFolders() {
    FolderEnvironment env;
    env.programFolder = programFolder();
    env.programWritable = folderWritable(env.programFolder);
    env.home = fromQ(QDir::homePath());
    env.dataHome = fromQ(qEnvironmentVariable("XDG_DATA_HOME"));
    env.cacheHome = fromQ(qEnvironmentVariable("XDG_CACHE_HOME"));
    env.runtimeDir = fromQ(qEnvironmentVariable("XDG_RUNTIME_DIR"));
    return chooseFolders(env);
}

}  // namespace tess::qt
