// Every file of the settings corpus goes through the fuzz target's rules: any file is read, and
// what it gave comes back the same after the writer has stored it.
#include <gtest/gtest.h>

#include <string>

#include "CorpusExpect.h"
#include "SettingsChecks.h"
#include "platform/testing/Corpus.h"
#include "platform/testing/TempFolder.h"

namespace tess::qt {
namespace {

class SettingsCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(SettingsCorpus, ReadsAndComesBackAfterWriting) {
    const std::string bytes = tess::testing::readFileContents(SETTINGS_CORPUS_DIR "/" + GetParam());
    fuzzcheck::expectKeepsTheRules(GetParam(), fuzzcheck::checkSettings(bytes));
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsCorpus,
                         ::testing::ValuesIn(tess::testing::corpusFileNames(SETTINGS_CORPUS_DIR)),
                         [](const auto& file) {
                             return tess::testing::corpusTestName(file.param);
                         });

}  // namespace
}  // namespace tess::qt
