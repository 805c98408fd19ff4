#pragma once

#include <string>

namespace tess {

// FileExists: the first ordinary, visible file that the path names (the path is the file's own
// path here, never a pattern) counts when its name, in lower case, occurs in the lower-case path.
bool FileExists(const std::string& path);
// IsFixedDrive: whether an absolute path lies on a local, permanently attached file system.
bool IsFixedDrive(const std::string& path);
// ThreeDigits: left-pads a number text with zeros to three characters.
std::string ThreeDigits(const std::string& sTheStr);
// ShortFileName: shortens a long path for menus and progress labels; "/" is the separator.
std::string ShortFileName(const std::string& sTheStr);

}  // namespace tess
