#include <gtest/gtest.h>

#include "EffectsTestSupport.h"
#include "effects/EffectPreview.h"
#include "effects/Thumbnail.h"

namespace tess::fx {
namespace {

// Every entry previews on the thumbnail by its list index, with the button face as the scratch
// colour, and hands back a picture of the thumbnail's size; the thumbnail itself never changes.
TEST(EffectPreview, EveryEntryPreviewsByItsIndexOnACopy) {
    const Picture clean = testing::gradient(kThumbnailWidth, kThumbnailHeight);
    for (int k = 0; k < kEffectCount; ++k) {
        const EffectEntry& entry = effectTable()[static_cast<std::size_t>(k)];
        SCOPED_TRACE(entry.listText);
        tess::testing::FixedClock clock;
        tess::testing::ScriptedRandom random({0.0f, 0.999f, 0.5f});
        const Picture before = clean;
        Result<Picture> previewed = previewEffect(k, clean, random, clock);
        ASSERT_TRUE(previewed.ok());
        EXPECT_EQ(clean, before);
        EXPECT_EQ(previewed->width(), kThumbnailWidth);
        EXPECT_EQ(previewed->height(), kThumbnailHeight);
        testing::EffectRunner runner;
        runner.random.setValues({0.0f, 0.999f, 0.5f});
        EXPECT_EQ(*previewed, runner.preview(entry, clean));
    }
}

TEST(EffectPreview, AnIndexOutsideTheTablePreviewsNothing) {
    tess::testing::FixedClock clock;
    tess::testing::ScriptedRandom random;
    for (const int index : {-1, kEffectCount, 1000})
        EXPECT_FALSE(previewEffect(index, Picture(4, 4), random, clock).ok()) << index;
    EXPECT_EQ(random.drawCount(), 0);
}

}  // namespace
}  // namespace tess::fx
