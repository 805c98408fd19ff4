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

TEST(ListMosaicFilesTest, ListsHtmAndHtmlInAnyCase) {
    enginetest::TempFolder folder;
    for (const char* name :
         {"Image3.HTML", "image5.Htm", "notes.txt", "Image9.htmx", ".Image30.html"}) {
        ASSERT_TRUE(writeFileAtomic(folder.file(name), "x").ok());
    }
    std::filesystem::create_directory(folder.file("Image20.html"));
    Result<std::vector<std::string>> names = listMosaicFiles(folder.path());
    ASSERT_TRUE(names.ok());
    std::sort(names->begin(), names->end());
    EXPECT_EQ(names.value(), (std::vector<std::string>{"Image3.HTML", "image5.Htm"}));
    EXPECT_EQ(GetNumber(names), "6");
}

TEST(ListMosaicFilesTest, MissingFolderIsPathNotFound) {
    enginetest::TempFolder folder;
    Result<std::vector<std::string>> names = listMosaicFiles(folder.file("Mosaics"));
    ASSERT_FALSE(names.ok());
    EXPECT_EQ(names.error().code, errc::PathNotFound);
    EXPECT_EQ(GetNumber(names), "0");
}

}  // namespace
}  // namespace tess
