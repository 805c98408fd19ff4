#pragma once

#include <string>

#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/Folders.h"
#include "platform/Random.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"

namespace tess {

// What a window needs of the outside world, handed in at construction so tests can replace every
// piece. The objects are owned elsewhere and outlive the windows.
struct Services {
    Dialogs& dialogs;
    SettingsStore& settings;
    Clock& clock;
    Random& random;
    EventPump& pump;
    Shell& shell;
    Clipboard& clipboard;
    Folders folders;  // where each kind of file lives
};

}  // namespace tess
