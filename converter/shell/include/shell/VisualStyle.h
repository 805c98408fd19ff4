#pragma once

#include <string>
#include <string_view>

#include "platform/Result.h"

namespace tess {

// The program's own version data, as the visual-style manifest names it.
struct VersionData {
    std::string companyName;
    std::string productName;
    std::string title;
    int major = 0;
    int minor = 0;
    int revision = 0;
};

VersionData programVersionData();

// "company.product.title" with the maker's prefix taken out of the company and blanks as "-".
std::string manifestIdentityName(const VersionData& data);
// The 22 lines of the manifest joined by CR LF, without a line end after the last.
std::string manifestText(const VersionData& data);
// In `folder` (the data folder: beside the program unless that is read-only): the program's file
// name in lower case followed by ".exe.manifest".
std::string manifestPath(const std::string& folder, std::string_view programFileName);

// Writes the manifest when it is missing (an existing file is kept whatever it holds), or deletes
// it. A folder that cannot be written is reported, never fatal. The manifest is the program's own
// file: a link at its name is refused, never followed.
Status WriteXPManifest(bool enable, const std::string& folder);
// Whether the manifest lies in `folder`: the converter then takes the themed look.
bool manifestPresent(const std::string& folder);

// Qt's built-in style for the look: themed with the manifest, the classic look without it.
const char* converterStyleName(bool withManifest);

// The version tests compare major and the first digit of minor as one number: 4.10 is 41.
int windowsVersionNumber(unsigned major, unsigned minor);
// XP is 5.1: the number 51 or more.
bool isXPOrLater(unsigned major, unsigned minor);
// The desktop counts as a version above 5.1, so every test of it passes.
bool IsWinXPOrLater();

}  // namespace tess
