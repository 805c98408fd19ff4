#pragma once

#include <cstdint>

namespace tess {

// A colour as the programs store it: 0x00BBGGRR, red in the low byte. -1 is the invalid colour a
// pixel read outside a picture gives. Values 0x800000nn name the system colour n (see
// SystemColours).
using Colour = std::int32_t;

inline constexpr Colour kInvalidColour = -1;

constexpr int redOf(Colour c) {
    return c & 255;
}
constexpr int greenOf(Colour c) {
    return (c / 256) & 255;
}
constexpr int blueOf(Colour c) {
    return (c / 65536) & 255;
}

// r + 256 g + 65536 b; a component above 255 counts as 255 (negative ones count as 0).
constexpr Colour rgb(int r, int g, int b) {
    auto clamp = [](int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); };
    return clamp(r) + 256 * clamp(g) + 65536 * clamp(b);
}

constexpr bool isSystemColour(Colour c) {
    return (static_cast<std::uint32_t>(c) & 0xFFFFFF00u) == 0x80000000u;
}
constexpr Colour systemColour(int index) {
    return static_cast<Colour>(0x80000000u | static_cast<std::uint32_t>(index & 0xFF));
}

// The system colours the programs use.
namespace syscolour {
inline constexpr Colour Window = systemColour(5);            // &H80000005
inline constexpr Colour WindowText = systemColour(8);        // &H80000008
inline constexpr Colour ButtonFace = systemColour(15);       // &H8000000F
inline constexpr Colour ButtonShadow = systemColour(16);     // &H80000010
inline constexpr Colour ButtonText = systemColour(18);       // &H80000012
inline constexpr Colour ButtonHighlight = systemColour(20);  // &H80000014
}  // namespace syscolour

}  // namespace tess
