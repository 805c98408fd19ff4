#include "platform/SystemColours.h"

#include <array>

namespace tess {

namespace {

constexpr int kCount = SystemColours::kCount;

// The classic standard scheme (grey 3D objects, white windows, navy captions), written 0x00BBGGRR.
constexpr std::array<Colour, kCount> kDefaults = {
    0xC0C0C0,  //  0 scroll bar
    0x808000,  //  1 desktop
    0x800000,  //  2 active caption
    0x808080,  //  3 inactive caption
    0xC0C0C0,  //  4 menu
    0xFFFFFF,  //  5 window
    0x000000,  //  6 window frame
    0x000000,  //  7 menu text
    0x000000,  //  8 window text
    0xFFFFFF,  //  9 caption text
    0xC0C0C0,  // 10 active border
    0xC0C0C0,  // 11 inactive border
    0x808080,  // 12 application workspace
    0x800000,  // 13 highlight
    0xFFFFFF,  // 14 highlight text
    0xC0C0C0,  // 15 button face
    0x808080,  // 16 button shadow
    0x808080,  // 17 grey text
    0x000000,  // 18 button text
    0xC0C0C0,  // 19 inactive caption text
    0xFFFFFF,  // 20 button highlight
    0x000000,  // 21 3D dark shadow
    0xDFDFDF,  // 22 3D light
    0x000000,  // 23 tooltip text
    0xE1FFFF,  // 24 tooltip background
    0x000000,  // 25 (reserved)
    0x800000,  // 26 hot-tracked item
    0xD08410,  // 27 active caption gradient
    0xB5B5B5,  // 28 inactive caption gradient
    0x800000,  // 29 menu highlight
    0xC0C0C0,  // 30 menu bar
};

std::array<Colour, kCount>& table() {
    static std::array<Colour, kCount> current = kDefaults;
    return current;
}

}  // namespace

Colour SystemColours::resolve(Colour c) {
    if (!isSystemColour(c)) {
        return c;
    }
    const int index = c & 0xFF;
    // An index the table does not know reads as black, as the platform answers for it.
    return index < kCount ? table()[static_cast<std::size_t>(index)] : 0;
}

void SystemColours::set(int index, Colour value) {
    if (index >= 0 && index < kCount) {
        table()[static_cast<std::size_t>(index)] = value & 0xFFFFFF;
    }
}

void SystemColours::resetToDefaults() {
    table() = kDefaults;
}

}  // namespace tess
