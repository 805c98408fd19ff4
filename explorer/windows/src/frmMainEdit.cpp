// The editors and the saves of the explorer's main window: title, background colour and font
// size change only the selected row and mark it; the saves write marked rows into their pages.
#include <QPushButton>

#include "explorer/PageRewriter.h"
#include "platform/Runtime.h"
#include "windows/MosaicListModel.h"
#include "windows/ToolBarButton.h"
#include "windows/frmFont.h"
#include "windows/frmMain.h"
#include "windows/frmTitle.h"

namespace tess::explorer {

// ---- Editors ----

void frmMain::Command4_Click() {
    const int R = selectedRow();
    if (rows_->count() == 0 || R < 0)
        return;
    frmTitle dialog(this, rows_->at(R).row.fileName, rows_->at(R).row.title);
    runModal(dialog);
    if (!dialog.newTitle())
        return;
    ListRow item = rows_->at(R);
    item.row.title = *dialog.newTitle();
    item.row.markChanged();
    rows_->update(R, std::move(item));
    Command6->setEnabled(true);
    Command7->setEnabled(true);
}

void frmMain::Command3_Click() {
    const int R = selectedRow();
    // Without a selected row there is nothing the colour could go into.
    if (rows_->count() == 0 || R < 0)
        return;
    // A colour text that is no colour leaves the dialog at the colour it last showed.
    if (std::optional<Colour> shown = colourOfText(rows_->at(R).row.bgColor))
        CommonDialog1Color = *shown;
    const std::optional<Colour> chosen = services_.dialogs.chooseColour(CommonDialog1Color, 1);
    if (!chosen)
        return;
    CommonDialog1Color = *chosen;
    const std::string T =
        "#" + rt::hex2(redOf(*chosen)) + rt::hex2(greenOf(*chosen)) + rt::hex2(blueOf(*chosen));
    if (T == rows_->at(R).row.bgColor)
        return;
    ListRow item = rows_->at(R);
    item.row.bgColor = T;
    item.row.markChanged();
    rows_->update(R, std::move(item));
    Command6->setEnabled(true);
    Command7->setEnabled(true);
}

void frmMain::Command5_Click() {
    const int R = selectedRow();
    if (rows_->count() == 0 || R < 0)
        return;
    frmFont dialog(this, state_, rows_->at(R).row.fileName, rows_->at(R).row.fontSize);
    runModal(dialog);
    if (!dialog.okPressed())
        return;
    if (dialog.rowText()) {
        ListRow item = rows_->at(R);
        item.row.fontSize = *dialog.rowText();
        item.row.markChanged();
        rows_->update(R, std::move(item));
    }
    Command6->setEnabled(true);
    Command7->setEnabled(true);
}

// ---- Saves ----

bool frmMain::saveOneRow(int row, std::vector<SaveProblem>& problems) {
    ListRow item = rows_->at(row);
    const std::string name = item.row.fileName;
    Result<SaveReport> report = saveRow(item.path(), item.row);
    if (!report) {
        problems.push_back({name, report.error().reason, {}});
        return false;
    }
    if (!report->left.empty()) {
        problems.push_back({name, "\"" + name + "\" was not saved: " + report->left, report->left});
        return false;
    }
    rows_->update(row, item);
    if (report->allTaken())
        return true;
    for (const FieldOutcome& refused : report->fields) {
        if (!refused.taken) {
            problems.push_back({name,
                                "\"" + name + "\" kept its " +
                                    std::string(fieldCaption(refused.field)) + ": " + refused.why,
                                {}});
        }
    }
    return false;
}

void frmMain::showSaveEnd(int saved, const std::vector<SaveProblem>& problems) {
    const std::string finished = "Finished Saving... (Saved " + std::to_string(saved) + " Files)";
    if (problems.empty()) {
        setStatus(saved > 0 ? finished : std::string("No Files To Save!"));
        return;
    }
    // The files that kept an edit, each with the reason when the whole file was left alone.
    std::string files;
    for (std::size_t i = 0; i < problems.size(); ++i) {
        if (i > 0 && problems[i].fileName == problems[i - 1].fileName)
            continue;
        files += (files.empty() ? "" : ", ") + problems[i].fileName;
        if (!problems[i].why.empty())
            files += " (" + problems[i].why + ")";
    }
    setStatus(
        (saved > 0 ? finished + "; " : std::string()) + std::to_string(problems.size()) +
        (problems.size() == 1 ? " Change Could Not Be Saved: " : " Changes Could Not Be Saved: ") +
        files);
    std::string prompt = "These changes could not be saved:\r\n";
    for (const SaveProblem& p : problems)
        prompt += "\r\n" + p.text;
    prompt += "\r\n\r\nTheir mosaics stay marked as changed.";
    services_.dialogs.msgBox(prompt, mb::OKOnly | mb::Exclamation, "Error Saving Mosaic");
}

void frmMain::Command6_Click() {
    if (rows_->count() == 0)
        return;
    int saved = 0;
    std::vector<SaveProblem> problems;
    for (int r = 0; r < rows_->count(); ++r) {
        if (!rows_->at(r).row.changed())
            continue;
        setStatus("Saving File \"" + rows_->at(r).row.fileName + "\"...");
        // A page that went away or was replaced meanwhile keeps its row marked, and is named.
        if (saveOneRow(r, problems))
            ++saved;
    }
    showSaveEnd(saved, problems);
    Command6->setEnabled(false);
    Command7->setEnabled(false);
}

void frmMain::Command7_Click() {
    if (rows_->count() == 0)
        return;
    const int R = selectedRow();
    int saved = 0;
    std::vector<SaveProblem> problems;
    if (R >= 0 && rows_->at(R).row.changed()) {
        setStatus("Saving File \"" + rows_->at(R).row.fileName + "\"...");
        if (saveOneRow(R, problems))
            ++saved;
    }
    showSaveEnd(saved, problems);
    Command7->setEnabled(false);
    CheckUpdate();
}

}  // namespace tess::explorer
