#include "effects/EffectTable.h"

// One header per family of effects; each family fills the apply and preview slots of its rows.
#include "effects/ChannelEffects.h"
#include "effects/ToneEffects.h"

namespace tess::fx {

namespace {

constexpr EffectStyle InPlace = EffectStyle::InPlace;
constexpr EffectStyle Scratch = EffectStyle::Scratch;
constexpr EffectStyle Mixed = EffectStyle::Mixed;

// In the order of the effects dialog's list. Where the dialog previews an effect with a routine of
// its own, the preview slot is filled with that routine, not with the effect's.
constexpr std::array<EffectEntry, kEffectCount> kEffects = {{
    // 0 .. 9
    {"3D Tiles", "3D Tiles", "mnu3DTiles", "3D Tiles", Scratch, nullptr, nullptr},
    {"Bathroom Tiles", "Bathroom Tiles", "mnuBRTiles", "Bathroom Tiles", Scratch, nullptr, nullptr},
    {"Black & White", "Black && White", "mnuBandW", "&Black && White", InPlace, blackAndWhite,
     blackAndWhite},
    {"Blur", "Blur", "mnuBlur", "Blur", Scratch, nullptr, nullptr},
    {"Boxes", "Boxes", "mnuBoxes", "Boxes", Scratch, nullptr, nullptr},
    {"Brighten", "Brighten", "mnuBright", "&Brighten", InPlace, brighten, brighten},
    {"CircleWorm", "CircleWorm", "mnuCircleWorm", "CircleWorm", Scratch, nullptr, nullptr},
    {"Circular", "Circular", "mnuCircular", "Circular", Scratch, nullptr, nullptr},
    {"Corruption", "Corruption", "mnuCorruption", "Cor&ruption", InPlace, nullptr, nullptr},
    {"Corruption Bars", "Corruption Bars", "mnuCorruptionB", "Corru&ption Bars", InPlace, nullptr,
     nullptr},
    // 10 .. 19
    {"Darken", "Darken", "mnuDarken", "&Darken", InPlace, darken, darken},
    {"Decrease Contrast", "Decrease Contrast", "mnuContrastDown", "Decrease Contrast", Scratch,
     decreaseContrast, decreaseContrast},
    {"Eyes", "Eyes", "mnuEyes", "Eyes", Scratch, nullptr, nullptr},
    {"Grayscale", "Grayscale", "mnuGrey", "&Grayscale", InPlace, grayscale, grayscale},
    {"Increase Contrast", "Increase Contrast", "mnuContrastUp", "Increase Contrast", Scratch,
     increaseContrast, increaseContrast},
    {"Infrared", "Infrared (Slow)", "mnuInfrared", "Infra&red (Slow)", Mixed, nullptr, nullptr},
    {"Inner Emboss", "Inner Emboss", "mnuIEmboss", "&Inner Emboss", Mixed, nullptr, nullptr},
    {"Interlace", "Interlace", "mnuInterlace", "Inter&lace", InPlace, nullptr, nullptr},
    {"InversionScape", "InversionScape", "mnuIScape", "InversionScape", Scratch, nullptr, nullptr},
    {"Mosaic", "Mosaic", "mnuMosaic", "Mosaic", Scratch, nullptr, nullptr},
    // 20 .. 29
    {"Mosaic Tiles", "Mosaic Tiles", "mnuMTiles", "Mosaic Tiles", Scratch, nullptr, nullptr},
    {"Neon", "Neon", "mnuNeon", "Neo&n", InPlace, neon, neon},
    {"Night Cam", "Night Cam", "mnuNightCam", "Night Cam", Scratch, nullptr, nullptr},
    {"Outer Emboss", "Outer Emboss", "mnuOEmboss", "&Outer Emboss", Mixed, nullptr, nullptr},
    {"Outline", "Outline", "mnuOutline", "&Outline", Scratch, nullptr, nullptr, true},
    {"Pixelate", "Pixelate", "mnuPixelate", "Pi&xelate", InPlace, nullptr, nullptr},
    {"Pool Tile", "Pool Tiles", "mnuPTiles", "Pool Tiles", Scratch, nullptr, nullptr},
    {"RGB Blue", "RGB Blue", "mnuRGBBlue", "RGB Blue", InPlace, rgbBlue, rgbBlue},
    {"RGB Green", "RGB Green", "mnuRGBGreen", "RGB Green", InPlace, rgbGreen, rgbGreen},
    {"RGB Red", "RGB Red", "mnuRGBRed", "RGB Red", InPlace, rgbRed, rgbRed},
    // 30 .. 37
    {"Spiral", "Spiral", "mnuSpiral", "Spiral", Scratch, nullptr, nullptr},
    {"SterioGraph", "StereoGraph", "mnuStereoG", "StereoGraph", Scratch, nullptr, nullptr},
    {"Targets", "Targets", "mnuTargets", "Targets", Scratch, nullptr, nullptr},
    {"TV", "TV", "mnuTV", "&TV", InPlace, nullptr, nullptr},
    {"TV Snow", "TV Snow", "mnuTVSnowBW", "TV &Snow", Mixed, nullptr, nullptr},
    {"TV Snow (Color)", "TV Snow (Color)", "mnuTVSnow", "TV Sno&w (Color)", Scratch, nullptr,
     nullptr},
    {"Visor", "Visor", "mnuVisor", "&Visor", InPlace, nullptr, nullptr},
    {"X-Files", "X-Files", "mnuXFiles", "X-Files", Scratch, nullptr, nullptr},
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
