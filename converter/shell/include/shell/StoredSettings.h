#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Colour.h"
#include "platform/SettingsStore.h"

namespace tess::settings {

// Where the converter keeps its preferences.
inline constexpr std::string_view kApp = "Tessaryn32";
inline constexpr std::string_view kSection = "Settings";
// Shared with the graphics-library builder, a separate tool.
inline constexpr std::string_view kBuilderApp = "Tessaryn32\\TGLBuilder";
inline constexpr std::string_view kBuilderSection = "Info";

// The converter's own preference `key`, or `fallback` when it was never stored.
std::string read(const SettingsStore& store, std::string_view key, std::string_view fallback);
void write(SettingsStore& store, std::string_view key, std::string_view value);

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

// The last effect item's caption before any effect ran (three leading blanks).
inline constexpr std::string_view kLastEffectDesignCaption = "   Last Effect: #";

// "LastFX": the caption the last effect item shows at start-up, or nothing when the item stays
// hidden (never stored, blank, or still the design caption).
std::optional<std::string> lastEffectCaption(const SettingsStore& store);
// Keeps the last effect item's caption for the next start; a hidden item, or one that still
// shows the design caption, stores a blank.
void storeLastEffect(SettingsStore& store, std::string_view caption, bool shown);

// The graphics-library builder, a separate tool: its folder is stored with its trailing separator
// and the program name follows directly. Where the tool is there, the converter's own folder is
// stored for it as "TesAppPath" and the tool's path is returned; otherwise nothing is stored.
std::optional<std::string> registerBuilderTool(SettingsStore& store,
                                               const std::string& programFolder);

}  // namespace tess::settings
