#include "platform/qt/DesktopServices.h"

#include <QDateTime>
#include <QStandardPaths>
#include <cstdint>
#include <random>

#include "platform/qt/ProgramFolder.h"

namespace tess::qt {

DesktopServices::DesktopServices()
    : settings_(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                "/Tessaryn"),
      // Seeded once per start; later reseeds only mix the clock in.
      random_(std::random_device{}() ^
              static_cast<std::uint64_t>(QDateTime::currentMSecsSinceEpoch())),
      folders_(desktopFolders()) {}

Services DesktopServices::services() {
    return Services{dialogs_, settings_, clock_, random_, pump_, shell_, clipboard_, folders_};
}

}  // namespace tess::qt
