#include <gtest/gtest.h>

#include "workspace/CustomResizeRules.h"

namespace tess {
namespace {

using Outcome = ProportionStep::Outcome;

TEST(CustomResizeProportion, OtherSideFromTheEditedOneOnA320x240Picture) {
    struct Case {
        const char* edited;
        const char* editedOriginal;
        const char* otherOriginal;
        ProportionStep expected;
    };
    const Case cases[] = {
        {"160", "320", "240", {Outcome::Written, "120"}},
        {"100", "320", "240", {Outcome::Written, "75"}},
        // 333 x 240 / 320 = 249.75, truncated.
        {"333", "320", "240", {Outcome::Written, "249"}},
        // The height box: 100 x 320 / 240 = 133.3.
        {"100", "240", "320", {Outcome::Written, "133"}},
        // 12.5 counts as 12; -5 gives -1200 \ 320, truncated toward zero.
        {"12.5", "320", "240", {Outcome::Written, "9"}},
        {"-5", "320", "240", {Outcome::Written, "-3"}},
        {" 160 ", "320", "240", {Outcome::Written, "120"}},
        {"abc", "320", "240", {Outcome::NotNumeric, ""}},
        {"", "320", "240", {Outcome::NotNumeric, ""}},
        {"1,000", "320", "240", {Outcome::NotNumeric, ""}},
        // The 32-bit product, and the width itself, overflow.
        {"9000000", "320", "240", {Outcome::Overflow, ""}},
        {"1e10", "320", "240", {Outcome::Overflow, ""}},
        // An original side of 0 cannot be divided by.
        {"160", "0", "240", {Outcome::Failed, ""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(proportionalText(c.edited, c.editedOriginal, c.otherOriginal), c.expected)
            << "'" << c.edited << "'";
}

TEST(CustomResizeOk, EnabledOnlyForANewSizeThePictureCanTake) {
    struct Case {
        const char* width;
        const char* height;
        std::optional<PictureSize> size;
        bool ok;
    };
    const Case cases[] = {
        {"320", "240", PictureSize{320, 240}, false},  // the original size, as text
        {"320.0", "240", PictureSize{320, 240}, true},
        {"320", "240 ", PictureSize{320, 240}, true},
        {"160", "120", PictureSize{160, 120}, true},
        {"12.5", "9", PictureSize{12, 9}, true},
        {"1.5", "2.5", PictureSize{2, 2}, true},
        {"0", "240", std::nullopt, false},
        {"-5", "240", std::nullopt, false},
        {"0.9", "240", std::nullopt, false},
        {"abc", "240", std::nullopt, false},
        {"", "240", std::nullopt, false},
        {"320", "", std::nullopt, false},
        // Read whole, "1,000" is no number: it never resizes to 1 pixel.
        {"1,000", "240", std::nullopt, false},
        // The picture layer's limits: 32767 a side, 2^28 pixels.
        {"32767", "1", PictureSize{32767, 1}, true},
        {"32768", "1", std::nullopt, false},
        {"1", "32767.5", std::nullopt, false},
        {"16384", "16384", PictureSize{16384, 16384}, true},
        {"16384", "16385", std::nullopt, false},
        {"1e300", "1", std::nullopt, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(customSize(c.width, c.height), c.size) << c.width << " x " << c.height;
        EXPECT_EQ(resizeOkEnabled(c.width, c.height, "320", "240"), c.ok)
            << c.width << " x " << c.height;
    }
}

}  // namespace
}  // namespace tess
