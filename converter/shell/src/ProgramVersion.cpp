#include "shell/ProgramVersion.h"

#include "platform/Files.h"

namespace tess {

std::string versionText(int major, int minor, int revision) {
    return std::to_string(major) + "." + std::to_string(minor) + "." +
           ThreeDigits(std::to_string(revision));
}

std::string versionLabel() {
    return "(" + versionText(kVersionMajor, kVersionMinor, kVersionRevision) + ")";
}

std::string betaText() {
    return "beta " + std::to_string(kBetaNumber);
}

}  // namespace tess
