#pragma once

#include <string>
#include <string_view>

namespace tess {

// The converter's own version, from the project's version number.
inline constexpr int kVersionMajor = TESSARYN_VERSION_MAJOR;
inline constexpr int kVersionMinor = TESSARYN_VERSION_MINOR;
inline constexpr int kVersionRevision = TESSARYN_VERSION_REVISION;
inline constexpr int kBetaNumber = 1;

// The program file beside which the converter keeps its files.
inline constexpr std::string_view kProgramFileName = "Tessaryn";
// The application title the program reports about itself.
inline constexpr std::string_view kProgramTitle = "Tessaryn";

// "2.0.053": major, minor and the revision padded to three digits.
std::string versionText(int major, int minor, int revision);
// "(1.0.000)": major, minor and the revision padded to three digits, in brackets.
std::string versionLabel();
// "beta 1".
std::string betaText();

}  // namespace tess
