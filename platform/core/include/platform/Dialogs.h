#pragma once

#include <optional>
#include <string>

#include "platform/Colour.h"

namespace tess {

// Message box styles and answers, with the platform's numbers so a stored style value reads as is.
namespace mb {
inline constexpr int OKOnly = 0;
inline constexpr int OKCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int RetryCancel = 5;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int DefaultButton2 = 256;
inline constexpr int DefaultButton3 = 512;

inline constexpr int OK = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace mb

// An open or save dialog as the windows ask for it. `filter` uses the "Text|*.a;*.b|Other|*.c"
// form.
struct FileDialogRequest {
    std::string title;
    std::string filter;
    int filterIndex = 1;
    std::string fileName;  // proposed name or path
    std::string initialDir;
    int flags = 0;  // the original dialog flag value, kept for the record
};

struct FileDialogAnswer {
    std::string fileName;  // full path chosen
    int filterIndex = 1;
};

// Every message box and common dialog goes through this, so tests answer them in advance and read
// what was asked. A cancelled dialog is an empty optional: the caller ends quietly.
// Texts are UTF-8.
class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual int msgBox(const std::string& prompt, int style, const std::string& title) = 0;
    virtual std::optional<FileDialogAnswer> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<FileDialogAnswer> saveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<Colour> chooseColour(Colour initial, int flags) = 0;
    virtual std::optional<std::string> chooseFolder(const std::string& title,
                                                    const std::string& startDir) = 0;
};

}  // namespace tess
