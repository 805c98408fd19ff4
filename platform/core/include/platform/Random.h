#pragma once

#include <cstddef>
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
    // The next `count` numbers of the sequence, in order, exactly what as many calls of next()
    // give; for callers that draw by the million, so a generator can hand them out without a
    // call per number.
    virtual void fill(float* out, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            out[i] = next();
        }
    }
};

}  // namespace tess
