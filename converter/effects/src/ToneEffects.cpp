#include "effects/ToneEffects.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "PixelLoops.h"
#include "effects/ColourHelpers.h"

namespace tess::fx {

namespace {

constexpr int kStep = 10;

// Brighten and Darken, without a branch per pixel. What the three passes do to a pixel depends
// only on how many whole steps each component has room for: red can take at most one step (pass
// 1), green two (passes 1 and 2), blue three. So each component's room, capped there, picks one
// of 2 x 3 x 4 cases, and each case has a fixed change of the whole colour.
class StepTables {
  public:
    // roomOf(c): how many steps fit between c and the limit (up to 3).
    template <class Room>
    constexpr explicit StepTables(Room roomOf) {
        for (int c = 0; c < 256; ++c) {
            const int room = roomOf(c);
            red_[c] = static_cast<std::uint8_t>(std::min(room, 1) * 12);
            green_[c] = static_cast<std::uint8_t>(std::min(room, 2) * 4);
            blue_[c] = static_cast<std::uint8_t>(std::min(room, 3));
        }
        for (int r = 0; r <= 1; ++r) {
            for (int g = 0; g <= 2; ++g) {
                for (int b = 0; b <= 3; ++b)
                    change_[r * 12 + g * 4 + b] = changeOf(r, g, b);
            }
        }
    }

    // The change of a pixel in whole steps per component, packed like a colour.
    std::uint32_t change(std::uint32_t c) const {
        return change_[red_[c & 0xFF] + green_[(c >> 8) & 0xFF] + blue_[c >> 16]];
    }

  private:
    // The passes, on the rooms left after each step: pass 1 tries red, green, blue; pass 2 green,
    // blue; pass 3 blue. Each takes the first component that has room.
    static constexpr std::uint32_t changeOf(int r, int g, int b) {
        int dr = 0;
        int dg = 0;
        int db = 0;
        if (r > 0) {
            ++dr;
        } else if (g > 0) {
            ++dg;
        } else if (b > 0) {
            ++db;
        }
        if (g - dg > 0) {
            ++dg;
        } else if (b - db > 0) {
            ++db;
        }
        if (b - db > 0)
            ++db;
        return static_cast<std::uint32_t>(kStep * (dr + 256 * dg + 65536 * db));
    }

    std::array<std::uint8_t, 256> red_{};
    std::array<std::uint8_t, 256> green_{};
    std::array<std::uint8_t, 256> blue_{};
    std::array<std::uint32_t, 24> change_{};
};

// A component that has room for a step is never carried past the limit, so adding (or taking)
// the packed change never crosses from one component into the next.
constexpr StepTables kBrighten([](int c) { return (255 - c) / kStep; });
constexpr StepTables kDarken([](int c) { return c / kStep; });

EffectOutput contrast(EffectContext& context, int amount) {
    mapPixelsInto(context.picture, context.scratch, [amount](std::uint32_t c) {
        const auto r = static_cast<int>(c & 0xFF);
        const auto g = static_cast<int>((c >> 8) & 0xFF);
        const auto b = static_cast<int>(c >> 16);
        return static_cast<std::uint32_t>(adjustComponent(r, amount) +
                                          256 * adjustComponent(g, amount) +
                                          65536 * adjustComponent(b, amount));
    });
    return EffectOutput::Scratch;
}

}  // namespace

EffectOutput brighten(EffectContext& context) {
    mapPixels(context.picture, [](std::uint32_t c) { return c + kBrighten.change(c); });
    return EffectOutput::Picture;
}

EffectOutput darken(EffectContext& context) {
    mapPixels(context.picture, [](std::uint32_t c) { return c - kDarken.change(c); });
    return EffectOutput::Picture;
}

EffectOutput decreaseContrast(EffectContext& context) {
    return contrast(context, 10);
}

EffectOutput increaseContrast(EffectContext& context) {
    return contrast(context, -10);
}

EffectOutput blackAndWhite(EffectContext& context) {
    mapPixels(context.picture, [](std::uint32_t c) {
        const std::uint32_t sum = (c & 0xFF) + ((c >> 8) & 0xFF) + (c >> 16);
        return sum <= 383 ? 0u : 0xFFFFFFu;
    });
    return EffectOutput::Picture;
}

EffectOutput grayscale(EffectContext& context) {
    mapPixels(context.picture, [](std::uint32_t c) {
        const std::uint32_t top = std::max(std::max(c & 0xFF, (c >> 8) & 0xFF), c >> 16);
        return top * 0x010101u;
    });
    return EffectOutput::Picture;
}

}  // namespace tess::fx
