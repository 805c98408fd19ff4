#pragma once

#include <sys/types.h>

#include <string>

#include "platform/Folders.h"

namespace tess {

// The lock a running converter holds, so a second one finds it taken: in the user's private
// scratch folder where there is one, where nobody else can put anything in its way, else in the
// temporary folder `tempFolder` that every user shares, named by the user's number so that each
// user has a lock of their own whatever the environment says.
std::string instanceLockPath(const Folders& folders, const std::string& tempFolder, uid_t user);

}  // namespace tess
