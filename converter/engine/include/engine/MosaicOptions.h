#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Colour.h"

namespace tess {

enum class RunPriority { Normal, High };

// The choices that decide what a mosaic run writes. The main window reads them from its controls
// into this struct just before a run; nothing here is stored. Texts are UTF-8.
struct MosaicOptions {
    // The list texts in list order, as the option controls show them.
    static constexpr std::array<std::string_view, 7> kModeTexts = {
        "Custom Text", "Random Letters", "Random Numbers", "Binary", "Machine Code",
        "Hex",         "Smart Text"};
    static constexpr std::array<std::string_view, 6> kSpacerTexts = {"+", "^", "-",
                                                                     "~", "_", "None"};
    static constexpr std::array<std::string_view, 9> kFontSizeTexts = {
        "-1",        "-2",        "CSS - 60%", "CSS - 50%",      "CSS - 40%",
        "CSS - 30%", "CSS - 20%", "CSS - 10%", "CSS - Custom..."};

    std::int16_t Mode = 0;      // 0..6, index into kModeTexts
    std::string CustomText;     // source of the "Custom Text" cells
    std::int16_t Spacer = 0;    // 0..5, index into kSpacerTexts
    std::int16_t FontSize = 0;  // 0..8: 0 and 1 make a font page, 2 to 8 a CSS page
    std::int16_t CSSSize = 60;  // the custom CSS size (FontSize 8)
    std::string CSSUnit = "%";  // "%", "px" or "pt"
    std::string Title;          // written into the head as it stands, unescaped
    Colour BGColor = 0;         // 0x00BBGGRR
    std::string OutputPath;
    int ToClipboard = 0;    // check box value; only 1 (checked) counts, 2 (greyed) does not
    int OpenInBrowser = 0;  // check box value
    RunPriority Priority = RunPriority::Normal;

    bool toClipboard() const { return ToClipboard == 1; }
    bool openInBrowser() const { return OpenInBrowser == 1; }
    bool isCssPage() const { return FontSize > 1; }

    // "Smart Text", ...; an index outside the list gives the empty text.
    std::string_view modeText() const;
    // The spacer string: "None" (and an index outside the list) gives the empty string.
    std::string_view spacerText() const;
    // "-1"/"-2" on a font page; "60%" .. "10%" or CSSSize followed by CSSUnit ("12px") on a CSS
    // page.
    std::string sizeText() const;
    // "Normal" or "High", as the speed log records it.
    std::string_view priorityText() const;
    // "#RRGGBB" of BGColor.
    std::string bgColourText() const;
};

}  // namespace tess
