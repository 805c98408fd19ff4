#pragma once

#include "platform/Clock.h"
#include "platform/Picture.h"
#include "platform/Random.h"

namespace tess::fx {

// How an effect uses the two pictures of its frame.
enum class EffectStyle {
    // Reads and writes `picture` itself; no scratch picture is made.
    InPlace,
    // Reads `picture` and draws into the cleared scratch picture, which becomes the result.
    Scratch,
    // Works on both: draws on `picture` and uses the cleared scratch picture along the way.
    Mixed,
};

// Which of the two pictures holds the result when an effect returns.
enum class EffectOutput { Picture, Scratch };

// What an effect works on. The same function serves the whole working picture (the main window's
// pictures) and the effects dialog's 120 x 100 preview (the dialog's pictures); only the sizes and
// the scratch picture's background colour differ.
struct EffectContext {
    // The working picture's surface (or the preview's): the source, and the target of in-place
    // work.
    Picture& picture;
    // The scratch picture: for the Scratch and Mixed styles it has the size of `picture` and is
    // cleared to its background colour when the effect starts; for InPlace effects it is empty.
    Picture& scratch;
    // The program-wide random sequence, shared by effects and previews.
    Random& random;
    // Read for "reseed from the clock"; see reseedFromClock().
    const Clock& clock;
};

// The pixel work of one effect or tool. It never reads or writes outside the pictures (Picture
// checks every access) and returns where its result is.
using EffectFunction = EffectOutput (*)(EffectContext&);

// The runtime's Randomize: mixes the clock into the program-wide sequence.
inline void reseedFromClock(EffectContext& context) {
    context.random.reseed(context.clock.tickCount());
}

}  // namespace tess::fx
