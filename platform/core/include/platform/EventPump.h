#pragma once

namespace tess {

// Lets a long handler give the event loop a turn, so its window stays responsive and its button can
// cancel it.
class EventPump {
  public:
    virtual ~EventPump() = default;

    // Processes pending events now.
    virtual void doEvents() = 0;

    // Gives the event loop a turn only now and then; cheap enough to call after every cell of a
    // mosaic. Most calls only count down: the countdown is not virtual so the common path costs a
    // decrement and a branch, and only every `callsPerCheck` calls does the pump decide
    // (yieldCheck).
    void yield() {
        if (--callsUntilCheck_ > 0)
            return;
        callsUntilCheck_ = callsPerCheck_;
        yieldCheck();
    }

  protected:
    explicit EventPump(int callsPerCheck = 1)
        : callsPerCheck_(callsPerCheck < 1 ? 1 : callsPerCheck), callsUntilCheck_(callsPerCheck_) {}

    // Called on every `callsPerCheck`-th yield: processes events when the pump thinks it is time.
    virtual void yieldCheck() = 0;
    // Starts the countdown afresh (after events were just processed).
    void restartCountdown() { callsUntilCheck_ = callsPerCheck_; }

  private:
    int callsPerCheck_;
    int callsUntilCheck_;
};

}  // namespace tess
