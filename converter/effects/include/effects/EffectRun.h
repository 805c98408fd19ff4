#pragma once

#include "effects/Effect.h"
#include "platform/Colour.h"
#include "platform/Picture.h"
#include "platform/Result.h"

namespace tess::fx {

// The background colours of the two scratch pictures: the main window's is the system window
// colour, the effects dialog's the button-face colour. What an effect leaves undrawn in the
// scratch picture, and what an exclusive-or with the cleared scratch picture meets, is this colour
// as the platform's fixed system colour table resolves it (never the desktop's theme).
inline constexpr Colour kMainScratchBack = syscolour::Window;
inline constexpr Colour kPreviewScratchBack = syscolour::ButtonFace;

// One run of an effect or tool on pictures that outlive it (the main window's working and
// scratch pictures), so that a run makes no picture of its own. prepare() readies the scratch
// picture before anything else changes, so a caller that cannot have it changes nothing; run()
// then cannot fail.
class EffectRun {
  public:
    // For the Scratch and Mixed styles `scratch` takes the size of `working`, in the memory it
    // has where that is large enough, and is cleared to `scratchBack`; an InPlace run leaves it
    // alone and gives the effect an empty one. errc::OutOfMemory when memory for it is short.
    // Both pictures must outlive the run.
    static Result<EffectRun> prepare(EffectStyle style, Picture& working, Picture& scratch,
                                     Colour scratchBack);

    // Runs the pixel work once on the two pictures themselves and says which holds the result.
    EffectOutput run(EffectFunction effect, Random& random, const Clock& clock) &&;

  private:
    EffectRun(Picture& working, Picture* scratch) : working_(&working), scratch_(scratch) {}

    Picture* working_;
    Picture* scratch_;  // null for an InPlace run
};

// The effect applied to a copy of `working` in one call, with a scratch picture of its own, for
// callers that keep no pictures between runs (previews, benchmarks, tests).
Result<Picture> applyEffect(EffectStyle style, EffectFunction effect, const Picture& working,
                            Colour scratchBack, Random& random, const Clock& clock);

}  // namespace tess::fx
