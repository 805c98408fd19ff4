#include "shell/CommonDialog.h"

namespace tess {

bool CommonDialog::ShowColor(Dialogs& dialogs) {
    const std::optional<Colour> chosen = dialogs.chooseColour(Color, Flags);
    if (!chosen)
        return false;
    Color = *chosen;
    return true;
}

FileDialogRequest CommonDialog::request() const {
    FileDialogRequest r;
    r.title = DialogTitle;
    r.filter = Filter;
    r.filterIndex = FilterIndex;
    r.fileName = FileName;
    r.initialDir = InitDir;
    r.flags = Flags;
    return r;
}

bool CommonDialog::ShowOpen(Dialogs& dialogs) {
    const std::optional<FileDialogAnswer> answer = dialogs.openFile(request());
    if (!answer)
        return false;
    FileName = answer->fileName;
    FilterIndex = answer->filterIndex;
    return true;
}

bool CommonDialog::ShowSave(Dialogs& dialogs) {
    const std::optional<FileDialogAnswer> answer = dialogs.saveFile(request());
    if (!answer)
        return false;
    FileName = answer->fileName;
    FilterIndex = answer->filterIndex;
    return true;
}

}  // namespace tess
