#include "platform/Parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace tess {

namespace {

std::size_t cores() {
    return std::max(1u, std::thread::hardware_concurrency());
}

// Below this many pixels a band's work is shorter than starting a thread.
constexpr std::size_t kPixelsWorthThreads = std::size_t{1} << 20;
// Bands per core, so a core slowed by other work holds the rest back less.
constexpr std::size_t kBandsPerCore = 4;

}  // namespace

void onEveryCore(std::size_t count, const std::function<void(std::size_t)>& work) {
    std::atomic<std::size_t> next{0};
    std::mutex failedLock;
    std::exception_ptr failed;
    auto take = [&] {
        try {
            for (std::size_t i; (i = next.fetch_add(1)) < count;)
                work(i);
        } catch (...) {
            // The other threads stop taking items; the first exception reaches the caller.
            next = count;
            const std::lock_guard<std::mutex> hold(failedLock);
            if (!failed)
                failed = std::current_exception();
        }
    };
    const std::size_t threads = std::min(count, cores());
    std::vector<std::thread> helpers;
    if (threads > 1) {
        helpers.reserve(threads - 1);
        try {
            for (std::size_t t = 1; t < threads; ++t)
                helpers.emplace_back(take);
        } catch (const std::system_error&) {
            // Fewer threads only take longer.
        }
    }
    take();
    for (std::thread& helper : helpers)
        helper.join();
    if (failed)
        std::rethrow_exception(failed);
}

void inRowBands(int rows, std::size_t rowPixels, const std::function<void(int, int)>& work) {
    if (rows <= 0)
        return;
    const auto count = static_cast<std::size_t>(rows);
    if (count * rowPixels < kPixelsWorthThreads || cores() == 1) {
        work(0, rows);
        return;
    }
    const std::size_t bands = std::min(count, cores() * kBandsPerCore);
    onEveryCore(bands, [&](std::size_t band) {
        work(static_cast<int>(count * band / bands), static_cast<int>(count * (band + 1) / bands));
    });
}

}  // namespace tess
