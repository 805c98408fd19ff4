#pragma once

#include <string>

#include "shell/FileListBox.h"

namespace tess {

// The page file the main window proposes at start-up: the next free "Image<n>.html" in the data
// folder's "Mosaics" folder (the program folder unless that is read-only), or in the data folder
// itself where there is no such folder. `File1` is left listing the folder whose pages were counted.
std::string proposeOutputPath(FileListBox& File1, const std::string& dataFolder);

}  // namespace tess
