#include "effects/EffectPreview.h"

#include "effects/EffectRun.h"
#include "effects/EffectTable.h"

namespace tess::fx {

Result<Picture> previewEffect(int index, const Picture& cleanThumbnail, Random& random,
                              const Clock& clock) {
    if (index < 0 || index >= kEffectCount)
        return Error{errc::Generic, "no effect at this index"};
    const EffectEntry& entry = effectTable()[static_cast<std::size_t>(index)];
    if (entry.preview == nullptr)
        return Error{errc::Generic, "this effect has no preview"};
    return applyEffect(entry.style, entry.preview, cleanThumbnail, kPreviewScratchBack, random,
                       clock);
}

}  // namespace tess::fx
