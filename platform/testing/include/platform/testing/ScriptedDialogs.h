#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace tess::testing {

// Dialogs that a test answers in advance. Each kind of dialog has its own queue of prepared
// answers, used in order; every call is recorded with what was asked and whether an answer was
// waiting for it. A call without a prepared answer does not block: a message box gives the answer
// of its first button (OK, Abort, Yes or Retry), the other dialogs give cancel, and the call is
// marked unanswered so the test can assert that nothing unexpected was asked.
class ScriptedDialogs : public Dialogs {
  public:
    struct MsgBoxCall {
        std::string prompt;
        int style = 0;
        std::string title;
        bool answered = false;
    };
    struct FileCall {
        FileDialogRequest request;
        bool answered = false;
    };
    struct ColourCall {
        Colour initial = 0;
        int flags = 0;
        bool answered = false;
    };
    struct FolderCall {
        std::string title;
        std::string startDir;
        bool answered = false;
    };

    // Preparing answers.
    void answerMsgBox(int answer) { msgBoxAnswers_.push_back(answer); }
    void answerOpen(std::string fileName, int filterIndex = 1);
    void cancelOpen() { openAnswers_.push_back(std::nullopt); }
    void answerSave(std::string fileName, int filterIndex = 1);
    void cancelSave() { saveAnswers_.push_back(std::nullopt); }
    void answerColour(Colour colour) { colourAnswers_.push_back(colour); }
    void cancelColour() { colourAnswers_.push_back(std::nullopt); }
    void answerFolder(std::string path) { folderAnswers_.push_back(std::move(path)); }
    void cancelFolder() { folderAnswers_.push_back(std::nullopt); }

    // What was asked, in call order per kind.
    const std::vector<MsgBoxCall>& msgBoxes() const { return msgBoxes_; }
    const std::vector<FileCall>& opens() const { return opens_; }
    const std::vector<FileCall>& saves() const { return saves_; }
    const std::vector<ColourCall>& colours() const { return colours_; }
    const std::vector<FolderCall>& folders() const { return folders_; }

    // Calls of any kind that found no prepared answer.
    int unansweredCount() const;
    // Prepared answers of any kind not used yet.
    int pendingCount() const;
    // Forgets the record (the prepared answers stay).
    void clearRecord();

    // Dialogs
    int msgBox(const std::string& prompt, int style, const std::string& title) override;
    std::optional<FileDialogAnswer> openFile(const FileDialogRequest& request) override;
    std::optional<FileDialogAnswer> saveFile(const FileDialogRequest& request) override;
    std::optional<Colour> chooseColour(Colour initial, int flags) override;
    std::optional<std::string> chooseFolder(const std::string& title,
                                            const std::string& startDir) override;

    // The answer of the first button of a message box style.
    static int firstButtonAnswer(int style);

  private:
    std::deque<int> msgBoxAnswers_;
    std::deque<std::optional<FileDialogAnswer>> openAnswers_;
    std::deque<std::optional<FileDialogAnswer>> saveAnswers_;
    std::deque<std::optional<Colour>> colourAnswers_;
    std::deque<std::optional<std::string>> folderAnswers_;

    std::vector<MsgBoxCall> msgBoxes_;
    std::vector<FileCall> opens_;
    std::vector<FileCall> saves_;
    std::vector<ColourCall> colours_;
    std::vector<FolderCall> folders_;
};

}  // namespace tess::testing
