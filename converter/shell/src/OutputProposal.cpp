#include "shell/OutputProposal.h"

#include "engine/OutputName.h"
#include "platform/Text.h"

namespace tess {

std::string proposeOutputPath(FileListBox& File1, const std::string& dataFolder) {
    const Status listed = File1.setPath(joinPath(dataFolder, "Mosaics"));
    if (!listed && listed.error().code == errc::PathNotFound) {
        (void)File1.setPath(dataFolder);
        File1.setPattern("*.htm");
        return joinPath(dataFolder, "Image" + GetNumber(File1.listing()) + ".html");
    }
    File1.setPattern("*.htm");
    return joinPath(dataFolder, "Mosaics/Image" + GetNumber(File1.listing()) + ".html");
}

}  // namespace tess
