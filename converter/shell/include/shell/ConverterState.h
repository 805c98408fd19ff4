#pragma once

#include <cstdint>
#include <string>

namespace tess {

// The few variables the converter's windows share for the whole run. One instance lives beside
// the windows and is handed to each of them.
struct ConverterState {
    // The custom CSS font size ("CSS - Custom..."): written by the CSS size dialog and the project
    // reader, read by the mosaic run and the project writer.
    std::int16_t CSSSize = 60;
    std::string CSSUnit = "%";
    // Whether the working picture may differ from the file its source line names: set after an
    // effect, tool, resize, paste or undo; cleared only when a picture file loads (a file that
    // fails to load leaves it as it was). A project save stores that file's own bytes while it is
    // clear, so a pasted or undone picture keeps it set: the file is not the picture shown.
    bool ImageChanged = false;
    // Set when the main window is first activated; until then dialogs stay opaque.
    bool MainActive = false;
    // Keeps the font-size list from opening the CSS size dialog while a project selects the
    // custom entry.
    bool NoCSSDialog = false;
    // Make the progress window disable the main window (and, with the second, the effects dialog).
    bool ProgressLock = false;
    bool ProgressLockFX = false;
};

}  // namespace tess
