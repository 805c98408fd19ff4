#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/MosaicOptions.h"
#include "engine/MosaicRun.h"
#include "platform/Picture.h"
#include "platform/testing/FixedClock.h"
#include "platform/testing/ScriptedRandom.h"
#include "platform/testing/TempFolder.h"

namespace tess::explorertest {

// A page as the converter writes it to a file: its engine on a two-by-two picture in "Smart Text"
// mode, so the page holds colour runs, row ends and the trailer as every page does. fontSize is
// the font-size list index (0 "-1", 1 "-2", 2 to 7 the fixed CSS sizes, 8 the custom one).
inline std::string converterPage(std::string_view titleUtf8, std::int16_t fontSize,
                                 std::int16_t cssSize = 60, std::string cssUnit = "%",
                                 Colour background = 0x00FF8000) {
    Picture picture(2, 2);
    picture.setPixel(0, 0, 0x00FFC80A);
    picture.setPixel(1, 0, 0x00003264);
    picture.setPixel(0, 1, 0x00003264);
    picture.setPixel(1, 1, 0x00141414);
    MosaicOptions options;
    options.Mode = 6;
    options.FontSize = fontSize;
    options.CSSSize = cssSize;
    options.CSSUnit = std::move(cssUnit);
    options.Title = std::string(titleUtf8);
    options.BGColor = background;
    options.Priority = RunPriority::High;

    testing::TempFolder folder("tess-explorer-golden");
    const std::string path = folder.file("golden.html");
    testing::FixedClock clock(DateTime{2005, 10, 12, 9, 30, 0, 0}, 1000);
    testing::ScriptedRandom random({0.0f});
    NoHooks hooks;
    RunServices services{clock, random, nullptr};
    Result<RunResult> result =
        runMosaic(picture, options, MosaicTarget::file(path), services, hooks);
    EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.error().reason);
    return testing::readFileContents(path);
}

// The text with every `what` replaced by `with`: the expected pages are the golden ones with
// their markup edited by hand.
inline std::string replaced(std::string text, std::string_view what, std::string_view with) {
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + with.size())) {
        text.replace(at, what.size(), with);
    }
    return text;
}

}  // namespace tess::explorertest
