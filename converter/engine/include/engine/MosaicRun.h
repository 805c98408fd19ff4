#pragma once

#include <cstdint>

#include "engine/MosaicOptions.h"
#include "engine/MosaicTarget.h"
#include "engine/MosaicWriter.h"
#include "engine/RunResult.h"
#include "engine/SpeedLog.h"
#include "platform/Clock.h"
#include "platform/Picture.h"
#include "platform/Random.h"
#include "platform/Result.h"

namespace tess {

// What a window hooks into a run. Pass a final class (or any type with these three members) to
// runMosaic so that the calls inline; the cell hook runs once per pixel.
class RunHooks {
  public:
    virtual ~RunHooks() = default;
    // After every cell, at "Normal" priority only (the window yields here). `cellsWritten` is the
    // new ProgressPos; at "High" priority nothing can look at it before the row ends.
    virtual void afterCell(std::int32_t cellsWritten) = 0;
    // After every row end (the window draws the bar and yields here).
    virtual void afterRow(std::int32_t cellsWritten) = 0;
    // Asked after every row, the last one included: true ends the run as cancelled.
    virtual bool cancelRequested() = 0;
};

// Hooks of a run nobody watches.
class NoHooks final : public RunHooks {
  public:
    void afterCell(std::int32_t) override {}
    void afterRow(std::int32_t) override {}
    bool cancelRequested() override { return false; }
};

// The services a run draws on; the clock gives the log's times and the reseeds' entropy.
struct RunServices {
    Clock& clock;
    Random& random;
    // The "/speedlog" log; null or switched off writes no record (the result still holds it).
    const SpeedLog* speedLog = nullptr;
};

// One mosaic run: the head, every row of the picture with a row end after each, then the complete
// trailer, or the cancelled one after the row at whose end the hooks asked for the cancel. A
// failure of the target (the file cannot be created or written) ends the run with an Error naming
// the path and the reason; an existing page at that path is then left as it was. A clipboard page
// that memory cannot hold ends it with errc::OutOfMemory.
template <class Hooks>
Result<RunResult> runMosaic(const Picture& picture, const MosaicOptions& options,
                            const MosaicTarget& target, const RunServices& services, Hooks& hooks) {
    MosaicWriter writer(picture, options, services.clock, services.random);
    if (Status started = writer.begin(target); !started) {
        return started.error();
    }
    const bool cellHook = options.Priority == RunPriority::Normal;
    bool cancelled = false;
    for (int y = 0; y < writer.rows(); ++y) {
        if (cellHook) {
            writer.writeRow(y, [&hooks](std::int32_t cells) { hooks.afterCell(cells); });
        } else {
            writer.writeRow(y, [](std::int32_t) {});
        }
        if (Status ended = writer.endRow(); !ended) {
            return ended.error();
        }
        hooks.afterRow(writer.cellsWritten());
        if (hooks.cancelRequested()) {
            cancelled = true;
            break;
        }
    }
    return writer.finish(cancelled, services.speedLog);
}

}  // namespace tess
