#include "platform/DefaultRandom.h"

namespace tess {

DefaultRandom::DefaultRandom(std::uint64_t seed) {
    std::uint64_t sm = seed;
    for (std::size_t i = 0; i < state_.size(); i += 2) {
        sm += kGolden;
        const std::uint64_t z = mix64(sm);
        state_[i] = static_cast<std::uint32_t>(z);
        state_[i + 1] = static_cast<std::uint32_t>(z >> 32);
    }
    // The one state xoshiro never leaves.
    if (state_ == std::array<std::uint32_t, 4>{})
        state_[0] = 1;
}

}  // namespace tess
