#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/xattr.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "ExplorerTestSupport.h"
#include "explorer/MosaicScan.h"
#include "explorer/PageFile.h"
#include "explorer/PageReader.h"
#include "platform/Runtime.h"

namespace tess::explorer {
namespace {

using explorertest::converterPage;

TEST(MosaicScan, SizeTextsDuringAndAfterTheScan) {
    struct Case {
        std::uint64_t length;
        const char* padded;
        const char* shown;
    };
    const Case cases[] = {
        {12636, "0000012.34", "12.34K"},
        {500, "0000000.49", "0.49K"},
        {0, "0000000.00", "0.00K"},
        {1048576, "0001024.00", "1024.00K"},
        {5, "0000000.00", "0.00K"},
        {1023, "0000001.00", "1.00K"},
        {31457280, "0030720.00", "30720.00K"},
        {10240000000ull, "10000000.00", "10000000.00K"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(paddedSizeText(c.length), c.padded) << c.length;
        EXPECT_EQ(displaySizeText(paddedSizeText(c.length)), c.shown) << c.length;
    }
}

// The size column after the scan is the padded text read as a number and written with two
// decimals, for every size the scan can give and for texts of another form.
TEST(MosaicScan, SizeAfterTheScanIsThePaddedNumberWithTwoDecimals) {
    const auto byTheRule = [](std::string_view padded) {
        return rt::formatFixed(rt::val(RemZeros(padded)), 1, 2) + "K";
    };
    std::vector<std::uint64_t> lengths;
    for (std::uint64_t n = 0; n <= 3 * 1024; ++n)
        lengths.push_back(n);
    for (std::uint64_t p = 1024; p != 0 && p < (std::uint64_t{1} << 63); p *= 10) {
        for (const std::uint64_t n : {p - 6, p - 5, p - 1, p, p + 5, p + 6})
            lengths.push_back(n);
    }
    for (int bits = 30; bits < 64; ++bits) {
        const std::uint64_t p = std::uint64_t{1} << bits;
        for (const std::uint64_t n : {p - 1, p, p + 1, p + 5, p + 7})
            lengths.push_back(n);
    }
    lengths.push_back(~std::uint64_t{0});
    for (const std::uint64_t n : lengths)
        EXPECT_EQ(displaySizeText(paddedSizeText(n)), byTheRule(paddedSizeText(n))) << n;
    for (const char* text : {"", "12", "12.3", "12.345", "0012.34", ".5", "1e3", "x12.34", "12.34x",
                             "9999999999999.99", "99999999999999.99", "-0000012.34"})
        EXPECT_EQ(displaySizeText(text), byTheRule(text)) << text;
}

TEST(MosaicScan, RemZerosDropsTheLeadingZeros) {
    struct Case {
        const char* text;
        const char* result;
    };
    const Case cases[] = {
        {"0000012.34", "12.34"},
        {"0000000.49", "0.49"},
        {"0001024.00", "1024.00"},
        {"0000000.00", "0.00"},
        {"12.50", "12.50"},
        {"", ""},
        {"000", ""},
        {"a0b", "b"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RemZeros(c.text), c.result) << c.text;
    }
}

class ScanPageTest : public ::testing::Test {
  protected:
    testing::TempFolder folder{"tess-explorer-scan"};
};

TEST_F(ScanPageTest, ListsThePagesByName) {
    for (const char* name : {"b.html", "A.HTM", "c.htmlx", "d.txt", ".e.html", "f.xhtml"}) {
        folder.write(name, "x");
    }
    Result<std::vector<std::string>> names = listPages(folder.path());
    ASSERT_TRUE(names.ok());
    EXPECT_EQ(*names, (std::vector<std::string>{"A.HTM", "b.html", "c.htmlx"}));
    EXPECT_EQ(listPages(folder.file("missing")).error().code, errc::PathNotFound);
}

TEST_F(ScanPageTest, AMosaicPageGivesItsRow) {
    const std::string page = converterPage("Tom &amp; Jerry", 2);
    const std::string path = folder.write("Image1.html", page);
    std::optional<MosaicRow> row = scanPage(folder.path(), "Image1.html");
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->title, "Tom & Jerry");
    EXPECT_EQ(row->fileName, "Image1.html");
    EXPECT_EQ(row->sizeText, paddedSizeText(page.size()));
    EXPECT_EQ(row->fontSize, "CSS - 60%");
    EXPECT_EQ(row->bgColor, "#0080FF");
    EXPECT_EQ(row->tag, "load");
    EXPECT_EQ(row->icon, 1);
    EXPECT_FALSE(row->changed());
    EXPECT_FALSE(row->titleEdited() || row->fontSizeEdited() || row->bgColorEdited());
    const std::optional<DateTime> date = GetFileDate(path);
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(row->createdOn, rt::formatDateTimeMDY12(*date));
    EXPECT_EQ(row->columns()[5], row->createdOn);
    EXPECT_FALSE(GetFileDate(folder.file("missing.html")).has_value());
}

TEST_F(ScanPageTest, WhatIsNoReadableMosaicIsSkipped) {
    folder.write("plain.html", "<html><head><title>Not ours</title></head></html>");
    folder.write("short.htm", "<meta");
    folder.write("empty.htm", "");
    folder.write("binary.htm", std::string("\0\xFF<title>\x01", 10));
    std::filesystem::create_directory(folder.file("folder.html"));
    ASSERT_EQ(::mkfifo(folder.file("pipe.html").c_str(), 0600), 0);  // must not wait for a writer
    for (const char* name : {"plain.html", "short.htm", "empty.htm", "binary.htm", "folder.html",
                             "pipe.html", "missing.html"}) {
        EXPECT_FALSE(scanPage(folder.path(), name).has_value()) << name;
    }
}

TEST_F(ScanPageTest, TheDateASaveKeptIsListedAndADamagedOneIsPassedOver) {
    const std::string path = folder.write("Image1.html", converterPage("T", 0));
    const std::optional<DateTime> own = GetFileDate(path);
    ASSERT_TRUE(own.has_value());
    const std::string ownText = rt::formatDateTimeMDY12(*own);
    if (::setxattr(path.c_str(), PageFile::kCreatedAttribute, "0.000000000", 11, 0) != 0)
        GTEST_SKIP() << "this file system keeps no user attributes";
    std::tm local{};
    local.tm_year = 104;
    local.tm_mon = 11;
    local.tm_mday = 31;
    local.tm_hour = 14;
    local.tm_min = 30;
    local.tm_isdst = -1;
    const std::string seconds = std::to_string(::mktime(&local));
    struct Case {
        std::string kept;
        std::string listed;
    };
    const Case cases[] = {
        {seconds + ".000000000", "12-31-04 02:30 PM"},
        {seconds + ".999999999", "12-31-04 02:30 PM"},
        {"", ownText},
        {seconds, ownText},
        {seconds + ".5", ownText},
        {seconds + ".0000000000", ownText},
        {seconds + ".00000000x", ownText},
        {"x" + seconds + ".000000000", ownText},
        {"99999999999999999999.000000000", ownText},
        {std::string(39, '9'), ownText},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(
            ::setxattr(path.c_str(), PageFile::kCreatedAttribute, c.kept.data(), c.kept.size(), 0),
            0);
        std::optional<MosaicRow> row = scanPage(folder.path(), "Image1.html");
        ASSERT_TRUE(row.has_value());
        EXPECT_EQ(row->createdOn, c.listed) << c.kept;
    }
}

TEST_F(ScanPageTest, OnlyTheHeadIsReadAndAMarkupInTheTitleIsNotThePages) {
    // The generator line is in the head; the title runs past the window.
    const std::string longTitle = converterPage(std::string(6000, 'L'), 1);
    folder.write("long.html", longTitle);
    std::optional<MosaicRow> row = scanPage(folder.path(), "long.html");
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->title, "Unknown");
    EXPECT_EQ(row->fontSize, "Unknown");
    EXPECT_EQ(row->sizeText, paddedSizeText(longTitle.size()));

    const std::string markup =
        converterPage("see <font size=\"-2\"> <body bgcolor=\"#123456\">", 2);
    folder.write("markup.html", markup);
    row = scanPage(folder.path(), "markup.html");
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->title, "see <font size=\"-2\"> <body bgcolor=\"#123456\">");
    EXPECT_EQ(row->fontSize, "CSS - 60%");
    EXPECT_EQ(row->bgColor, "#0080FF");
}

}  // namespace
}  // namespace tess::explorer
