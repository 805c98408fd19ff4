#include "platform/Ring.h"

#include <algorithm>

#include "CircleWalk.h"

namespace tess {

Ring::Ring(int radius) : radius_(radius) {
    if (radius < 0) {
        return;
    }
    walkCircle(radius, [this](std::int64_t dx, std::int64_t dy) {
        offsets_.push_back({static_cast<int>(dx), static_cast<int>(dy)});
    });
    std::sort(offsets_.begin(), offsets_.end());
    offsets_.erase(std::unique(offsets_.begin(), offsets_.end()), offsets_.end());
}

}  // namespace tess
