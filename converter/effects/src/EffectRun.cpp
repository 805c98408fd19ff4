#include "effects/EffectRun.h"

#include <new>
#include <utility>

namespace tess::fx {

Result<EffectRun> EffectRun::prepare(EffectStyle style, Picture& working, Picture& scratch,
                                     Colour scratchBack) {
    if (style == EffectStyle::InPlace)
        return EffectRun(working, nullptr);
    if (Status made = scratch.assign(working.width(), working.height(), scratchBack); !made)
        return made.error();
    return EffectRun(working, &scratch);
}

EffectOutput EffectRun::run(EffectFunction effect, Random& random, const Clock& clock) && {
    Picture none;
    EffectContext context{*working_, scratch_ != nullptr ? *scratch_ : none, random, clock};
    return effect(context);
}

Result<Picture> applyEffect(EffectStyle style, EffectFunction effect, const Picture& working,
                            Colour scratchBack, Random& random, const Clock& clock) {
    Picture picture;
    Picture scratch;
    try {
        picture = working;
    } catch (const std::bad_alloc&) {
        return Error{errc::OutOfMemory, "not enough memory for a copy of the picture"};
    }
    Result<EffectRun> prepared = EffectRun::prepare(style, picture, scratch, scratchBack);
    if (!prepared)
        return prepared.error();
    const EffectOutput output = std::move(*prepared).run(effect, random, clock);
    return output == EffectOutput::Scratch ? std::move(scratch) : std::move(picture);
}

}  // namespace tess::fx
