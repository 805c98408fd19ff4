#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Services.h"
#include "shell/ConverterState.h"

namespace tess {

class frmMain;
class frmSplash;

// The converter's run: the shared state, the splash it starts with and the one main window the
// splash hands over to. The executable creates the services, one of these, and calls start().
class ConverterProgram {
  public:
    // `arguments` are the command-line arguments without the program itself.
    ConverterProgram(Services& services, std::vector<std::string> arguments);
    ~ConverterProgram();

    // Creates the splash and runs its load.
    void start();

    // The splash until it hands over; afterwards null (it deletes itself).
    frmSplash* splash() const;
    // The main window once the splash has handed over, else null.
    frmMain* mainWindow() const { return main_.get(); }

    ConverterState state;
    // Whether another converter was already running at start (the update query reports it).
    bool otherInstanceRunning = false;
    // Given to the main window: what ends the program after its shut-down.
    std::function<void()> endProgram;

  private:
    void showMain();

    Services& services_;
    std::vector<std::string> arguments_;
    QPointer<frmSplash> splash_;
    std::unique_ptr<frmMain> main_;
};

}  // namespace tess
