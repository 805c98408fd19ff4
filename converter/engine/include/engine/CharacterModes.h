#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/Colour.h"

namespace tess {

// ApplySpacer: the text with every blank, carriage return, line feed and tab replaced by the
// spacer (which may be empty). UTF-8 in and out.
std::string ApplySpacer(std::string_view text, std::string_view spacer);

// The custom text as the cells consume it: ApplySpacer, then the spacer appended once when the
// result has an odd number of characters and twice when it has an even number (zero included).
std::string prepareCustomText(std::string_view customText, std::string_view spacer);

// "<" becomes "&lt;" and ">" becomes "&gt;"; nothing else is escaped.
std::string FixLTGT(std::string_view sTheText);

// Smart Text: two characters chosen by the brightest channel, from two blanks (dark) over the
// ramp "!}$%&@W#" to "##" (bright).
std::string SmartRender(Colour c);

namespace smart {
// The two characters of SmartRender by the greatest channel value 0..255.
inline constexpr std::array<std::array<char, 2>, 256> kPairs = [] {
    std::array<std::array<char, 2>, 256> pairs{};
    for (int m = 0; m < 256; ++m) {
        char ch = ' ';
        if (m >= 241) {
            ch = '#';
        } else if (m >= 224) {
            ch = 'W';  // the last two bands are narrower than the others
        } else {
            ch = " !}$%&@"[m / 32];
        }
        pairs[static_cast<std::size_t>(m)] = {ch, ch};
    }
    return pairs;
}();

inline const char* pairOf(std::uint32_t bgr) {
    std::uint32_t m = bgr & 255;
    const std::uint32_t g = (bgr >> 8) & 255;
    const std::uint32_t b = (bgr >> 16) & 255;
    m = g > m ? g : m;
    m = b > m ? b : m;
    return kPairs[m].data();
}
}  // namespace smart

}  // namespace tess
