#include "engine/MosaicOptions.h"

#include "engine/PageFormat.h"

namespace tess {

std::string_view MosaicOptions::modeText() const {
    if (Mode < 0 || Mode >= static_cast<int>(kModeTexts.size())) {
        return {};
    }
    return kModeTexts[static_cast<std::size_t>(Mode)];
}

std::string_view MosaicOptions::spacerText() const {
    // The last entry, "None", stands for no spacer at all.
    if (Spacer < 0 || Spacer >= static_cast<int>(kSpacerTexts.size()) - 1) {
        return {};
    }
    return kSpacerTexts[static_cast<std::size_t>(Spacer)];
}

std::string MosaicOptions::sizeText() const {
    if (!isCssPage()) {
        return FontSize == 1 ? "-2" : "-1";
    }
    static constexpr std::array<std::string_view, 6> kFixed = {"60%", "50%", "40%",
                                                               "30%", "20%", "10%"};
    if (FontSize <= 7) {
        return std::string(kFixed[static_cast<std::size_t>(FontSize - 2)]);
    }
    return std::to_string(CSSSize) + CSSUnit;
}

std::string_view MosaicOptions::priorityText() const {
    return Priority == RunPriority::Normal ? "Normal" : "High";
}

std::string MosaicOptions::bgColourText() const {
    return page::colourText(BGColor);
}

}  // namespace tess
