#pragma once

#include <string>

#include "platform/Colour.h"
#include "platform/Dialogs.h"

namespace tess {

// The common dialog control of a window: it keeps the colour and file name of its last use, which
// the next use starts from, and shows its dialogs through Dialogs. The main window's
// `CommonDialog1` holds the mosaic's background colour in `Color`.
class CommonDialog {
  public:
    Colour Color = 0;
    int Flags = 0;
    bool CancelError = false;
    std::string FileName;
    std::string Filter;
    int FilterIndex = 1;
    std::string InitDir;
    std::string DialogTitle;

    // Each returns false when the user cancelled; the properties then keep their values.
    bool ShowColor(Dialogs& dialogs);
    bool ShowOpen(Dialogs& dialogs);
    bool ShowSave(Dialogs& dialogs);

  private:
    FileDialogRequest request() const;
};

}  // namespace tess
