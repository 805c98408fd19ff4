#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <stdexcept>
#include <vector>

#include "platform/Parallel.h"

namespace tess {
namespace {

TEST(OnEveryCore, RunsEveryItemOnce) {
    for (std::size_t count : {0u, 1u, 7u, 1000u}) {
        std::vector<std::atomic<int>> runs(count);
        onEveryCore(count, [&](std::size_t i) { ++runs[i]; });
        for (std::size_t i = 0; i < count; ++i)
            EXPECT_EQ(runs[i].load(), 1) << "item " << i << " of " << count;
    }
}

TEST(OnEveryCore, AnItemsExceptionReachesTheCallerAfterEveryThreadStopped) {
    std::atomic<int> running{0};
    std::atomic<int> finished{0};
    EXPECT_THROW(onEveryCore(200,
                             [&](std::size_t i) {
                                 ++running;
                                 if (i == 3)
                                     throw std::runtime_error("item 3");
                                 ++finished;
                                 --running;
                             }),
                 std::runtime_error);
    // Only the item that threw is still counted as running: no thread outlives the call.
    EXPECT_EQ(running.load(), 1);
    EXPECT_LT(finished.load(), 200);
}

TEST(InRowBands, TheBandsCoverEveryRowOnceInOrderWithinABand) {
    struct Case {
        int rows;
        std::size_t rowPixels;
    };
    // Small pictures in one call; large ones in bands; more bands than rows never.
    const Case cases[] = {{0, 100},      {1, 10},      {300, 200},
                          {3, 1u << 20}, {6000, 8000}, {1, 1u << 22}};
    for (const Case& c : cases) {
        std::vector<std::atomic<int>> seen(static_cast<std::size_t>(c.rows));
        std::atomic<int> calls{0};
        inRowBands(c.rows, c.rowPixels, [&](int first, int end) {
            ++calls;
            EXPECT_LT(first, end);
            for (int y = first; y < end; ++y)
                ++seen[static_cast<std::size_t>(y)];
        });
        for (int y = 0; y < c.rows; ++y)
            EXPECT_EQ(seen[static_cast<std::size_t>(y)].load(), 1) << c.rows << " rows, row " << y;
        if (static_cast<std::size_t>(c.rows) * c.rowPixels < (1u << 20)) {
            EXPECT_LE(calls.load(), 1) << c.rows << " rows";
        }
        EXPECT_LE(calls.load(), c.rows);
    }
}

}  // namespace
}  // namespace tess
