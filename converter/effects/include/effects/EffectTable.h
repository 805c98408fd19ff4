#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "effects/Effect.h"

namespace tess::fx {

// One of the 38 named effects. Its index in effectTable() is its place in the effects dialog's
// list; the dialog dispatches by that index and the repeat of the last effect by the display name.
struct EffectEntry {
    // The text of the dialog's list entry. Three differ from the display name ("Pool Tile",
    // "SterioGraph", "Infrared"); they are shown as they stand.
    std::string_view listText;
    // The name after "   Last Effect: " in the last-effect caption, compared case-sensitively.
    // "Black && White" keeps the doubled "&" a menu shows as one.
    std::string_view displayName;
    // The main window's item in its hidden effects submenu; its click handler is menuName +
    // "_Click".
    std::string_view menuName;
    // The item's caption: "&" marks the access key and "&&" shows as one "&".
    std::string_view menuCaption;
    EffectStyle style;
    // The whole working picture (the main window's handler); nullptr while not built.
    EffectFunction apply;
    // The dialog's preview on the thumbnail; nullptr while not built.
    EffectFunction preview;
    // Outline shows the hourglass over the whole screen rather than over the main window.
    bool screenHourglass = false;
};

inline constexpr int kEffectCount = 38;

const std::array<EffectEntry, kEffectCount>& effectTable();

// The index of the effect with this display name, compared exactly; nullopt for any other text.
std::optional<int> effectIndexByDisplayName(std::string_view displayName);

}  // namespace tess::fx
