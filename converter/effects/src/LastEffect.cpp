#include "effects/LastEffect.h"

#include "effects/EffectTable.h"
#include "platform/Text.h"

namespace tess::fx {

std::string lastEffectCaption(std::string_view displayName) {
    std::string caption(kLastEffectPrefix);
    caption += displayName;
    return caption;
}

std::optional<std::string> lastEffectName(std::string_view caption) {
    const std::u32string characters = utf8::decode(caption);
    if (characters.size() < kLastEffectPrefixLength)
        return std::nullopt;
    return utf8::encode(std::u32string_view(characters).substr(kLastEffectPrefixLength));
}

std::optional<int> effectToRepeat(std::string_view caption) {
    const std::optional<std::string> name = lastEffectName(caption);
    if (!name)
        return std::nullopt;
    return effectIndexByDisplayName(*name);
}

}  // namespace tess::fx
