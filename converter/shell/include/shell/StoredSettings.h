#pragma once

#include <optional>
#include <string_view>

#include "platform/Colour.h"

namespace tess::settings {

// Where the converter keeps its preferences.
inline constexpr std::string_view kApp = "Tessaryn32";
inline constexpr std::string_view kSection = "Settings";
// Shared with the graphics-library builder, a separate tool.
inline constexpr std::string_view kBuilderApp = "Tessaryn32\\TGLBuilder";
inline constexpr std::string_view kBuilderSection = "Info";

// A stored list choice: exactly one of the texts "0" to count - 1 selects that entry; anything
// else, a blank or sign included, gives `fallback`.
int listIndex(std::string_view text, int count, int fallback);

// "BGColor": the leading number of the text. A number that is no 24-bit colour (negative, above
// white, or beyond 32 bits) gives black, so the swatch and the page always agree.
Colour backgroundColour(std::string_view text);

// "TransMode": the entry of the transparency menu to apply, or nothing. A number within the menu
// applies its entry (rounded half to even); a number outside it applies nothing; a text that is no
// number applies the first entry (opaque).
std::optional<int> transparencyIndex(std::string_view text, int count);

}  // namespace tess::settings
