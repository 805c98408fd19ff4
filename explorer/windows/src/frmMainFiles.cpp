// Preview and delete of the explorer's main window. Both act on the exact file of the selected
// row, in the directory the row was scanned from.
#include <QPushButton>

#include "platform/Files.h"
#include "windows/MosaicListModel.h"
#include "windows/ToolBarButton.h"
#include "windows/frmMain.h"

namespace tess::explorer {

namespace {

constexpr const char* kDeleteTitle = "Delete Mosaic";

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

}  // namespace

void frmMain::Command8_Click() {
    const int R = selectedRow();
    if (R < 0)
        return;
    const ListRow& item = rows_->at(R);
    if (!FileExists(item.path())) {
        setStatus("Cannot find " + quoted(item.row.fileName));
        return;
    }
    // What the browser makes of the page is its own business, as with any document opened.
    (void)services_.shell.openFile(item.path());
}

void frmMain::Command9_Click() {
    // Shift is read as it is held now, at the command itself.
    const Qt::KeyboardModifiers held =
        keyboardModifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    deleteSelected(held == Qt::ShiftModifier);
}

void frmMain::DeleteSelectedPermanently() {
    deleteSelected(true);
}

void frmMain::ListView1_KeyDown(int& KeyCode, int Shift) {
    if (KeyCode != 46)
        return;
    const int R = selectedRow();
    if (rows_->count() == 0 || R < 0)
        return;
    if (Shift == 1) {
        DeleteSelectedPermanently();
    } else {
        Command9_Click();
    }
    KeyCode = 0;
}

void frmMain::deleteSelected(bool permanently) {
    const int R = selectedRow();
    if (R < 0)
        return;
    const std::string path = rows_->at(R).path();
    const std::string name = quoted(rows_->at(R).row.fileName);
    if (!FileExists(path)) {
        setStatus("Cannot find " + name);
        return;
    }
    const std::string question =
        permanently
            ? "Are you sure you want to delete " + name +
                  " for good?\r\n\r\nIt does not go to the trash and cannot be brought back."
            : "Are you sure you want to move " + name + " to the trash?";
    if (services_.dialogs.msgBox(question, mb::YesNo | mb::Question | mb::DefaultButton2,
                                 kDeleteTitle) != mb::Yes)
        return;

    Status deleted = services_.shell.deleteFile(path, !permanently);
    if (!deleted && !permanently && FileExists(path)) {
        // Without a trash the file would be gone for good: that takes the user's own word.
        const std::string fallback = name + " cannot be moved to the trash:\r\n" +
                                     deleted.error().reason +
                                     "\r\n\r\nDo you want to delete it for good instead?";
        if (services_.dialogs.msgBox(fallback, mb::YesNo | mb::Exclamation | mb::DefaultButton2,
                                     kDeleteTitle) != mb::Yes)
            return;
        deleted = services_.shell.deleteFile(path, false);
    }
    if (!deleted && FileExists(path)) {
        services_.dialogs.msgBox(name + " cannot be deleted:\r\n" + deleted.error().reason,
                                 mb::OKOnly | mb::Exclamation, kDeleteTitle);
        return;
    }
    // The row goes only once its file is gone.
    if (FileExists(path))
        return;
    rows_->remove(R);
    if (rows_->count() == 0) {
        setEditButtons(false);
        return;
    }
    selectRow(R <= 1 ? 0 : R - 1);
}

}  // namespace tess::explorer
