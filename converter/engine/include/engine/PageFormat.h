#pragma once

#include <string>
#include <string_view>

#include "platform/Colour.h"
#include "shared/MosaicSite.h"

namespace tess {

struct MosaicOptions;

// The fixed text of a mosaic page. Pages are Windows-1252 bytes with CR LF line ends. The explorer
// recognises pages by the generator line, whose constants both programs share.
namespace page {

// The site name, banner and generator line the explorer matches (shared/MosaicSite.h).
using site::kBannerTail;
using site::kGeneratorLineStart;
using site::kGeneratorSite;
inline constexpr std::string_view kCrLf = "\r\n";

// Which seams a page is written with: a file has a CR LF after the head and after the trailer,
// the clipboard text has neither.
enum class Seams { File, Clipboard };

// kGeneratorSite followed by kBannerTail.
std::string generatorBanner();
// "#RRGGBB", upper-case hexadecimal, red from the low byte.
std::string colourText(Colour c);
// The head up to "<center><pre>" (CSS page) or the size element (font page), without a line end.
std::string head(const MosaicOptions& options);
// The three trailer lines, without a line end after "</html>".
std::string_view trailer(bool cssPage, bool cancelled);

}  // namespace page
}  // namespace tess
