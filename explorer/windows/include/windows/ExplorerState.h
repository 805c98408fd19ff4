#pragma once

#include <cstdint>
#include <string>

namespace tess::explorer {

// The explorer's program-wide custom CSS font size, which the font-size dialog edits.
struct ExplorerState {
    std::int16_t CSSSize = 60;
    std::string CSSUnit = "%";
};

}  // namespace tess::explorer
