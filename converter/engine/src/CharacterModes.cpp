#include "engine/CharacterModes.h"

namespace tess {

std::string ApplySpacer(std::string_view text, std::string_view spacer) {
    std::string result;
    result.reserve(text.size());
    // Every white-space character is a single byte in UTF-8, so a byte walk cannot split one.
    for (char ch : text) {
        if (ch == ' ' || ch == '\r' || ch == '\n' || ch == '\t') {
            result += spacer;
        } else {
            result += ch;
        }
    }
    return result;
}

std::string prepareCustomText(std::string_view customText, std::string_view spacer) {
    std::string prepared = ApplySpacer(customText, spacer);
    std::size_t characters = 0;
    for (char ch : prepared) {
        // Count code points: every byte except UTF-8 continuation bytes starts one.
        if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) {
            ++characters;
        }
    }
    prepared += spacer;
    if (characters % 2 == 0) {
        prepared += spacer;
    }
    return prepared;
}

std::string FixLTGT(std::string_view sTheText) {
    std::string result;
    result.reserve(sTheText.size());
    for (char ch : sTheText) {
        if (ch == '<') {
            result += "&lt;";
        } else if (ch == '>') {
            result += "&gt;";
        } else {
            result += ch;
        }
    }
    return result;
}

std::string SmartRender(Colour c) {
    const char* pair = smart::pairOf(static_cast<std::uint32_t>(c));
    return std::string(pair, 2);
}

}  // namespace tess
