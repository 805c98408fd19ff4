#include "effects/ChannelEffects.h"

#include "PixelLoops.h"

namespace tess::fx {

namespace {

EffectOutput setChannel(EffectContext& context, std::uint32_t channelMask) {
    mapPixels(context.picture, [channelMask](std::uint32_t c) { return c | channelMask; });
    return EffectOutput::Picture;
}

}  // namespace

EffectOutput rgbBlue(EffectContext& context) {
    return setChannel(context, 0xFF0000u);
}

EffectOutput rgbGreen(EffectContext& context) {
    return setChannel(context, 0x00FF00u);
}

EffectOutput rgbRed(EffectContext& context) {
    return setChannel(context, 0x0000FFu);
}

EffectOutput neon(EffectContext& context) {
    reseedFromClock(context);
    // green + 256 blue + 65536 red
    mapPixels(context.picture, [](std::uint32_t c) { return (c >> 8) | ((c & 0xFFu) << 16); });
    return EffectOutput::Picture;
}

}  // namespace tess::fx
