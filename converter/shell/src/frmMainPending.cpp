#include "shell/frmMain.h"

#include <QAction>
#include <QPushButton>

// Handlers whose subsystems are not part of this version yet: each says so or does nothing. A
// subsystem that arrives takes its handlers from here into its own file.

namespace tess {

void frmMain::mnuGFXLib_Click() {
    mnuGFXLib->setEnabled(false);
    Command11->setEnabled(false);
    services_.dialogs.msgBox("The graphics library is not available in this version yet.",
                             mb::OKOnly | mb::Information, "tessaryn q4");
    mnuGFXLib->setEnabled(true);
    Command11->setEnabled(true);
}

}  // namespace tess
