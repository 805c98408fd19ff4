#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The explorer's readers of a mosaic page. They never parse HTML: they find the converter's own
// markup by plain text search. A page text is the file's bytes (Windows-1252, one character a
// byte); every result is cut from the page and is Windows-1252 too (cp1252::toUtf8 for display).
// Tag patterns are searched without regard to letter case; the generator test is case-sensitive.
// None of them fails or reads outside the text they are given, whatever its bytes.
namespace tess::explorer {

// How much of each file the directory scan reads and hands to the readers.
inline constexpr std::size_t kHeadBytes = 5000;
// What a reader returns when the page does not hold what it looks for.
inline constexpr std::string_view kUnknown = "Unknown";

// Whether the converter wrote the page: its text holds the converter's generator line (the
// banner trimmed or with one leading blank) or an earlier converter's ("Tessaryn-32 ").
bool IsMosaicPage(std::string_view sTheData);

// The text between the first "<title>" and the next "</title>", entity-decoded by HTMLChars;
// "Unknown" when there is no such pair.
std::string GetTitle(std::string_view sTheData);
// "#" and the six characters after the first `<body bgcolor="#`, taken as they stand (fewer when
// the text ends sooner); "Unknown" without that tag.
std::string GetBGColor(std::string_view sTheData);
// "-" and the one character after the first `<font size="-` (font page); else the size text of the
// " pre { font-size: ... }" rule when the page holds `<style type="text/css">` ("60%", "12px");
// else "Unknown".
std::string GetSimpleFontSize(std::string_view sTheData);
// GetSimpleFontSize, with a CSS size given as "CSS - " and the size text ("CSS - 60%").
std::string GetFontSize(std::string_view sTheData);
// Decodes "&nbsp;", "&quot;", "&amp;", "&lt;", "&gt;" and "&quot;" again, in this order, each
// everywhere in the text: "&amp;lt;" therefore comes out as "<". Other entities stay.
std::string HTMLChars(std::string_view sText);

// Where the raw title lies: the byte range between the first "<title>" and the next "</title>"
// (either in any letter case), as GetTitle finds it; nothing when GetTitle gives "Unknown".
struct TitleSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t size() const { return end - begin; }
};
std::optional<TitleSpan> FindTitle(std::string_view sTheData);
// Overwrites the raw title (FindTitle's span) with "x"s and returns where it lies, so that markup
// a title holds as text (`<font size="-1">`, " pre { ") is never read or rewritten as the page's
// own. No reader's pattern holds "<title>" or "</title>", so no match can reach across the mask.
std::optional<TitleSpan> MaskTitle(std::string& sTheData);

// The first occurrence of `lowerPattern` (lower case, starting with a character that is no letter)
// at or after `from`, comparing letters without regard to case; npos when there is none. This is
// the search in the page's lower-case copy, without making the copy.
std::size_t FindNoCase(std::string_view text, std::string_view lowerPattern, std::size_t from = 0);

}  // namespace tess::explorer
