#include "platform/testing/ScriptedDialogs.h"

#include <algorithm>

namespace tess::testing {

namespace {

// Takes the next prepared answer, if any; `answered` tells whether one was waiting.
template <class T>
std::optional<T> take(std::deque<std::optional<T>>& queue, bool& answered) {
    answered = !queue.empty();
    if (!answered)
        return std::nullopt;
    std::optional<T> answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

template <class Call>
int countUnanswered(const std::vector<Call>& calls) {
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [](const Call& c) { return !c.answered; }));
}

}  // namespace

void ScriptedDialogs::answerOpen(std::string fileName, int filterIndex) {
    openAnswers_.push_back(FileDialogAnswer{std::move(fileName), filterIndex});
}

void ScriptedDialogs::answerSave(std::string fileName, int filterIndex) {
    saveAnswers_.push_back(FileDialogAnswer{std::move(fileName), filterIndex});
}

int ScriptedDialogs::unansweredCount() const {
    return countUnanswered(msgBoxes_) + countUnanswered(opens_) + countUnanswered(saves_) +
           countUnanswered(colours_) + countUnanswered(folders_);
}

int ScriptedDialogs::pendingCount() const {
    return static_cast<int>(msgBoxAnswers_.size() + openAnswers_.size() + saveAnswers_.size() +
                            colourAnswers_.size() + folderAnswers_.size());
}

void ScriptedDialogs::clearRecord() {
    msgBoxes_.clear();
    opens_.clear();
    saves_.clear();
    colours_.clear();
    folders_.clear();
}

int ScriptedDialogs::firstButtonAnswer(int style) {
    switch (style & 7) {
        case mb::AbortRetryIgnore:
            return mb::Abort;
        case mb::YesNoCancel:
        case mb::YesNo:
            return mb::Yes;
        case mb::RetryCancel:
            return mb::Retry;
        default:
            return mb::OK;
    }
}

int ScriptedDialogs::msgBox(const std::string& prompt, int style, const std::string& title) {
    MsgBoxCall call{prompt, style, title, !msgBoxAnswers_.empty()};
    int answer = firstButtonAnswer(style);
    if (call.answered) {
        answer = msgBoxAnswers_.front();
        msgBoxAnswers_.pop_front();
    }
    msgBoxes_.push_back(std::move(call));
    return answer;
}

std::optional<FileDialogAnswer> ScriptedDialogs::openFile(const FileDialogRequest& request) {
    FileCall call{request, false};
    auto answer = take(openAnswers_, call.answered);
    opens_.push_back(std::move(call));
    return answer;
}

std::optional<FileDialogAnswer> ScriptedDialogs::saveFile(const FileDialogRequest& request) {
    FileCall call{request, false};
    auto answer = take(saveAnswers_, call.answered);
    saves_.push_back(std::move(call));
    return answer;
}

std::optional<Colour> ScriptedDialogs::chooseColour(Colour initial, int flags) {
    ColourCall call{initial, flags, false};
    auto answer = take(colourAnswers_, call.answered);
    colours_.push_back(call);
    return answer;
}

std::optional<std::string> ScriptedDialogs::chooseFolder(const std::string& title,
                                                         const std::string& startDir) {
    FolderCall call{title, startDir, false};
    auto answer = take(folderAnswers_, call.answered);
    folders_.push_back(std::move(call));
    return answer;
}

}  // namespace tess::testing
