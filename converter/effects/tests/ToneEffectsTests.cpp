#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "EffectsTestSupport.h"
#include "effects/ColourHelpers.h"
#include "effects/ToneEffects.h"

namespace tess::fx {
namespace {

using testing::EffectRunner;
using testing::entryNamed;
using testing::Rgb;

struct PixelCase {
    const char* effect;
    Rgb in;
    Rgb out;
};

TEST(ToneEffects, MapOnePixel) {
    const PixelCase cases[] = {
        // The pixel (250, 100, 50) through every effect of the family.
        {"Brighten", {250, 100, 50}, {250, 120, 60}},
        {"Darken", {250, 100, 50}, {240, 90, 40}},
        {"Decrease Contrast", {250, 100, 50}, {240, 110, 60}},
        {"Increase Contrast", {250, 100, 50}, {255, 90, 40}},
        {"Black && White", {250, 100, 50}, {255, 255, 255}},
        {"Grayscale", {250, 100, 50}, {250, 250, 250}},
        // Brighten hands a step that does not fit on to green, then blue; no clamp.
        {"Brighten", {0, 0, 0}, {10, 10, 10}},
        {"Brighten", {245, 245, 245}, {255, 255, 255}},
        {"Brighten", {255, 255, 255}, {255, 255, 255}},
        {"Brighten", {255, 255, 250}, {255, 255, 250}},
        {"Brighten", {250, 250, 0}, {250, 250, 30}},
        {"Brighten", {0, 250, 250}, {10, 250, 250}},
        {"Brighten", {250, 100, 100}, {250, 120, 110}},
        {"Brighten", {255, 0, 0}, {255, 20, 10}},
        {"Brighten", {246, 246, 246}, {246, 246, 246}},
        {"Brighten", {240, 240, 240}, {250, 250, 250}},
        {"Brighten", {250, 240, 0}, {250, 250, 20}},
        // Darken the same way towards black.
        {"Darken", {10, 10, 10}, {0, 0, 0}},
        {"Darken", {0, 0, 0}, {0, 0, 0}},
        {"Darken", {9, 9, 9}, {9, 9, 9}},
        {"Darken", {0, 0, 5}, {0, 0, 5}},
        {"Darken", {5, 100, 200}, {5, 80, 190}},
        {"Darken", {5, 5, 100}, {5, 5, 70}},
        {"Darken", {5, 100, 100}, {5, 80, 90}},
        // Contrast: 128 counts as bright; Decrease crosses the middle, Increase clamps.
        {"Decrease Contrast", {255, 255, 255}, {245, 245, 245}},
        {"Decrease Contrast", {0, 0, 0}, {10, 10, 10}},
        {"Decrease Contrast", {128, 127, 0}, {118, 137, 10}},
        {"Decrease Contrast", {0, 127, 255}, {10, 137, 245}},
        {"Decrease Contrast", {130, 120, 128}, {120, 130, 118}},
        {"Increase Contrast", {250, 5, 128}, {255, 0, 138}},
        {"Increase Contrast", {127, 128, 255}, {117, 138, 255}},
        // Black & White: the threshold is a sum of 383.
        {"Black && White", {128, 128, 127}, {0, 0, 0}},
        {"Black && White", {128, 128, 128}, {255, 255, 255}},
        {"Black && White", {255, 0, 0}, {0, 0, 0}},
        {"Black && White", {255, 255, 0}, {255, 255, 255}},
        {"Black && White", {255, 0, 128}, {0, 0, 0}},
        {"Black && White", {255, 128, 0}, {0, 0, 0}},
        // Grayscale takes the largest component, whichever it is and however the ties fall.
        {"Grayscale", {10, 200, 30}, {200, 200, 200}},
        {"Grayscale", {100, 100, 50}, {100, 100, 100}},
        {"Grayscale", {50, 100, 100}, {100, 100, 100}},
        {"Grayscale", {100, 50, 100}, {100, 100, 100}},
        {"Grayscale", {90, 90, 40}, {90, 90, 90}},
        {"Grayscale", {255, 0, 0}, {255, 255, 255}},
        {"Grayscale", {1, 2, 3}, {3, 3, 3}},
        {"Grayscale", {7, 7, 7}, {7, 7, 7}},
    };
    EffectRunner runner;
    for (const PixelCase& c : cases) {
        EXPECT_EQ(runner.applyToPixel(c.effect, c.in), c.out) << c.effect << " of " << c.in;
    }
}

// The passes of Brighten and Darken as they read, one branch at a time.
Rgb stepLiterally(Rgb c, bool up) {
    int p[3] = {c.r, c.g, c.b};
    auto room = [up](int v) { return up ? v + 10 <= 255 : v - 10 >= 0; };
    auto step = [up](int& v) { v += up ? 10 : -10; };
    for (int pass = 0; pass < 3; ++pass) {
        for (int k = pass; k < 3; ++k) {
            if (room(p[k])) {
                step(p[k]);
                break;
            }
        }
    }
    return {p[0], p[1], p[2]};
}

TEST(ToneEffects, BrightenAndDarkenFollowTheThreePassesForEveryBoundary) {
    // Every value near either limit and a spread of others, in all combinations.
    std::vector<int> values;
    for (int v = 0; v <= 255; ++v) {
        if (v <= 35 || v >= 220 || v % 17 == 0)
            values.push_back(v);
    }
    Picture picture(static_cast<int>(values.size()),
                    static_cast<int>(values.size() * values.size()));
    for (std::size_t r = 0; r < values.size(); ++r) {
        for (std::size_t g = 0; g < values.size(); ++g) {
            for (std::size_t b = 0; b < values.size(); ++b)
                picture.setPixel(static_cast<int>(r), static_cast<int>(g * values.size() + b),
                                 rgb(values[r], values[g], values[b]));
        }
    }
    EffectRunner runner;
    for (const bool up : {true, false}) {
        const Picture result = runner.apply(entryNamed(up ? "Brighten" : "Darken"), picture);
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const Rgb in = testing::rgbOf(picture.pixel(x, y));
                ASSERT_EQ(testing::rgbOf(result.pixel(x, y)), stepLiterally(in, up))
                    << (up ? "Brighten" : "Darken") << " of " << in;
            }
        }
    }
}

