#include "platform/DefaultRandom.h"

#include <bit>

namespace tess {

namespace {

constexpr std::uint64_t kGolden = 0x9E37'79B9'7F4A'7C15ull;

// The splitmix64 finaliser: a bijection on 64-bit values with good avalanche.
constexpr std::uint64_t mix64(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58'476D'1CE4'E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D0'49BB'1331'11EBull;
    return z ^ (z >> 31);
}

}  // namespace

DefaultRandom::DefaultRandom(std::uint64_t seed) {
    std::uint64_t sm = seed;
    for (std::size_t i = 0; i < state_.size(); i += 2) {
        sm += kGolden;
        const std::uint64_t z = mix64(sm);
        state_[i] = static_cast<std::uint32_t>(z);
        state_[i + 1] = static_cast<std::uint32_t>(z >> 32);
    }
    if (state_ == std::array<std::uint32_t, 4>{})
        state_[0] = 1;
}

std::uint32_t DefaultRandom::nextBits() {
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

float DefaultRandom::next() {
    // The low bits of xoshiro128+ are its weakest; 24 high bits fill a float's mantissa exactly.
    return static_cast<float>(nextBits() >> 8) * 0x1.0p-24f;
}

void DefaultRandom::reseed(std::uint64_t entropy) {
    // Each half of the state goes through a bijection keyed by the entropy (and the second by the
    // new first half), so no two states collapse into one and reseeding again with the same value
    // moves the state on instead of undoing the last reseed.
    const std::uint64_t lo = static_cast<std::uint64_t>(state_[1]) << 32 | state_[0];
    const std::uint64_t hi = static_cast<std::uint64_t>(state_[3]) << 32 | state_[2];
    const std::uint64_t newLo = mix64(lo ^ mix64(entropy + kGolden));
    const std::uint64_t newHi = mix64(hi + newLo);
    state_ = {static_cast<std::uint32_t>(newLo), static_cast<std::uint32_t>(newLo >> 32),
              static_cast<std::uint32_t>(newHi), static_cast<std::uint32_t>(newHi >> 32)};
    if (state_ == std::array<std::uint32_t, 4>{})
        state_[0] = 1;
}

}  // namespace tess
