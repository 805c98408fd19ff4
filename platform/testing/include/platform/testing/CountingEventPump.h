#pragma once

#include <functional>
#include <utility>

#include "platform/EventPump.h"

namespace tess::testing {

// An event pump that processes nothing and counts the turns it was given. A test stands in for
// the user with a callback that runs on each turn, after the count is updated, e.g. pressing the
// run's button on the third yield:
//     pump.setOnYield([&] { if (pump.yieldCount() == 3) window.Command2_Click(); });
class CountingEventPump : public EventPump {
  public:
    void doEvents() override;

    int doEventsCount() const { return doEventsCount_; }
    int yieldCount() const { return yieldCount_; }
    // Both kinds of turn.
    int turnCount() const { return doEventsCount_ + yieldCount_; }

    void setOnYield(std::function<void()> callback) { onYield_ = std::move(callback); }
    void setOnDoEvents(std::function<void()> callback) { onDoEvents_ = std::move(callback); }

  protected:
    // Every yield is a turn here, so tests see each one.
    void yieldCheck() override;

  private:
    int doEventsCount_ = 0;
    int yieldCount_ = 0;
    std::function<void()> onYield_;
    std::function<void()> onDoEvents_;
};

}  // namespace tess::testing