TEST(ToneEffects, ContrastIsAdjustContrastOnEveryComponentValue) {
    // Every value in every component, beside neighbours that are bright, dark or at the middle.
    Picture picture(256, 9);
    const int others[] = {0, 128, 255};
    for (int row = 0; row < 9; ++row) {
        for (int v = 0; v < 256; ++v) {
            int c[3] = {others[row / 3], others[(row / 3 + 1) % 3], others[(row / 3 + 2) % 3]};
            c[row % 3] = v;
            picture.setPixel(v, row, rgb(c[0], c[1], c[2]));
        }
    }
    EffectRunner runner;
    for (const auto& [name, amount] : {std::pair{"Decrease Contrast", std::int16_t{10}},
                                       std::pair{"Increase Contrast", std::int16_t{-10}}}) {
        const Picture result = runner.apply(entryNamed(name), picture);
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                RGBTriple t = SplitRGB(picture.pixel(x, y));
                t = AdjustContrast(t, amount);
                ASSERT_EQ(result.pixel(x, y), RGBOf(t))
                    << name << " of " << testing::rgbOf(picture.pixel(x, y));
            }
        }
    }
}

TEST(ToneEffects, RepeatedRuns) {
    EffectRunner runner;
    // Brighten then Darken does not give the picture back.
    EXPECT_EQ(runner.applyToPixel("Darken", runner.applyToPixel("Brighten", {250, 100, 50})),
              (Rgb{240, 110, 50}));
    // Decrease Contrast twice brings 130 back; Increase then Decrease does not bring 250 back.
    EXPECT_EQ(runner.applyToPixel("Decrease Contrast",
                                  runner.applyToPixel("Decrease Contrast", {130, 130, 130})),
              (Rgb{130, 130, 130}));
    EXPECT_EQ(runner.applyToPixel("Decrease Contrast",
                                  runner.applyToPixel("Increase Contrast", {250, 250, 250})),
              (Rgb{245, 245, 245}));
    // Black & White and Grayscale change nothing on their own results.
    const Picture picture = testing::gradient(23, 17);
    for (const char* name : {"Black && White", "Grayscale"}) {
        const Picture once = runner.apply(entryNamed(name), picture);
        EXPECT_EQ(runner.apply(entryNamed(name), once), once) << name;
    }
}

TEST(ToneEffects, WorkOnEveryPixelOfAnyShape) {
    EffectRunner runner;
    const char* names[] = {"Brighten",          "Darken",    "Decrease Contrast",
                           "Increase Contrast", "Grayscale", "Black && White"};
    for (const char* name : names) {
        const EffectEntry& entry = entryNamed(name);
        for (const auto& [w, h] :
             {std::pair{0, 0}, {0, 5}, {5, 0}, {1, 1}, {1, 9}, {9, 1}, {7, 4}}) {
            const Picture picture = testing::gradient(w, h);
            const Picture result = runner.apply(entry, picture);
            ASSERT_EQ(result.width(), w) << name;
            ASSERT_EQ(result.height(), h) << name;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    EXPECT_EQ(result.pixel(x, y),
                              runner.apply(entry, Picture(1, 1, picture.pixel(x, y))).pixel(0, 0))
                        << name << " at " << x << ", " << y;
                }
            }
        }
    }
}

TEST(ToneEffects, PreviewsAreTheSameRecipe) {
    EffectRunner runner;
    const Picture thumbnail = testing::gradient(120, 100);
    for (const char* name : {"Brighten", "Darken", "Decrease Contrast", "Increase Contrast",
                             "Grayscale", "Black && White"}) {
        const EffectEntry& entry = entryNamed(name);
        ASSERT_NE(entry.preview, nullptr) << name;
        EXPECT_EQ(runner.preview(entry, thumbnail), runner.apply(entry, thumbnail)) << name;
    }
}

}  // namespace
}  // namespace tess::fx
