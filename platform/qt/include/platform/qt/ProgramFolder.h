#pragma once

#include <string>

namespace tess::qt {

// The folder of the running executable, without a trailing separator (except the root "/").
// Needs the application object. Windows get the folder through Services, never from here.
std::string programFolder();

}  // namespace tess::qt
