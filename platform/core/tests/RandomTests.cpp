#include <gtest/gtest.h>

#include <array>
#include <set>

#include "platform/DefaultRandom.h"

namespace tess {
namespace {

// Counts of floor(r * n) over many draws, each check failing on an empty or lopsided bucket.
template <std::size_t N, class Draw>
void expectEvenBuckets(Draw draw, int draws) {
    std::array<int, N> counts{};
    for (int i = 0; i < draws; ++i) {
        const float r = draw();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        ++counts[static_cast<std::size_t>(r * static_cast<float>(N))];
    }
    const double expected = static_cast<double>(draws) / N;
    for (std::size_t b = 0; b < N; ++b) {
        EXPECT_GT(counts[b], expected * 0.9) << "bucket " << b;
        EXPECT_LT(counts[b], expected * 1.1) << "bucket " << b;
    }
}

TEST(DefaultRandom, DrawsAreInRangeAndFillEveryLetter) {
    DefaultRandom random;
    expectEvenBuckets<26>([&] { return random.next(); }, 260'000);
}

TEST(DefaultRandom, FillHandsOutTheSequenceAsNextDoes) {
    DefaultRandom one(9), batch(9);
    std::array<float, 1000> drawn{};
    batch.fill(drawn.data(), 600);
    batch.fill(drawn.data() + 600, 400);
    for (float v : drawn)
        EXPECT_EQ(v, one.next());
    EXPECT_EQ(batch.next(), one.next());
}

TEST(DefaultRandom, SameSeedGivesSameSequenceAndOtherSeedsDiffer) {
    DefaultRandom a(42), b(42), c(43);
    int differences = 0;
    for (int i = 0; i < 100; ++i) {
        const float va = a.next();
        EXPECT_EQ(va, b.next());
        differences += va != c.next();
    }
    EXPECT_GT(differences, 95);
}

// Callers reseed from a clock before every draw; within one clock tick the entropy repeats.
TEST(DefaultRandom, ReseedingWithTheSameValueKeepsGivingNewDraws) {
    DefaultRandom random;
    std::set<float> seen;
    for (int i = 0; i < 1000; ++i) {
        random.reseed(12345);
        seen.insert(random.next());
    }
    EXPECT_GT(seen.size(), 990u);
}

TEST(DefaultRandom, ReseedTwiceInARowMovesTheStateOn) {
    DefaultRandom once, twice;
    once.reseed(7);
    twice.reseed(7);
    twice.reseed(7);
    int differences = 0;
    for (int i = 0; i < 20; ++i)
        differences += once.next() != twice.next();
    EXPECT_GT(differences, 15);
}

TEST(DefaultRandom, ReseedKeepsHistoryRatherThanRestartingFromTheEntropy) {
    DefaultRandom a(1), b(2);
    a.reseed(99);
    b.reseed(99);
    int differences = 0;
    for (int i = 0; i < 20; ++i)
        differences += a.next() != b.next();
    EXPECT_GT(differences, 15);
}

TEST(DefaultRandom, ReseededDrawsStayEvenlySpread) {
    DefaultRandom random;
    std::uint64_t tick = 0;
    int calls = 0;
    // The clock moves once every 50 draws, as a millisecond timer does in a fast loop.
    expectEvenBuckets<10>(
        [&] {
            if (++calls % 50 == 0)
                ++tick;
            random.reseed(tick);
            return random.next();
        },
        100'000);
}

}  // namespace
}  // namespace tess

namespace tess {
namespace {

// The random modes draw with below(n); it must give exactly the integer part of next() × n.
TEST(DefaultRandom, BelowIsTheIntegerPartOfTheDrawTimesN) {
    for (std::uint32_t n : {2u, 10u, 26u, 94u, 256u}) {
        DefaultRandom a(n), b(n);
        for (int i = 0; i < 10'000; ++i) {
            const auto expected = static_cast<std::uint32_t>(static_cast<double>(a.next()) * n);
            ASSERT_EQ(b.below(n), expected) << "n " << n << " draw " << i;
        }
    }
}

}  // namespace
}  // namespace tess
