#pragma once

#include <functional>

class QWidget;

namespace tess {

class EventPump;

// What the progress window reaches outside itself. The flags are the program-wide ProgressLock and
// ProgressLockFX, read when the window loads and when it unloads.
struct ProgressWindowLinks {
    const bool* ProgressLock = nullptr;
    const bool* ProgressLockFX = nullptr;
    // The main window.
    std::function<QWidget*()> mainWindow;
    // The effects dialog; reaching it creates it when it does not exist. Empty, or returning null,
    // while the program has none.
    std::function<QWidget*()> effectsDialog;
    // Gives the window the transparency chosen for the converter's windows.
    std::function<void(QWidget&)> applyTransparency;
    // The turn the window gives the event loop after it is shown and after every step.
    EventPump* pump = nullptr;
};

}  // namespace tess
