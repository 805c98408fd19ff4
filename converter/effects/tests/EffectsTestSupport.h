#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

#include "effects/EffectRun.h"
#include "effects/EffectTable.h"
#include "platform/Picture.h"
#include "platform/testing/FixedClock.h"
#include "platform/testing/Pictures.h"
#include "platform/testing/ScriptedRandom.h"

namespace tess::fx::testing {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

inline Colour colourOf(Rgb c) {
    return c.r + 256 * c.g + 65536 * c.b;
}

inline Rgb rgbOf(Colour c) {
    return {c & 255, (c >> 8) & 255, (c >> 16) & 255};
}

inline Picture filled(int width, int height, Rgb c) {
    return Picture(width, height, colourOf(c));
}

using tess::testing::gradient;

inline const EffectEntry& entryNamed(std::string_view displayName) {
    const auto index = effectIndexByDisplayName(displayName);
    if (!index)
        throw std::invalid_argument("no effect named " + std::string(displayName));
    return effectTable()[static_cast<std::size_t>(*index)];
}

// Runs an effect as the full-image frame does: on a copy, with the main window's scratch colour.
struct EffectRunner {
    tess::testing::FixedClock clock;
    tess::testing::ScriptedRandom random{{0.25f}};

    Picture apply(const EffectEntry& entry, const Picture& picture,
                  Colour scratchBack = kMainScratchBack) {
        Result<Picture> result =
            applyEffect(entry.style, entry.apply, picture, scratchBack, random, clock);
        EXPECT_TRUE(result.ok());
        return result.ok() ? std::move(*result) : Picture();
    }
    Picture preview(const EffectEntry& entry, const Picture& picture) {
        Result<Picture> result =
            applyEffect(entry.style, entry.preview, picture, kPreviewScratchBack, random, clock);
        EXPECT_TRUE(result.ok());
        return result.ok() ? std::move(*result) : Picture();
    }
    Rgb applyToPixel(std::string_view displayName, Rgb c) {
        return rgbOf(apply(entryNamed(displayName), filled(1, 1, c)).pixel(0, 0));
    }
};

}  // namespace tess::fx::testing
