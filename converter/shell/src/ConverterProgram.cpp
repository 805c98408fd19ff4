#include "shell/ConverterProgram.h"

#include "shell/frmMain.h"
#include "shell/frmSplash.h"

namespace tess {

ConverterProgram::ConverterProgram(Services& services, std::vector<std::string> arguments)
    : services_(services), arguments_(std::move(arguments)) {}

ConverterProgram::~ConverterProgram() {
    delete splash_.data();
}

void ConverterProgram::start() {
    splash_ = new frmSplash(services_, state, [this] { showMain(); });
    splash_->Form_Load();
}

frmSplash* ConverterProgram::splash() const {
    return splash_.data();
}

void ConverterProgram::showMain() {
    if (!main_) {
        main_ = std::make_unique<frmMain>(services_, state, arguments_);
        if (endProgram)
            main_->endProgram = endProgram;
        main_->otherInstanceRunning = otherInstanceRunning;
        main_->Form_Load();
    }
    main_->show();
}

}  // namespace tess
