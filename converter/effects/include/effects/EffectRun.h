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

// One run of an effect or tool. prepare() makes every picture the run needs before anything
// changes, so a caller that cannot have them changes nothing; run() then cannot fail.
class EffectRun {
  public:
    // A copy of `working` to work on and, for the Scratch and Mixed styles, a scratch picture of
    // the same size cleared to `scratchBack`. errc::OutOfMemory when memory for them is short.
    static Result<EffectRun> prepare(EffectStyle style, const Picture& working, Colour scratchBack);

    // Runs the pixel work once and hands over the picture that replaces the working picture.
    Picture run(EffectFunction effect, Random& random, const Clock& clock) &&;

  private:
    EffectRun(Picture picture, Picture scratch)
        : picture_(std::move(picture)), scratch_(std::move(scratch)) {}

    Picture picture_;
    Picture scratch_;
};

// The effect applied to `working` in one call, for callers that have nothing to do between
// preparing and running (previews, benchmarks, tests).
Result<Picture> applyEffect(EffectStyle style, EffectFunction effect, const Picture& working,
                            Colour scratchBack, Random& random, const Clock& clock);

}  // namespace tess::fx
