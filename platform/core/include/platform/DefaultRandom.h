#pragma once

#include <array>
#include <cstdint>

#include "platform/Random.h"

namespace tess {

// The program's random generator: xoshiro128+ with its state filled by splitmix64. next() takes
// the top 24 bits of a draw, so every value is an exact float in [0, 1), never 1.
//
// reseed() mixes the entropy into the current state through a bijective hash instead of replacing
// the state. Callers reseed from the clock before every draw; a clock that has not moved since the
// last reseed must still give fresh values, which a restart from the entropy alone would not.
class DefaultRandom : public Random {
  public:
    // The same seed gives the same sequence, as the runtime's generator does before any reseed.
    explicit DefaultRandom(std::uint64_t seed = 0x5EED'7E55'A1E7'0001ull);

    float next() override;
    void reseed(std::uint64_t entropy) override;

  private:
    std::uint32_t nextBits();

    std::array<std::uint32_t, 4> state_{};
};

}  // namespace tess
