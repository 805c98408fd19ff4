#include "shell/OutputProposal.h"

#include "engine/OutputName.h"
#include "platform/Text.h"

namespace tess {

std::string proposeOutputPath(FileListBox& File1, const std::string& programFolder) {
    const Status listed = File1.setPath(joinPath(programFolder, "Mosaics"));
    if (!listed && listed.error().code == errc::PathNotFound) {
        (void)File1.setPath(programFolder);
        File1.setPattern("*.htm");
        return joinPath(programFolder, "Image" + GetNumber(File1.listing()) + ".html");
    }
    File1.setPattern("*.htm");
    return joinPath(programFolder, "Mosaics/Image" + GetNumber(File1.listing()) + ".html");
}

}  // namespace tess
