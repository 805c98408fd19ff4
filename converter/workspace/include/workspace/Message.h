#pragma once

#include <string>

#include "platform/Dialogs.h"

namespace tess {

// A message box as the workspace asks for it; the window shows it through its Dialogs.
struct Message {
    std::string text;
    int style = mb::OKOnly;
    std::string title;
    bool operator==(const Message&) const = default;
};

inline int showMessage(Dialogs& dialogs, const Message& message) {
    return dialogs.msgBox(message.text, message.style, message.title);
}

}  // namespace tess
