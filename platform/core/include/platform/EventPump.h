#pragma once

namespace tess {

// Lets a long handler give the event loop a turn, so its window stays responsive and its button can
// cancel it.
class EventPump {
public:
    virtual ~EventPump() = default;
    // Processes pending events now.
    virtual void doEvents() = 0;
    // Processes pending events only when enough time has passed since the last turn; cheap enough
    // to call after every cell of a mosaic.
    virtual void yield() = 0;
};

}  // namespace tess
