#include "effects/EffectRun.h"

#include <new>
#include <utility>

namespace tess::fx {

Result<EffectRun> EffectRun::prepare(EffectStyle style, const Picture& working,
                                     Colour scratchBack) {
    Picture scratch;
    if (style != EffectStyle::InPlace) {
        Result<Picture> made = Picture::create(working.width(), working.height(), scratchBack);
        if (!made)
            return made.error();
        scratch = std::move(*made);
    }
    try {
        return EffectRun(working, std::move(scratch));
    } catch (const std::bad_alloc&) {
        return Error{errc::OutOfMemory, "not enough memory for a copy of the picture"};
    }
}

Picture EffectRun::run(EffectFunction effect, Random& random, const Clock& clock) && {
    EffectContext context{picture_, scratch_, random, clock};
    const EffectOutput output = effect(context);
    return output == EffectOutput::Scratch ? std::move(scratch_) : std::move(picture_);
}

Result<Picture> applyEffect(EffectStyle style, EffectFunction effect, const Picture& working,
                            Colour scratchBack, Random& random, const Clock& clock) {
    Result<EffectRun> prepared = EffectRun::prepare(style, working, scratchBack);
    if (!prepared)
        return prepared.error();
    return std::move(*prepared).run(effect, random, clock);
}

}  // namespace tess::fx
