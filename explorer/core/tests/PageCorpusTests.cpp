#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ExplorerTestSupport.h"
#include "PageChecks.h"
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

// The converter's pages of today keep the rules too, whatever its template became.
TEST(PageCorpus, TheConverterPagesKeepTheRules) {
    for (std::int16_t size = 0; size <= 8; ++size) {
        EXPECT_EQ(pagecheck::checkPage(explorertest::converterPage("a &amp; <b> pre { ", size)), "")
            << size;
    }
}

}  // namespace
}  // namespace tess::explorer
