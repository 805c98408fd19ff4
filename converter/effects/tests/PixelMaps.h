#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Picture.h"

namespace tess::fx::testing {

// Pictures written as rows of letters, one letter a pixel, with a legend of the colours: the
// expected result of an effect can then be drawn by hand and read at a glance.
using Legend = std::map<char, Colour>;
using PixelMap = std::vector<std::string>;

inline Picture pictureOf(const PixelMap& rows, const Legend& legend) {
    const int height = static_cast<int>(rows.size());
    const int width = height == 0 ? 0 : static_cast<int>(rows[0].size());
    Picture picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, legend.at(rows[static_cast<std::size_t>(y)][x]));
    }
    return picture;
}

// The picture in the legend's letters; a colour the legend lacks shows as '?'.
inline PixelMap mapOf(const Picture& picture, const Legend& legend) {
    PixelMap rows;
    for (int y = 0; y < picture.height(); ++y) {
        std::string row;
        for (int x = 0; x < picture.width(); ++x) {
            char letter = '?';
            for (const auto& [key, colour] : legend) {
                if (colour == picture.pixel(x, y)) {
                    letter = key;
                    break;
                }
            }
            row += letter;
        }
        rows.push_back(row);
    }
    return rows;
}

// A legend giving each letter of `letters` its own grey-free colour, for pictures whose every
// pixel must be told apart.
inline Legend distinctLegend(const std::string& letters) {
    Legend legend;
    int k = 0;
    for (char c : letters)
        legend[c] = 0x102030 + 0x010305 * ++k;
    return legend;
}

}  // namespace tess::fx::testing
