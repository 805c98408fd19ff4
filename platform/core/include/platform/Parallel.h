#pragma once

#include <cstddef>
#include <functional>

namespace tess {

// Runs work(0) .. work(count - 1), each once, spread over the processor's cores: the calling
// thread takes part, and the items go to whichever thread is free next. Where no thread can be
// started the caller does them all. The items must not depend on one another's order. When an
// item throws, the items not yet begun are left out and the first exception is thrown here once
// every thread has stopped.
void onEveryCore(std::size_t count, const std::function<void(std::size_t)>& work);

// Splits the rows [0, rows) into bands and runs work(first, end) for each, on every core when
// the rows hold enough pixels (rows * rowPixels) to repay the threads, else in one call on this
// thread. A writer of fresh picture memory gains most: the system clears each page on first
// touch, and the cores do that side by side.
void inRowBands(int rows, std::size_t rowPixels, const std::function<void(int, int)>& work);

// Told of each row a drawing in bands has finished, on the thread that drew it, while the row is
// still in that core's cache; rows of different bands are finished side by side.
using RowFinished = std::function<void(int row)>;

}  // namespace tess
