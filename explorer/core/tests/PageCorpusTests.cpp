#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "ExplorerTestSupport.h"
#include "PageChecks.h"
#include "explorer/MosaicScan.h"
#include "explorer/PageReader.h"
#include "explorer/PageRewriter.h"
#include "platform/testing/Corpus.h"
#include "platform/testing/TempFolder.h"

namespace tess::explorer {
namespace {

// The fuzz target's rules over the small pages kept beside the tests: converter pages, pages the
// explorer switched, and pages cut, capitalised or holding stray bytes.
TEST(PageCorpus, EveryKeptPageKeepsTheReadersAndTheRewriterRules) {
    const std::vector<std::string> files = testing::corpusFileNames(TESS_PAGE_CORPUS);
    ASSERT_FALSE(files.empty());
    for (const std::string& file : files) {
        const std::string bytes = testing::readFileContents(TESS_PAGE_CORPUS "/" + file);
        ASSERT_FALSE(bytes.empty()) << file;
        EXPECT_EQ(pagecheck::checkPage(bytes), "") << file;
        // Every cut of the page's head too: a file may end anywhere.
        for (std::size_t cut = 0; cut < std::min<std::size_t>(bytes.size(), 700); cut += 7) {
            EXPECT_EQ(pagecheck::checkPage(std::string_view(bytes).substr(0, cut)), "")
                << file << " cut at " << cut;
        }
    }
}

// Each kept mosaic page with a picture long enough that a save copies it in pieces: the saved
// file is the rewrite of the page, byte for byte, for every edit the fuzz target makes, wherever
// the page's markup lies.
TEST(PageCorpus, EveryKeptMosaicPageWithALongPictureSavesAsItsRewrite) {
    std::string cells;
    while (cells.size() < 400 * 1024) {
        cells += "<font color=\"#1A2B3C\">##</font><font color=\"#FFFFFF\">$$</font>\r\n";
    }
    testing::TempFolder folder("tess-explorer-corpus-save");
    int saved = 0;
    for (const std::string& file : testing::corpusFileNames(TESS_PAGE_CORPUS)) {
        std::string page = testing::readFileContents(TESS_PAGE_CORPUS "/" + file);
        if (!IsMosaicPage(std::string_view(page).substr(0, kHeadBytes))) {
            continue;
        }
        // The cells go in after the picture's first line, so what the page holds after that
        // line (more markup among them) comes after the first pieces.
        const std::size_t picture = page.find("<center><pre>");
        const std::size_t line = page.find('\n', picture == std::string::npos ? 0 : picture);
        std::string longer = page;
        longer.insert(line == std::string::npos ? page.size() : line + 1, cells);
        // Where the cells would push the generator line out of the head, they go at the end.
        page = IsMosaicPage(std::string_view(longer).substr(0, kHeadBytes)) ? longer : page + cells;
        for (const pagecheck::detail::Edit& edit : pagecheck::detail::kEdits) {
            SCOPED_TRACE(file + ", edit " + (edit.title ? edit.title : "-") + " " +
                         (edit.colour ? edit.colour : "-") + " " + (edit.size ? edit.size : "-"));
            const std::string path = folder.write("p.html", page);
            std::optional<MosaicRow> row = scanPage(folder.path(), "p.html");
            ASSERT_TRUE(row.has_value());
            row->title = edit.title ? edit.title : row->title;
            row->bgColor = edit.colour ? edit.colour : row->bgColor;
            row->fontSize = edit.size ? edit.size : row->fontSize;
            row->markChanged();
            const PageRewrite expected = rewritePage(page, *row);
            Result<SaveReport> report = saveRow(path, *row);
            ASSERT_TRUE(report.ok()) << report.error().reason;
            EXPECT_EQ(report->left, "");
            EXPECT_EQ(report->written, expected.page != page);
            EXPECT_TRUE(testing::readFileContents(path) == expected.page);
            ++saved;
        }
    }
    EXPECT_GT(saved, 0);
}

// The converter's pages of today keep the rules too, whatever its template became.
TEST(PageCorpus, TheConverterPagesKeepTheRules) {
    for (std::int16_t size = 0; size <= 8; ++size) {
        EXPECT_EQ(pagecheck::checkPage(explorertest::converterPage("a &amp; <b> pre { ", size)), "")
            << size;
    }
}

}  // namespace
}  // namespace tess::explorer
