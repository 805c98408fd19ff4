#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "explorer/MosaicRow.h"
#include "platform/Result.h"

// Saving a row's edits into its page by plain text replacement. A font size switch between the
// two forms the converter writes disables the other form's markup by renaming it (" pre { " to
// " nopre { ", `<font size="` to `<nofont size="`) and enables it again on the way back. Every
// replacement compares case-sensitively and replaces all occurrences; a size or colour change
// never touches the text of the title.
namespace tess::explorer {

// The fields a save can write.
enum class Field { Title, BGColor, FontSize };

// The name of a field as the list's column captions say it ("Mosaic Title", "Background Color",
// "Font Size").
std::string_view fieldCaption(Field field);

// What became of one edited field.
struct FieldOutcome {
    Field field = Field::Title;
    bool taken = false;  // false: the page keeps its old value for this field
    std::string why;     // for a field not taken: the reason, for the status text
};

// A page text after the edits, and what became of each edited field (fields the row did not
// change are not listed and not touched).
struct PageRewrite {
    std::string page;
    std::vector<FieldOutcome> fields;
    // Whether every edited field went into the page.
    bool allTaken() const;
    // The fields not taken, with their reasons.
    std::vector<FieldOutcome> refused() const;
};

// Why a title cannot go into a page: it would end the title element early or break the line the
// readers find it on ("</title>" in any letter case, a line break, a NUL). Nothing when it can.
// The title dialog refuses such a value; the rewrite refuses it too.
std::optional<std::string> titleFault(std::string_view title);

// The page text `page` (Windows-1252 bytes) with the row's edited fields rewritten: the title,
// the background colour, and the font size to either form. An edit that the page's markup cannot
// take exactly (tags in capitals, a colour tag of another form, a second size rule that would
// conflict) leaves that field's markup as it was and is reported as not taken.
PageRewrite rewritePage(std::string_view page, const MosaicRow& row);
// rewritePage without its shortcut, which runs the replacements on the page's head only and keeps
// the rest (the picture's cells, where none of them can match) as it stands. The same result,
// slower on large pages; the fuzz target and the tests compare the two.
PageRewrite rewriteWholePage(std::string_view page, const MosaicRow& row);

// What a save of one row did.
struct SaveReport {
    std::vector<FieldOutcome> fields;  // as in PageRewrite
    bool written = false;              // the file was replaced (false: nothing had changed)
    // Why the file was left alone, when it is no longer the page the row was read from (gone,
    // replaced, a link now, changed by another program, no mosaic page): then nothing was written,
    // `fields` is empty and the row is left as it was. Empty otherwise.
    std::string left;
    bool allTaken() const;
};

// Rewrites the page at `path` with the row's edits and replaces the file atomically (a new file
// beside it takes its place; owner and mode kept), so a failed write leaves the old page whole.
// Only the head of the page (up to the line after its last markup) is held in memory; the rest is
// copied piece by piece as it stands, so the result is rewritePage's, byte for byte.
//
// The page is written only while `path` leads to the file the row's stamp names, unchanged since
// (the same one, through a link only if it was one), a regular file that still is a mosaic page;
// the checks are made on the open file, and once more on the name just before the new file takes
// its place. Otherwise SaveReport::left says why. After a write the row's stamp is the new file's,
// and the creation time the page had is kept on it (PageFile::keepCreated) where the file system
// allows. The fields taken are recorded in the row as the page's values, and the row is marked
// saved ("load", icon 1) when every edited field was taken; else it stays "update". A file that
// cannot be read or written is an Error with the path and the reason, and the row is left as it
// was.
Result<SaveReport> saveRow(const std::string& path, MosaicRow& row);

// Replaces every `sWhat` in the file `sFileName` by `sWith` and writes it back atomically, with no
// line end added.
Status UpdateMosaic(std::string_view sWhat, std::string_view sWith, const std::string& sFileName);

}  // namespace tess::explorer
