#pragma once

#include <cstdint>

namespace tess {

// The program-wide random sequence: uniform values in [0, 1).
class Random {
  public:
    virtual ~Random() = default;
    virtual float next() = 0;
    // "Reseed from the timer": mixes the value into the state. It never restarts the sequence, so
    // two reseeds within one clock tick do not repeat the same draws.
    virtual void reseed(std::uint64_t entropy) = 0;
};

}  // namespace tess
