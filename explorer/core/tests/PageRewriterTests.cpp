#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <iostream>

#include <string>
#include <vector>

#include "ExplorerTestSupport.h"
#include "explorer/MosaicScan.h"
#include "explorer/PageFile.h"
#include "explorer/PageReader.h"
#include "explorer/PageRewriter.h"
#include "platform/Text.h"
#include "platform/testing/FileSizeLimit.h"

namespace tess::explorer {
namespace {

using explorertest::converterPage;
using explorertest::replaced;

const std::string kStyleBlock(std::string_view size) {
    return "\r\n<style type=\"text/css\">\r\n <!--\r\n  pre { font-size: " + std::string(size) +
           " }\r\n -->\r\n</style>\r\n";
}

// The row the scan makes of a page, so every edit starts from what the list would show.
MosaicRow rowOf(std::string_view page) {
    std::optional<MosaicRow> row = rowFromHead(page.substr(0, kHeadBytes), page.size(), "p.html");
    EXPECT_TRUE(row.has_value());
    return row.value_or(MosaicRow{});
}

// The row with its font size changed as the font-size dialog changes it.
MosaicRow withFontSize(std::string_view page, std::string size) {
    MosaicRow row = rowOf(page);
    row.fontSize = std::move(size);
    row.markChanged();
    return row;
}

// Where two texts differ: the range left after their common start and end, in `after`.
struct Changed {
    std::size_t begin;
    std::size_t endBefore;
    std::size_t endAfter;
};
Changed changedRange(std::string_view before, std::string_view after) {
    std::size_t begin = 0;
    while (begin < before.size() && begin < after.size() && before[begin] == after[begin]) {
        ++begin;
    }
    std::size_t tail = 0;
    while (tail < before.size() - begin && tail < after.size() - begin &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    return {begin, before.size() - tail, after.size() - tail};
}

// A rewrite changes markup of the head only: the picture's cells and the trailer are untouched.
void expectOnlyHeadChanged(std::string_view before, std::string_view after) {
    const Changed range = changedRange(before, after);
    const std::size_t firstCell = before.find("<font color=");
    ASSERT_NE(firstCell, std::string_view::npos);
    EXPECT_LE(range.endBefore, firstCell);
    EXPECT_EQ(before.substr(range.endBefore), after.substr(range.endAfter));
}

// ---- Font size ------------------------------------------------------------------------------

TEST(PageRewriter, FontPageToCssAndBack) {
    const std::string font = converterPage("T", 0);
    const PageRewrite toCss = rewritePage(font, withFontSize(font, "CSS - 60%"));
    ASSERT_TRUE(toCss.allTaken());
    const std::string css =
        replaced(replaced(font, "<font size=\"-1\">", "<nofont size=\"-1\">"),
                 "<body bgcolor=\"#0080FF\">", "<body bgcolor=\"#0080FF\">" + kStyleBlock("60%"));
    EXPECT_EQ(toCss.page, css);
    expectOnlyHeadChanged(font, toCss.page);
    EXPECT_EQ(GetFontSize(toCss.page), "CSS - 60%");
    // The page's own line break after the body tag now follows the block: an empty line before
    // the picture.
    EXPECT_NE(toCss.page.find("</style>\r\n\r\n<center><pre><nofont size=\"-1\">"),
              std::string::npos);

    const PageRewrite back = rewritePage(toCss.page, withFontSize(toCss.page, "-1"));
    ASSERT_TRUE(back.allTaken());
    EXPECT_EQ(back.page,
              replaced(replaced(css, " pre { ", " nopre { "), "<nofont size=\"", "<font size=\""));
    EXPECT_EQ(GetFontSize(back.page), "-1");
    expectOnlyHeadChanged(font, back.page);
}

TEST(PageRewriter, CssPageToFontAndBackToAnotherCssSize) {
    const std::string css = converterPage("T", 2);
    const PageRewrite toFont = rewritePage(css, withFontSize(css, "-2"));
    ASSERT_TRUE(toFont.allTaken());
    const std::string font = replaced(replaced(css, " pre { ", " nopre { "), "<center><pre>",
                                      "<center><pre><font size=\"-2\">");
    EXPECT_EQ(toFont.page, font);
    EXPECT_EQ(GetFontSize(toFont.page), "-2");
    expectOnlyHeadChanged(css, toFont.page);

    const PageRewrite toCss = rewritePage(toFont.page, withFontSize(toFont.page, "CSS - 40%"));
    ASSERT_TRUE(toCss.allTaken());
    EXPECT_EQ(toCss.page,
              replaced(replaced(css, "<center><pre>", "<center><pre><nofont size=\"-2\">"),
                       "font-size: 60%", "font-size: 40%"));
    EXPECT_EQ(GetFontSize(toCss.page), "CSS - 40%");
}

TEST(PageRewriter, SizeChangesWithinOneForm) {
    struct Case {
        const char* name;
        std::int16_t fontSize;
        const char* to;
        const char* from;  // the markup that changes ...
        const char* into;  // ... and what it becomes
    };
    const Case cases[] = {
        {"css to custom px", 2, "CSS - 12px", "font-size: 60%", "font-size: 12px"},
        {"css to css", 5, "CSS - 10%", "font-size: 30%", "font-size: 10%"},
        {"font to font", 0, "-2", "<font size=\"-1\">", "<font size=\"-2\">"},
        {"font to font back", 1, "-1", "<font size=\"-2\">", "<font size=\"-1\">"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string page = converterPage("T", c.fontSize);
        const PageRewrite r = rewritePage(page, withFontSize(page, c.to));
        ASSERT_TRUE(r.allTaken());
        EXPECT_EQ(r.page, replaced(page, c.from, c.into));
    }
}

// ---- Title and colour -------------------------------------------------------------------------

TEST(PageRewriter, TitleIsReplacedRawAndUnescaped) {
    struct Case {
        const char* name;
        const char* typed;    // the converter's title
        const char* edited;   // the row's new title, UTF-8
        const char* written;  // what the page then holds, Windows-1252
    };
    const Case cases[] = {
        {"plain", "Old", "New title", "New title"},
        {"raw entity found", "A &amp; B", "C & D", "C & D"},
        {"markup kept raw", "x", "<b>bold</b> & co", "<b>bold</b> & co"},
        {"code page", "x", "Caf\xC3\xA9 \xE2\x82\xAC", "Caf\xE9 \x80"},
        {"emptied", "x", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string page = converterPage(c.typed, 2);
        MosaicRow row = rowOf(page);
        row.title = c.edited;
        row.markChanged();
        const PageRewrite r = rewritePage(page, row);
        ASSERT_TRUE(r.allTaken());
        EXPECT_EQ(r.page, replaced(page, "<title>" + cp1252::fromUtf8(c.typed) + "</title>",
                                   std::string("<title>") + c.written + "</title>"));
        expectOnlyHeadChanged(page, r.page);
    }
}

TEST(PageRewriter, ColourIsReplacedInTheBodyTag) {
    for (std::int16_t size : {0, 2}) {
        const std::string page = converterPage("T", size);
        MosaicRow row = rowOf(page);
        row.bgColor = "#A0B1C2";
        row.markChanged();
        const PageRewrite r = rewritePage(page, row);
        ASSERT_TRUE(r.allTaken());
        EXPECT_EQ(r.page,
                  replaced(page, "<body bgcolor=\"#0080FF\">", "<body bgcolor=\"#A0B1C2\">"));
    }
}

TEST(PageRewriter, AllThreeFieldsAtOnce) {
    const std::string page = converterPage("Old", 0);
    MosaicRow row = rowOf(page);
    row.title = "New";
    row.bgColor = "#000000";
    row.fontSize = "CSS - 20%";
    row.markChanged();
    const PageRewrite r = rewritePage(page, row);
    ASSERT_TRUE(r.allTaken());
    ASSERT_EQ(r.fields.size(), 3u);
    EXPECT_EQ(GetTitle(r.page), "New");
    EXPECT_EQ(GetBGColor(r.page), "#000000");
    EXPECT_EQ(GetFontSize(r.page), "CSS - 20%");
    EXPECT_EQ(r.page, replaced(replaced(replaced(page, "Old", "New"), "<font size=\"-1\">",
                                        "<nofont size=\"-1\">"),
                               "<body bgcolor=\"#0080FF\">",
                               "<body bgcolor=\"#000000\">" + kStyleBlock("20%")));
}

// ---- What a rewrite leaves alone --------------------------------------------------------------

TEST(PageRewriter, UneditedFieldsAreNotTouched) {
    // The scan cannot see this page's head past its long title: every field reads "Unknown".
    const std::string page = converterPage(std::string(6000, 'L'), 0);
    MosaicRow row = rowOf(page);
    ASSERT_EQ(row.title, "Unknown");
    ASSERT_EQ(row.bgColor, "Unknown");
    row.fontSize = "-2";
    row.markChanged();
    const PageRewrite r = rewritePage(page, row);
    ASSERT_TRUE(r.allTaken());
    ASSERT_EQ(r.fields.size(), 1u);
    EXPECT_EQ(r.page, replaced(page, "<font size=\"-1\">", "<font size=\"-2\">"));
    EXPECT_EQ(r.page.find("Unknown"), std::string::npos);

    MosaicRow nothing = rowOf(page);
    EXPECT_EQ(rewritePage(page, nothing).page, page);
    EXPECT_TRUE(rewritePage(page, nothing).fields.empty());
}

TEST(PageRewriter, TitleTextSurvivesSizeAndColourRewrites) {
    const std::string nasty =
        "a pre { b <font size=\"-1\"> c <center><pre> d <nofont size=\"-2\"> e nopre { f "
        "<body bgcolor=\"#0080FF\">";
    for (std::int16_t start : {0, 2}) {
        const std::string page = converterPage(nasty, start);
        std::string text = page;
        for (const char* size : {"CSS - 40%", "-2", "CSS - 12px", "-1"}) {
            SCOPED_TRACE(std::string(size) + " from " + std::to_string(start));
            MosaicRow row = rowOf(text);
            row.fontSize = size;
            row.bgColor = std::string(size) == "-2" ? "#111111" : "#222222";
            row.markChanged();
            const PageRewrite r = rewritePage(text, row);
            EXPECT_TRUE(r.allTaken());
            const std::optional<TitleSpan> span = FindTitle(r.page);
            ASSERT_TRUE(span.has_value());
            EXPECT_EQ(r.page.substr(span->begin, span->size()), nasty);
            EXPECT_EQ(GetFontSize(r.page.substr(span->end)), size) << r.page;
            text = r.page;
        }
    }
}

TEST(PageRewriter, EditsThePageCannotTakeAreReportedAndLeaveItsMarkup) {
    const std::string font = converterPage("T", 0);
    const std::string css = converterPage("T", 2);
    struct Case {
        const char* name;
        std::string page;
        Field field;
        std::string value;
        const char* why;  // what the reason says
    };
    const Case cases[] = {
        {"title tags in capitals",
         replaced(replaced(font, "<title>", "<TITLE>"), "</title>", "</TITLE>"), Field::Title,
         "New", "its title tags are not written in lower case"},
        {"closing title tag in capitals", replaced(font, "</title>", "</Title>"), Field::Title,
         "New", "its title tags are not written in lower case"},
        {"title holding a closing tag", font, Field::Title, "a </TITLE> b",
         "the title holds \"</title>\""},
        {"title holding a line break", font, Field::Title, "a\r\nb", "a line break"},
        {"title holding a NUL", font, Field::Title, std::string("a\0b", 3), "a NUL character"},
        {"title the code page cannot hold", font, Field::Title,
         "\xE6\x97\xA5\xE6\x9C\xAC x \xE6\x97\xA5 \xE2\x82\xAC",
         "code page (Windows-1252) cannot hold \"\xE6\x97\xA5\xE6\x9C\xAC\""},
        {"body tag in capitals", replaced(font, "<body bgcolor=", "<BODY BGCOLOR="), Field::BGColor,
         "#000000", "its body tag is written in capitals (<BODY BGCOLOR=...)"},
        {"three-digit colour", replaced(font, "#0080FF", "#fff"), Field::BGColor, "#000000",
         "its background colour is written \"#fff\", not in six hexadecimal digits"},
        {"named colour", replaced(font, "\"#0080FF\"", "\"white\""), Field::BGColor, "#000000",
         "its background colour is written \"white\", not as \"#RRGGBB\""},
        {"unquoted colour", replaced(font, "\"#0080FF\"", "#fff"), Field::BGColor, "#000000",
         "without quotes (bgcolor=#fff)"},
        {"body tag with more than the colour",
         replaced(font, "#0080FF\">", "#0080FF\" text=\"#FFFFFF\">"), Field::BGColor, "#000000",
         "its body tag holds more than the colour (<body bgcolor=\"#0080FF\" text="},
        {"no body colour", replaced(font, "<body bgcolor=\"#0080FF\">", "<body>"), Field::BGColor,
         "#000000", "the page has no background colour tag"},
        {"no colour", font, Field::BGColor, "000000", "\"000000\" is not a colour"},
        {"colour breaking the tag", font, Field::BGColor, "#00\">00", "is not a colour"},
        {"size tag in capitals", replaced(font, "<font size=\"-1\">", "<FONT SIZE=\"-1\">"),
         Field::FontSize, "CSS - 60%", "not the converter's own"},
        {"size tag in capitals to font", replaced(font, "<font size=\"-1\">", "<FONT SIZE=\"-1\">"),
         Field::FontSize, "-2", "not the converter's own"},
        {"two-digit size", replaced(font, "<font size=\"-1\">", "<font size=\"-12\">"),
         Field::FontSize, "-2", "not the converter's own"},
        {"three-digit colour and css", replaced(font, "#0080FF", "#08F"), Field::FontSize,
         "CSS - 60%", "not the converter's own"},
        {"rule in capitals", replaced(css, " pre { ", " PRE { "), Field::FontSize, "-1",
         "not the converter's own"},
        {"second style block",
         replaced(css, "</style>",
                  "</style>\r\n<style type=\"text/css\">  pre { font-size: 30% }</style>"),
         Field::FontSize, "CSS - 40%", "not the converter's own"},
        {"second style block to font",
         replaced(css, "</style>", "</style>\r\n<style>  PRE { font-size: 30% }</style>"),
         Field::FontSize, "-1", "not the converter's own"},
        {"no size", font, Field::FontSize, "Unknown", "\"Unknown\" is not a font size"},
        {"size breaking the rule", css, Field::FontSize, "CSS - 1 } x", "is not a font size"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MosaicRow row = rowOf(c.page);
        switch (c.field) {
            case Field::Title:
                row.title = c.value;
                break;
            case Field::BGColor:
                row.bgColor = c.value;
                break;
            case Field::FontSize:
                row.fontSize = c.value;
                break;
        }
        row.markChanged();
        const PageRewrite r = rewritePage(c.page, row);
        ASSERT_EQ(r.fields.size(), 1u);
        EXPECT_FALSE(r.fields[0].taken);
        EXPECT_EQ(r.fields[0].field, c.field);
        EXPECT_NE(r.fields[0].why.find(c.why), std::string::npos) << r.fields[0].why;
        EXPECT_EQ(r.page, c.page);
    }
}

// ---- Saving to the file -----------------------------------------------------------------------

class SaveRowTest : public ::testing::Test {
  protected:
    testing::TempFolder folder{"tess-explorer-save"};
};

TEST_F(SaveRowTest, WritesTheRewriteAndMarksTheRowSaved) {
    const std::string page = converterPage("T", 0);
    const std::string path = folder.write("p.html", page);
    ::chmod(path.c_str(), 0640);
    MosaicRow row = rowOf(page);
    row.fontSize = "CSS - 60%";
    row.markChanged();
    Result<SaveReport> saved = saveRow(path, row);
    ASSERT_TRUE(saved.ok()) << saved.error().reason;
    EXPECT_TRUE(saved->written);
    EXPECT_TRUE(saved->allTaken());
    EXPECT_EQ(row.tag, "load");
    EXPECT_EQ(row.icon, 1);
    EXPECT_EQ(row.pageFontSize, "CSS - 60%");
    const std::string now = testing::readFileContents(path);
    EXPECT_EQ(now, rewritePage(page, withFontSize(page, "CSS - 60%")).page);
    EXPECT_EQ(now.substr(now.size() - 9), "</html>\r\n");  // no line end added
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"p.html"});
}

TEST_F(SaveRowTest, APartlyTakenEditKeepsTheRowChanged) {
    const std::string page = replaced(converterPage("T", 0), "<title>", "<TITLE>");
    const std::string path = folder.write("p.html", page);
    MosaicRow row = rowOf(page);
    row.title = "New";
    row.bgColor = "#FFFFFF";
    row.markChanged();
    Result<SaveReport> saved = saveRow(path, row);
    ASSERT_TRUE(saved.ok());
    EXPECT_TRUE(saved->written);
    EXPECT_FALSE(saved->allTaken());
    EXPECT_EQ(row.tag, "update");
    EXPECT_EQ(row.icon, 2);
    EXPECT_TRUE(row.titleEdited());
    EXPECT_FALSE(row.bgColorEdited());
    EXPECT_EQ(testing::readFileContents(path),
              replaced(page, "<body bgcolor=\"#0080FF\">", "<body bgcolor=\"#FFFFFF\">"));
}

TEST_F(SaveRowTest, AFailedWriteLeavesTheOldPage) {
    const std::string page = converterPage("T", 0);
    const std::string path = folder.write("p.html", page);
    // A file size limit stands for the full disk: the write fails part-way, for root too.
    EXPECT_EXIT(
        {
            const testing::FileSizeLimit limit(64);
            MosaicRow row = rowOf(page);
            row.title = "New";
            row.markChanged();
            Result<SaveReport> saved = saveRow(path, row);
            const bool reported = !saved.ok() && saved.error().code == errc::DiskFull &&
                                  saved.error().reason.find(path) != std::string::npos;
            if (!reported || row.tag != "update" || row.pageTitle != "T") {
                std::cerr << "the failed write was not reported";
                std::_Exit(1);
            }
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(testing::readFileContents(path), page);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"p.html"});
}

TEST_F(SaveRowTest, AMissingFileIsLeftAndSaysSo) {
    MosaicRow row;
    row.title = "x";
    row.markChanged();
    Result<SaveReport> saved = saveRow(folder.file("gone.html"), row);
    ASSERT_TRUE(saved.ok()) << saved.error().reason;
    EXPECT_EQ(saved->left, "it was deleted or moved after the scan");
    EXPECT_FALSE(saved->written);
    EXPECT_EQ(row.tag, "update");
    EXPECT_TRUE(folder.names().empty());
}

// A page of `length` bytes or a little more: the converter's page with rows of cells added before
// its trailer, so the save copies its rest in several pieces.
std::string largePage(std::int16_t fontSize, std::size_t length) {
    std::string page = converterPage("T", fontSize);
    const std::string row = [] {
        std::string cells;
        for (int i = 0; i < 24; ++i) {
            cells += "<font color=\"#1A2B3C\">%%%%</font>";
        }
        return cells + "\r\n";
    }();
    std::string rows;
    rows.reserve(length + row.size());
    while (rows.size() + page.size() < length) {
        rows += row;
    }
    page.insert(page.rfind("</pre></center>"), rows);
    return page;
}

// `text` written over the page's bytes at `at`.
std::string withTextAt(std::string page, std::size_t at, std::string_view text) {
    page.replace(at, text.size(), text);
    return page;
}

// The row of a page as a scan lists it, from its file.
MosaicRow scanned(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    std::optional<MosaicRow> row = scanPage(path.substr(0, slash), path.substr(slash + 1));
    EXPECT_TRUE(row.has_value()) << path;
    return row.value_or(MosaicRow{});
}

TEST_F(SaveRowTest, TheSavedFileIsTheRewriteByteForByte) {
    const std::size_t kFirst = 64 * 1024;   // what a save reads first
    const std::size_t kPiece = 256 * 1024;  // the pieces of the rest after it
    const std::string font = largePage(0, kFirst + 2 * kPiece + 5000);
    const std::string css = largePage(2, kFirst + 2 * kPiece + 5000);
    struct Case {
        std::string what;
        std::string page;
        std::string fontSize;  // the edit
    };
    std::vector<Case> cases = {
        {"font page to css", font, "CSS - 60%"},
        {"css page to font", css, "-2"},
        {"a small page", converterPage("T", 0), "CSS - 60%"},
        // The head ends after the first read: more lines before the picture.
        {"a long head",
         replaced(font, "<center><pre>", std::string(kFirst, ' ') + "\r\n<center><pre>"),
         "CSS - 60%"},
        // A value that runs over a line end: the rewrite needs the whole page.
        {"a colour over a line end", replaced(font, "#0080FF\">", "#00\n80FF\">"), "CSS - 60%"},
        {"no line end after the markup",
         font.substr(0, font.find("\r\n<font color")) + std::string(kFirst + kPiece, '#'),
         "CSS - 60%"},
    };
    // Markup written in the picture's cells makes the head reach that far; here it stands across
    // the ends of the save's reads, and at the end of the page.
    for (std::size_t end : {kFirst, kFirst + kPiece, kFirst + 2 * kPiece}) {
        for (std::size_t back : {0, 1, 2, 7, 8, 13, 22, 23, 24, 32, 33}) {
            const std::string at = std::to_string(end) + " - " + std::to_string(back);
            cases.push_back({"size tag at " + at,
                             withTextAt(font, end - back, "<font size=\"-2\">"), "CSS - 60%"});
            cases.push_back(
                {"rule at " + at, withTextAt(css, end - back, " pre { font-size: 9px }"), "-2"});
        }
    }
    cases.push_back({"size tag at the end",
                     withTextAt(font, font.size() - 40, "<font size=\"-2\">"), "CSS - 60%"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = folder.write("p.html", c.page);
        MosaicRow row = scanned(path);
        row.fontSize = c.fontSize;
        row.markChanged();
        const PageRewrite expected = rewritePage(c.page, row);
        Result<SaveReport> saved = saveRow(path, row);
        ASSERT_TRUE(saved.ok()) << saved.error().reason;
        ASSERT_EQ(saved->left, "");
        EXPECT_EQ(saved->written, expected.page != c.page);
        EXPECT_EQ(saved->allTaken(), expected.allTaken());
        const std::string now = testing::readFileContents(path);
        EXPECT_EQ(now.size(), expected.page.size());
        EXPECT_TRUE(now == expected.page)
            << "first difference at " << changedRange(expected.page, now).begin;
        EXPECT_EQ(folder.names(), std::vector<std::string>{"p.html"});
    }
}

TEST_F(SaveRowTest, AnEditThePageCannotTakeWritesNothingWhereverItsMarkupLies) {
    const std::string page = withTextAt(replaced(largePage(0, 3 << 20), "<title>", "<TITLE>"),
                                        (2 << 20) + 5, "<font size=\"-2\">");
    const std::string path = folder.write("p.html", page);
    MosaicRow row = scanned(path);
    row.title = "New";
    row.markChanged();
    Result<SaveReport> saved = saveRow(path, row);
    ASSERT_TRUE(saved.ok());
    EXPECT_FALSE(saved->written);
    EXPECT_FALSE(saved->allTaken());
    EXPECT_EQ(testing::readFileContents(path), page);
}

TEST_F(SaveRowTest, TheCreationTimeOutlivesTheSave) {
    const std::string page = converterPage("T", 0);
    const std::string path = folder.write("p.html", page);
    PageFile before;
    ASSERT_TRUE(before.open(path, false).ok());
    const std::optional<PageStamp::Time> created = before.created();
    ASSERT_TRUE(created.has_value());
    MosaicRow row = scanned(path);
    row.title = "New";
    row.markChanged();
    ASSERT_TRUE(saveRow(path, row).ok());

    PageFile after;
    ASSERT_TRUE(after.open(path, false).ok());
    // A new file, as the atomic replace makes it, which the row now names.
    EXPECT_FALSE(after.stamp().sameFile(before.stamp()));
    ASSERT_TRUE(row.stamp.has_value());
    EXPECT_TRUE(row.stamp->unchanged(after.stamp()));
    char kept[64];
    if (::getxattr(path.c_str(), PageFile::kCreatedAttribute, kept, sizeof kept) < 0 &&
        errno == ENOTSUP) {
        GTEST_SKIP() << "this file system keeps no user attributes";
    }
    ASSERT_TRUE(after.created().has_value());
    EXPECT_EQ(after.created()->seconds, created->seconds);
    EXPECT_EQ(after.created()->nanoseconds, created->nanoseconds);
    // And a second save keeps it again.
    row.title = "Newer";
    row.markChanged();
    ASSERT_TRUE(saveRow(path, row).ok());
    PageFile again;
    ASSERT_TRUE(again.open(path, false).ok());
    EXPECT_EQ(again.created()->seconds, created->seconds);
    EXPECT_EQ(again.created()->nanoseconds, created->nanoseconds);
}

TEST_F(SaveRowTest, OnlyThePageTheRowWasReadFromIsWritten) {
    const std::string page = converterPage("T", 0);
    const std::string other = converterPage("Other", 2);
    const std::string outside = folder.write("outside.html", other);
    struct Case {
        const char* what;
        std::function<void(const std::string& path)> change;  // between the scan and the save
        const char* left;
    };
    const Case cases[] = {
        {"nothing", [](const std::string&) {}, ""},
        {"gone", [](const std::string& path) { ::unlink(path.c_str()); },
         "it was deleted or moved after the scan"},
        {"another mosaic renamed over it",
         [&](const std::string& path) {
             ::rename(folder.write("o.html", other).c_str(), path.c_str());
         },
         "another file took its place after the scan"},
        {"a link to another mosaic",
         [&](const std::string& path) {
             ::unlink(path.c_str());
             ASSERT_EQ(::symlink(outside.c_str(), path.c_str()), 0);
         },
         "it is now a symbolic link to another file"},
        {"no mosaic any more",
         [](const std::string& path) {
             testing::writeFileContents(path, "<html><title>T</title></html>");
         },
         "it is no longer a mosaic page (it has no generator line)"},
        {"longer", [](const std::string& path) { ::truncate(path.c_str(), 100000); },
         "another program changed it after the scan"},
        {"a pipe",
         [](const std::string& path) {
             ::unlink(path.c_str());
             ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
         },
         "it is no longer a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = folder.write("p.html", page);
        MosaicRow row = scanned(path);
        row.bgColor = "#123456";
        row.markChanged();
        c.change(path);
        struct stat st {};
        const bool regular = ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
        const std::string there = regular ? testing::readFileContents(path) : std::string();
        Result<SaveReport> saved = saveRow(path, row);
        ASSERT_TRUE(saved.ok()) << saved.error().reason;
        EXPECT_EQ(saved->left, c.left);
        EXPECT_EQ(saved->written, std::string_view(c.left).empty());
        EXPECT_EQ(row.changed(), !std::string_view(c.left).empty());
        if (!std::string_view(c.left).empty() && regular) {
            EXPECT_EQ(testing::readFileContents(path), there);
        }
        EXPECT_EQ(testing::readFileContents(outside), other);
        ::unlink(path.c_str());
    }
}

TEST_F(SaveRowTest, ARowReadThroughALinkIsSavedThroughIt) {
    const std::string page = converterPage("T", 0);
    const std::string target = folder.write("target.html", page);
    const std::string link = folder.file("p.html");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    MosaicRow row = scanned(link);
    ASSERT_TRUE(row.stamp && row.stamp->link);
    row.title = "New";
    row.markChanged();
    Result<SaveReport> saved = saveRow(link, row);
    ASSERT_TRUE(saved.ok());
    EXPECT_EQ(saved->left, "");
    EXPECT_TRUE(saved->written);
    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(GetTitle(testing::readFileContents(target)), "New");

    // A link that now leads to another file is not followed there.
    const std::string other = folder.write("other.html", converterPage("Other", 0));
    ::unlink(link.c_str());
    ASSERT_EQ(::symlink(other.c_str(), link.c_str()), 0);
    row.title = "Newer";
    row.markChanged();
    saved = saveRow(link, row);
    ASSERT_TRUE(saved.ok());
    EXPECT_EQ(saved->left, "another file took its place after the scan");
    EXPECT_EQ(GetTitle(testing::readFileContents(other)), "Other");
}

TEST_F(SaveRowTest, AnotherUsersLinkInASharedFolderIsNotSavedThrough) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may give a link to another user";
    }
    const std::string page = converterPage("T", 0);
    const std::string target = folder.write("target.html", page);
    const std::string shared = folder.file("shared");
    ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 0777), 0);
    const std::string link = shared + "/p.html";
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    ASSERT_EQ(::lchown(link.c_str(), 65534, 65534), 0);
    MosaicRow row = scanned(link);
    row.title = "New";
    row.markChanged();
    Result<SaveReport> saved = saveRow(link, row);
    ASSERT_FALSE(saved.ok());
    EXPECT_NE(saved.error().reason.find("the symbolic link \"" + link +
                                        "\" belongs to another user (uid 65534)"),
              std::string::npos)
        << saved.error().reason;
    EXPECT_EQ(testing::readFileContents(target), page);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"shared", "target.html"}));
    EXPECT_TRUE(row.changed());
}

}  // namespace
}  // namespace tess::explorer
