#pragma once

// The readers' corpus tests' side of an Outcome (test code only: it needs GoogleTest).
#include <gtest/gtest.h>

#include <string_view>

#include "CheckOutcome.h"
#include "platform/testing/Corpus.h"

namespace tess::fuzzcheck {

// No rule broken, and the file read or refused as its name asks.
inline void expectKeepsTheRules(std::string_view fileName, const Outcome& outcome) {
    EXPECT_EQ(outcome.broken, "");
    EXPECT_NE(testing::corpusExpectation(fileName),
              outcome.read ? testing::CorpusExpectation::Refused : testing::CorpusExpectation::Read)
        << outcome.what;
}

}  // namespace tess::fuzzcheck
