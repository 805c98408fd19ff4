#pragma once

#include <string>

#include "platform/Folders.h"

namespace tess::qt {

// The folder of the running executable, without a trailing separator (except the root "/").
// Needs the application object. Windows get the folder through Services, never from here.
std::string programFolder();

// The folders of this run, chosen from the executable's folder and the user's environment (the
// per-user ones are made when missing). Needs the application object.
Folders desktopFolders();

}  // namespace tess::qt
