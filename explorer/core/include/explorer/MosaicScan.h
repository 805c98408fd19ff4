#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "explorer/MosaicRow.h"
#include "platform/Clock.h"
#include "platform/Result.h"

// The per-file steps of the directory scan. The scan loop itself (the status texts, yielding and
// cancel) belongs to the window: it takes the names from listPages and hands each to scanPage.
namespace tess::explorer {

// The file list's pattern: every file whose extension begins with "htm", in any letter case.
inline constexpr std::string_view kPagePattern = "*.htm*";

// The file list `File1` of a scan: the names of the folder's regular, visible files that match
// kPagePattern, sorted by name without regard to letter case (platform/FolderListing.h).
Result<std::vector<std::string>> listPages(const std::string& folder);

// The size column during the scan: the length in kilobytes with the pattern "0000000.00"
// (12,636 bytes give "0000012.34").
std::string paddedSizeText(std::uint64_t length);
// The number text without its leading zeros, "0" put back in front of a leading point:
// "0000012.34" gives "12.34", "0000000.49" gives "0.49".
std::string RemZeros(std::string_view sTheText);
// The size column after the scan: RemZeros of the padded text with the pattern "0.00" and "K"
// ("12.34K", "0.49K", "0.00K").
std::string displaySizeText(std::string_view padded);

// The file's creation time in local time: the one a save kept (PageFile::created), else the file
// system's, else its last-modification time. Nothing when the file cannot be opened.
std::optional<DateTime> GetFileDate(const std::string& sFileName);

// The row of a page from its first kHeadBytes bytes (`head`) and its whole length, or nothing when
// the generator test rejects it. Font size and colour are read with the title's text masked
// (MaskTitle), so markup written inside a title is not taken for the page's. createdOn is left
// empty; tag "load", icon 1, the page fields set.
std::optional<MosaicRow> rowFromHead(std::string_view head, std::uint64_t length,
                                     std::string fileName);
// One file of the scan: reads the head of folder/fileName and gives its row, with the size text in
// its padded form, the date as "mm-dd-yy hh:mm AM/PM" and the stamp of the file it read. A file
// that is no mosaic page, or that cannot be opened or read (locked, vanished, a folder or pipe),
// gives nothing and is skipped.
std::optional<MosaicRow> scanPage(const std::string& folder, const std::string& fileName);

}  // namespace tess::explorer
