#include <gtest/gtest.h>

#include "platform/FolderListing.h"

namespace tess {
namespace {

TEST(FolderListing, AStarAfterTheExtensionTakesEveryExtensionBeginningWithIt) {
    struct Case {
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"Image1.htm", true},    {"Image2.HTML", true},   {"Image3.htmlx", true},
        {"Image4.ht", false},    {"Image5.xhtml", false}, {"htm", false},
        {"page.htm.bak", false},  // the last extension decides, as for "*.htm"
    };
    for (const Case& c : cases) {
        EXPECT_EQ(matchesListPattern(c.name, "*.htm*"), c.matches) << c.name;
    }
    EXPECT_FALSE(matchesListPattern("a.html", "*.tgl*"));
}

}  // namespace
}  // namespace tess
