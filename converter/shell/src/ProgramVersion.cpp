#include "shell/ProgramVersion.h"

#include "platform/Files.h"

namespace tess {

std::string versionLabel() {
    return "(" + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           ThreeDigits(std::to_string(kVersionRevision)) + ")";
}

std::string betaText() {
    return "beta " + std::to_string(kBetaNumber);
}

}  // namespace tess
