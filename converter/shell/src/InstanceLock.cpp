#include "shell/InstanceLock.h"

#include "platform/Text.h"

namespace tess {

std::string instanceLockPath(const Folders& folders, const std::string& tempFolder, uid_t user) {
    const bool privateScratch = !folders.scratch.empty() && folders.scratch != folders.program;
    return joinPath(privateScratch ? folders.scratch : tempFolder,
                    "Tessaryn-" + std::to_string(user) + ".lock");
}

}  // namespace tess
