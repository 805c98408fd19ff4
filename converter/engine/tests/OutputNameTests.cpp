#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/OutputName.h"

namespace tess {
namespace {

TEST(GetNumberTest, NextNumberAfterTheHighestTail) {
    struct Case {
        std::vector<std::string> names;
        const char* expected;
    };
    for (const Case& c : {
             Case{{}, "1"},
             Case{{"Image1.html", "Image7.htm", "Image12.html"}, "13"},
             Case{{"Image007.html"}, "8"},
             Case{{"Image2 copy3.html"}, "1"},  // the tail "y3" counts 0
             Case{{"2005pic7.html"}, "6"},      // the tail "5pic7" counts 5
             Case{{"x1.old.html"}, "1"},        // the tail "d" counts 0
             Case{{"page.html", "Image3.HTM"}, "4"},
             Case{{"Image 12.html"}, "13"},
             Case{{"Image99999999999.html"}, "0"},  // overflow
             Case{{"Image2147483647.html"}, "0"},   // no next number
             Case{{"Image2147483646.html"}, "2147483647"},
         }) {
        EXPECT_EQ(GetNumber(c.names), c.expected) << ::testing::PrintToString(c.names);
    }
}

TEST(GetNumberTest, FailedListingGivesZero) {
    const Result<std::vector<std::string>> failed = Error{errc::PathNotFound, "gone"};
    EXPECT_EQ(GetNumber(failed), "0");
}

}  // namespace
}  // namespace tess
