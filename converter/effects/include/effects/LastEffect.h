#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tess::fx {

// The last-effect item's caption is the only record of the last effect: three blanks,
// "Last Effect:", one blank (16 characters), then the effect's display name.
inline constexpr std::string_view kLastEffectPrefix = "   Last Effect: ";
inline constexpr std::size_t kLastEffectPrefixLength = 16;

// The caption an effect writes: the prefix and its display name.
std::string lastEffectCaption(std::string_view displayName);

// The name part of a caption: all but its first 16 characters (UTF-8 characters, not bytes). The
// prefix itself is not compared, so 16 arbitrary characters and "Mosaic" name Mosaic. A caption
// shorter than 16 characters names nothing.
std::optional<std::string> lastEffectName(std::string_view caption);

// The effect a caption repeats: its index in the effect table, by the exact display name.
std::optional<int> effectToRepeat(std::string_view caption);

}  // namespace tess::fx
