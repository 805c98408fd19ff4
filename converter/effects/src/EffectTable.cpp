#include "effects/EffectTable.h"

// One header per family of effects; each family fills the apply and preview slots of its rows.
#include "effects/BoxEffects.h"
#include "effects/ChannelEffects.h"
#include "effects/CircleEffects.h"
#include "effects/ColumnEffects.h"
#include "effects/CorruptionEffects.h"
#include "effects/ReliefEffects.h"
#include "effects/RowEffects.h"
#include "effects/TileEffects.h"
#include "effects/ToneEffects.h"
#include "effects/TvEffects.h"

namespace tess::fx {

namespace {

constexpr EffectStyle InPlace = EffectStyle::InPlace;
constexpr EffectStyle Scratch = EffectStyle::Scratch;
constexpr EffectStyle Mixed = EffectStyle::Mixed;

// In the order of the effects dialog's list. Where the dialog previews an effect with a routine of
// its own, the preview slot is filled with that routine, not with the effect's.
constexpr std::array<EffectEntry, kEffectCount> kEffects = {{
    // 0 .. 9
    {"3D Tiles", "3D Tiles", "mnu3DTiles", "3D Tiles", Scratch, tiles3D, tiles3D},
    {"Bathroom Tiles", "Bathroom Tiles", "mnuBRTiles", "Bathroom Tiles", Scratch, bathroomTiles,
     bathroomTiles},
    {"Black & White", "Black && White", "mnuBandW", "&Black && White", InPlace, blackAndWhite,
     blackAndWhite},
    {"Blur", "Blur", "mnuBlur", "Blur", Scratch, blur, blur},
    {"Boxes", "Boxes", "mnuBoxes", "Boxes", Scratch, boxes, boxes},
    {"Brighten", "Brighten", "mnuBright", "&Brighten", InPlace, brighten, brighten},
    {"CircleWorm", "CircleWorm", "mnuCircleWorm", "CircleWorm", Scratch, circleWorm, circleWorm},
    {"Circular", "Circular", "mnuCircular", "Circular", Scratch, circular, circular},
    {"Corruption", "Corruption", "mnuCorruption", "Cor&ruption", InPlace, corruption, corruption},
    {"Corruption Bars", "Corruption Bars", "mnuCorruptionB", "Corru&ption Bars", InPlace,
     corruptionBars, corruptionBars},
    // 10 .. 19
    {"Darken", "Darken", "mnuDarken", "&Darken", InPlace, darken, darken},
    {"Decrease Contrast", "Decrease Contrast", "mnuContrastDown", "Decrease Contrast", Scratch,
     decreaseContrast, decreaseContrast},
    {"Eyes", "Eyes", "mnuEyes", "Eyes", Scratch, eyes, eyes},
    {"Grayscale", "Grayscale", "mnuGrey", "&Grayscale", InPlace, grayscale, grayscale},
    {"Increase Contrast", "Increase Contrast", "mnuContrastUp", "Increase Contrast", Scratch,
     increaseContrast, increaseContrast},
    {"Infrared", "Infrared (Slow)", "mnuInfrared", "Infra&red (Slow)", Mixed, infrared, infrared},
    {"Inner Emboss", "Inner Emboss", "mnuIEmboss", "&Inner Emboss", Mixed, innerEmboss,
     innerEmboss},
    {"Interlace", "Interlace", "mnuInterlace", "Inter&lace", InPlace, interlace, interlace},
    {"InversionScape", "InversionScape", "mnuIScape", "InversionScape", Scratch, inversionScape,
     inversionScape},
    {"Mosaic", "Mosaic", "mnuMosaic", "Mosaic", Scratch, mosaic, mosaic},
    // 20 .. 29
    {"Mosaic Tiles", "Mosaic Tiles", "mnuMTiles", "Mosaic Tiles", Scratch, mosaicTiles,
     mosaicTiles},
    {"Neon", "Neon", "mnuNeon", "Neo&n", InPlace, neon, neon},
    {"Night Cam", "Night Cam", "mnuNightCam", "Night Cam", Scratch, nightCam, nightCam},
    {"Outer Emboss", "Outer Emboss", "mnuOEmboss", "&Outer Emboss", Mixed, outerEmboss,
     outerEmboss},
    {"Outline", "Outline", "mnuOutline", "&Outline", Scratch, outline, outline, true},
    {"Pixelate", "Pixelate", "mnuPixelate", "Pi&xelate", InPlace, pixelate, pixelate},
    {"Pool Tile", "Pool Tiles", "mnuPTiles", "Pool Tiles", Scratch, poolTiles, poolTiles},
    {"RGB Blue", "RGB Blue", "mnuRGBBlue", "RGB Blue", InPlace, rgbBlue, rgbBlue},
    {"RGB Green", "RGB Green", "mnuRGBGreen", "RGB Green", InPlace, rgbGreen, rgbGreen},
    {"RGB Red", "RGB Red", "mnuRGBRed", "RGB Red", InPlace, rgbRed, rgbRed},
    // 30 .. 37
    {"Spiral", "Spiral", "mnuSpiral", "Spiral", Scratch, spiral, spiral},
    {"SterioGraph", "StereoGraph", "mnuStereoG", "StereoGraph", Scratch, stereoGraph, stereoGraph},
    {"Targets", "Targets", "mnuTargets", "Targets", Scratch, targets, targets},
    {"TV", "TV", "mnuTV", "&TV", InPlace, tv, tv},
    {"TV Snow", "TV Snow", "mnuTVSnowBW", "TV &Snow", Mixed, tvSnow, tvSnow},
    {"TV Snow (Color)", "TV Snow (Color)", "mnuTVSnow", "TV Sno&w (Color)", Scratch, tvSnowColour,
     tvSnowColour},
    {"Visor", "Visor", "mnuVisor", "&Visor", InPlace, visor, visor},
    {"X-Files", "X-Files", "mnuXFiles", "X-Files", Scratch, xFiles, xFiles},
}};

}  // namespace

const std::array<EffectEntry, kEffectCount>& effectTable() {
    return kEffects;
}

std::optional<int> effectIndexByDisplayName(std::string_view displayName) {
    for (int k = 0; k < kEffectCount; ++k) {
        if (kEffects[static_cast<std::size_t>(k)].displayName == displayName)
            return k;
    }
    return std::nullopt;
}

}  // namespace tess::fx
