#pragma once

#include <string>
#include <string_view>

namespace tess {

// Where a new working picture came from; decides the texts of the page title and the source line.
enum class PictureSource { File, Clipboard, Undo };

// What a picture change writes besides the picture: Text4, Text1 and ImageChanged.
struct PictureChange {
    std::string pageTitle;   // Text4
    std::string sourceLine;  // Text1
    // Set whenever the picture is no longer the bytes of a loaded file, so a project save stores
    // the picture itself rather than a file it no longer equals.
    bool imageChanged = false;
    bool operator==(const PictureChange&) const = default;
};

// `path` is the loaded file for PictureSource::File and is ignored otherwise.
PictureChange pictureChange(PictureSource source, std::string_view path = {});

// Label6 between runs: "0x0 of 140x92 (Idle)".
std::string idleStatusText(int width, int height);

// The caption of Command2 while no mosaic run is under way. Only then may the picture change.
inline constexpr std::string_view kIdleCaption = "Create Mosaic!";
inline bool isIdle(std::string_view command2Caption) {
    return command2Caption == kIdleCaption;
}

}  // namespace tess
