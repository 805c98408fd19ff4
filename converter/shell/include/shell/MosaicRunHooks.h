#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "engine/MosaicRun.h"
#include "platform/EventPump.h"

namespace tess {

// What the main window hooks into its mosaic run. The cell hook is the only per-pixel cost: one
// store of the progress and the pump's countdown. The row hook and the cancel test are the
// window's own steps, called once a row.
class MosaicRunHooks final : public RunHooks {
  public:
    MosaicRunHooks(EventPump& pump, std::int32_t& progressPos, std::function<void()> rowEnded,
                   std::function<bool()> cancelTest)
        : pump_(pump),
          progressPos_(progressPos),
          rowEnded_(std::move(rowEnded)),
          cancelTest_(std::move(cancelTest)) {}

    // The turn comes before the count, so what a paint sees during it is the cells before this one.
    void afterCell(std::int32_t cellsWritten) override {
        pump_.yield();
        progressPos_ = cellsWritten;
    }
    void afterRow(std::int32_t cellsWritten) override {
        progressPos_ = cellsWritten;
        rowEnded_();
    }
    bool cancelRequested() override { return cancelTest_(); }

  private:
    EventPump& pump_;
    std::int32_t& progressPos_;
    std::function<void()> rowEnded_;
    std::function<bool()> cancelTest_;
};

}  // namespace tess
