#pragma once

#include "platform/testing/TempFolder.h"

namespace tess {

// A fresh folder under the system's temporary folder, removed with everything in it at the end:
// the program folder of a test, never the real one.
class TempFolder : public testing::TempFolder {
  public:
    TempFolder() : testing::TempFolder("tess-ws") {}
};

}  // namespace tess
