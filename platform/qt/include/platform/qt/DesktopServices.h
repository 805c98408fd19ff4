#pragma once

#include <string>

#include "platform/DefaultRandom.h"
#include "platform/Services.h"
#include "platform/qt/IniSettingsStore.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/SystemClock.h"

namespace tess::qt {

// The services a program uses on the desktop: settings files under the user's configuration
// folder, Qt's dialogs, clipboard and event loop, the system clock and a random sequence seeded
// once per start. Made after the application object and kept while it runs.
class DesktopServices {
  public:
    DesktopServices();
    DesktopServices(const DesktopServices&) = delete;
    DesktopServices& operator=(const DesktopServices&) = delete;

    Services services();

  private:
    IniSettingsStore settings_;
    QtDialogs dialogs_;
    SystemClock clock_;
    DefaultRandom random_;
    QtEventPump pump_;
    QtShell shell_;
    QtClipboard clipboard_;
    Folders folders_;
};

}  // namespace tess::qt
