#include <gtest/gtest.h>

#include <set>
#include <string>

#include "effects/EffectTable.h"

namespace tess::fx {
namespace {

TEST(EffectTable, DisplayNamesFindTheirEntryExactly) {
    struct Case {
        const char* name;
        std::optional<int> index;
    };
    const Case cases[] = {
        {"3D Tiles", 0},
        {"Black && White", 2},
        {"Infrared (Slow)", 15},
        {"Pool Tiles", 26},
        {"StereoGraph", 31},
        {"TV Snow", 34},
        {"TV Snow (Color)", 35},
        {"X-Files", 37},
        // The dialog's texts and near misses name nothing.
        {"Black & White", std::nullopt},
        {"Pool Tile", std::nullopt},
        {"SterioGraph", std::nullopt},
        {"Infrared", std::nullopt},
        {"blur", std::nullopt},
        {"Blur ", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(effectIndexByDisplayName(c.name), c.index) << c.name;
    }
}

TEST(EffectTable, NamesAreUniqueAndEveryEntryFindsItself) {
    std::set<std::string_view> display;
    std::set<std::string_view> menus;
    std::set<std::string_view> list;
    for (int k = 0; k < kEffectCount; ++k) {
        const EffectEntry& entry = effectTable()[static_cast<std::size_t>(k)];
        EXPECT_TRUE(display.insert(entry.displayName).second) << entry.displayName;
        EXPECT_TRUE(menus.insert(entry.menuName).second) << entry.menuName;
        EXPECT_TRUE(list.insert(entry.listText).second) << entry.listText;
        EXPECT_EQ(effectIndexByDisplayName(entry.displayName), k);
        // A preview exists only beside its effect.
        if (entry.preview != nullptr) {
            EXPECT_NE(entry.apply, nullptr) << entry.displayName;
        }
    }
}

}  // namespace
}  // namespace tess::fx
