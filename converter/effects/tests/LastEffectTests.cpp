#include <gtest/gtest.h>

#include "effects/EffectTable.h"
#include "effects/LastEffect.h"

namespace tess::fx {
namespace {

TEST(LastEffect, TheCaptionNamesTheEffectToRepeat) {
    struct Case {
        const char* caption;
        std::optional<int> effect;
    };
    const Case cases[] = {
        {"   Last Effect: Blur", 3},
        {"   Last Effect: Black && White", 2},
        {"   Last Effect: Infrared (Slow)", 15},
        // Taken by length: the prefix itself is not compared.
        {"0123456789abcdefMosaic", 19},
        {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"
         "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9Neon",
         21},
        // Case-sensitive, exact, and only the display names.
        {"   Last Effect: blur", std::nullopt},
        {"   Last Effect: Black & White", std::nullopt},
        {"   Last Effect: Pool Tile", std::nullopt},
        {"   Last Effect: #", std::nullopt},
        {"   Last Effect: ", std::nullopt},
        {"   Last Effect:", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(effectToRepeat(c.caption), c.effect) << c.caption;
    }
}

TEST(LastEffect, ACaptionShorterThanThePrefixHasNoName) {
    EXPECT_EQ(lastEffectName("   Last Effect:"), std::nullopt);
    EXPECT_EQ(lastEffectName("Blur"), std::nullopt);
    EXPECT_EQ(lastEffectName("   Last Effect: "), std::string());
}

TEST(LastEffect, EveryEffectsCaptionRepeatsThatEffect) {
    for (int k = 0; k < kEffectCount; ++k) {
        const std::string caption =
            lastEffectCaption(effectTable()[static_cast<std::size_t>(k)].displayName);
        EXPECT_EQ(caption.substr(0, 16), "   Last Effect: ");
        EXPECT_EQ(effectToRepeat(caption), k) << caption;
    }
}

}  // namespace
}  // namespace tess::fx
