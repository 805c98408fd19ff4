#pragma once

#include <string_view>

// What the converter writes into every page and the explorer looks for to recognise one. Both
// programs take these from here, so a page the converter writes is always one the explorer lists.
namespace tess::site {

// Our site name: in the generator banner and the description line of every page.
inline constexpr std::string_view kGeneratorSite = "tessaryn.example";
// What follows the site name in the banner.
inline constexpr std::string_view kBannerTail = " presents tessaryn q4 (beta 1)";
// The part of kBannerTail the explorer matches, up to and including "q4 ": later versions of the
// banner change only what comes after it.
inline constexpr std::string_view kBannerMark = kBannerTail.substr(0, kBannerTail.find("q4 ") + 3);
// The generator line up to the banner.
inline constexpr std::string_view kGeneratorLineStart = "<meta name=\"Generator\" content=\"";

static_assert(kBannerMark == " presents tessaryn q4 ");

}  // namespace tess::site
