#include <gtest/gtest.h>

#include "engine/SizeEstimate.h"

namespace tess {
namespace {

TEST(SizeEstimateTest, UpperEstimateOfThePage) {
    struct Case {
        int width;
        int height;
        const char* title;
        std::int64_t bytes;
        const char* text;
    };
    for (const Case& c :
         {Case{1, 1, "", 303, "303"}, Case{100, 100, "Image From a.bmp 19", 310489, "310,489"},
          Case{100, 100, "Image From a.bmp 19!", 310490, "310,490"},
          Case{100, 100, "Caf\xC3\xA9 au lait \xCE\xA9 teas", 310489, "310,489"},
          Case{32767, 32767, "", 33284030763, "33,284,030,763"}, Case{0, 0, "", 270, "270"}}) {
        EXPECT_EQ(estimateOutputSize(c.width, c.height, c.title), c.bytes) << c.title;
        EXPECT_EQ(estimateOutputSizeText(c.width, c.height, c.title), c.text) << c.title;
    }
}

}  // namespace
}  // namespace tess
