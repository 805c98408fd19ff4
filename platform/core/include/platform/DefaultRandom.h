#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "platform/Random.h"

namespace tess {

// The program's random generator: xoshiro128+ with its state filled by splitmix64. next() takes
// the top 24 bits of a draw, so every value is an exact float in [0, 1), never 1.
//
// reseed() mixes the entropy into the current state instead of replacing it. Callers reseed from
// the clock before every draw; a clock that has not moved since the last reseed must still give
// fresh values, which a restart from the entropy alone would not.
//
// The class is final and its draws are inline, so a caller that holds a DefaultRandom (the mosaic
// writer's random modes, one reseed and draw per cell) pays no call for them.
class DefaultRandom final : public Random {
  public:
    // The same seed gives the same sequence, as the runtime's generator does before any reseed.
    explicit DefaultRandom(std::uint64_t seed = 0x5EED'7E55'A1E7'0001ull);

    [[gnu::always_inline]] float next() override {
        // The low bits of xoshiro128+ are its weakest; 24 high bits fill a float's mantissa.
        return static_cast<float>(nextBits() >> 8) * 0x1.0p-24f;
    }

    void fill(float* out, std::size_t count) override {
        for (std::size_t i = 0; i < count; ++i) {
            out[i] = next();
        }
    }

    [[gnu::always_inline]] void reseed(std::uint64_t entropy) override {
        // The entropy is spread over 64 bits by an odd multiplier (a bijection) and added to the
        // state, word by word. Neither step waits on the state, so a reseed costs the generator
        // four additions. Adding (not replacing) keeps every state distinct, and a second reseed
        // with the same value moves the state on instead of undoing the first. No zero test: the
        // state only becomes zero when all 128 bits cancel, and the next reseed moves it off.
        const std::uint64_t k = (entropy + kGolden) * kOdd;
        const std::uint64_t k2 = std::rotl(k, 32) ^ kGolden;
        state_[0] += static_cast<std::uint32_t>(k);
        state_[1] += static_cast<std::uint32_t>(k >> 32);
        state_[2] += static_cast<std::uint32_t>(k2);
        state_[3] += static_cast<std::uint32_t>(k2 >> 32);
    }

    // The integer part of (next() × n) for 0 < n ≤ 256, the same value computed without floating
    // point: the draw's 24 bits times n, divided by 2^24.
    [[gnu::always_inline]] std::uint32_t below(std::uint32_t n) {
        return ((nextBits() >> 8) * n) >> 24;
    }

  private:
    static constexpr std::uint64_t kGolden = 0x9E37'79B9'7F4A'7C15ull;
    static constexpr std::uint64_t kOdd = 0xBF58'476D'1CE4'E5B9ull;

    // The splitmix64 finaliser: a bijection on 64-bit values with good avalanche.
    static constexpr std::uint64_t mix64(std::uint64_t z) {
        z = (z ^ (z >> 30)) * 0xBF58'476D'1CE4'E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D0'49BB'1331'11EBull;
        return z ^ (z >> 31);
    }

    [[gnu::always_inline]] std::uint32_t nextBits() {
        auto& s = state_;
        const std::uint32_t result = s[0] + s[3];
        const std::uint32_t t = s[1] << 9;
        s[2] ^= s[0];
        s[3] ^= s[1];
        s[1] ^= s[2];
        s[0] ^= s[3];
        s[2] ^= t;
        s[3] = std::rotl(s[3], 11);
        return result;
    }

    std::array<std::uint32_t, 4> state_{};
};

}  // namespace tess
