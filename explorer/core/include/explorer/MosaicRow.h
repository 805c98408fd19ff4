#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "explorer/PageStamp.h"
#include "platform/Clock.h"

namespace tess::explorer {

// One line of the explorer's mosaic list: what the scan read from one page, what the editors
// changed since, and whether the row waits for a save. Texts are UTF-8, as the list shows them.
struct MosaicRow {
    // The list's column captions, left to right: title, file name, size, font size, colour, date.
    static constexpr std::array<std::string_view, 6> kColumnCaptions = {
        "Mosaic Title", "File Name", "File Size", "Font Size", "Background Color", "Created On"};
    // The two states of a row's tag.
    static constexpr std::string_view kLoad = "load";      // the page holds what the row shows
    static constexpr std::string_view kUpdate = "update";  // an edit waits for a save

    std::string title;      // column "Mosaic Title": the decoded title, or "Unknown"
    std::string fileName;   // "File Name": the name inside the listed folder
    std::string sizeText;   // "File Size": "0000012.34" during the scan, "12.34K" after it
    std::string fontSize;   // "Font Size": "-1", "-2", "CSS - 60%" or "Unknown"
    std::string bgColor;    // "Background Color": "#RRGGBB" or "Unknown"
    std::string createdOn;  // "Created On": "mm-dd-yy hh:mm AM/PM"
    std::string tag = std::string(kLoad);
    int icon = 1;  // 1 unchanged, 2 changed; the visible mark of the tag

    // What the page held for the three editable fields when it was last read or saved. A save
    // writes only the fields that differ from these, so a value the scan could not read
    // ("Unknown") is never written into the page.
    std::string pageTitle;
    std::string pageFontSize;
    std::string pageBGColor;

    // The file the scan read (and each save since wrote): a save rewrites only that file. None for
    // a row made from a page's text alone.
    std::optional<PageStamp> stamp;
    // The creation time "Created On" shows, in local time.
    std::optional<DateTime> created;

    // The column texts in kColumnCaptions order.
    std::array<std::string, 6> columns() const {
        return {title, fileName, sizeText, fontSize, bgColor, createdOn};
    }
    bool changed() const { return tag == kUpdate; }
    // What every editor does after changing a field: tag "update", icon 2.
    void markChanged() {
        tag = kUpdate;
        icon = 2;
    }
    // Tag "load", icon 1: the page holds every field as the row shows it.
    void markSaved() {
        tag = kLoad;
        icon = 1;
    }
    bool titleEdited() const { return title != pageTitle; }
    bool fontSizeEdited() const { return fontSize != pageFontSize; }
    bool bgColorEdited() const { return bgColor != pageBGColor; }
};

}  // namespace tess::explorer
