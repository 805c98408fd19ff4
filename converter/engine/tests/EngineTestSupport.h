#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "engine/MosaicOptions.h"
#include "engine/MosaicRun.h"
#include "engine/PageSink.h"
#include "platform/Picture.h"
#include "platform/Text.h"
#include "platform/testing/FixedClock.h"
#include "platform/testing/ScriptedRandom.h"
#include "platform/testing/TempFolder.h"

namespace tess::enginetest {

// Lines joined by CR LF, as the page writes them; no line end after the last one.
inline std::string crlf(std::initializer_list<std::string_view> lines) {
    std::string text;
    bool first = true;
    for (std::string_view line : lines) {
        if (!first) {
            text += "\r\n";
        }
        text += line;
        first = false;
    }
    return text;
}

// A folder of its own under the system's temporary folder, removed afterwards.
class TempFolder : public testing::TempFolder {
  public:
    TempFolder() : testing::TempFolder("tessaryn-engine") {}
};

// Through the program's own reader; a file that cannot be read fails the test.
inline std::string readAll(const std::string& path) {
    Result<std::string> bytes = readFileBytes(path);
    EXPECT_TRUE(bytes.ok()) << path;
    return bytes ? bytes.value() : std::string();
}

// A picture from rows of 0x00BBGGRR values.
inline Picture pictureOf(std::initializer_list<std::initializer_list<std::uint32_t>> rows) {
    const int height = static_cast<int>(rows.size());
    const int width = height == 0 ? 0 : static_cast<int>(rows.begin()->size());
    Picture picture(width, height);
    int y = 0;
    for (const auto& row : rows) {
        int x = 0;
        for (std::uint32_t c : row) {
            picture.setPixel(x++, y, static_cast<Colour>(c));
        }
        ++y;
    }
    return picture;
}

// Remembers every piece the run hands over.
class RecordingSink final : public PageSink {
  public:
    Status write(std::string_view piece) override {
        pieces.emplace_back(piece);
        return {};
    }
    std::string joined() const {
        std::string text;
        for (const std::string& piece : pieces) {
            text += piece;
        }
        return text;
    }
    std::vector<std::string> pieces;
};

// Hooks that count and can ask for the cancel once a number of rows has ended.
class TestHooks final : public RunHooks {
  public:
    void afterCell(std::int32_t cells) override {
        ++cellCalls;
        lastCells = cells;
    }
    void afterRow(std::int32_t cells) override {
        ++rowCalls;
        lastCells = cells;
        if (onRow) {
            onRow(rowCalls);
        }
    }
    bool cancelRequested() override { return cancelAfterRows > 0 && rowCalls >= cancelAfterRows; }

    int cellCalls = 0;
    int rowCalls = 0;
    std::int32_t lastCells = 0;
    int cancelAfterRows = 0;
    std::function<void(int)> onRow;
};

// A run with a fixed clock and scripted generator, the common case of these tests.
struct RunFixture {
    testing::FixedClock clock{DateTime{2005, 10, 12, 9, 30, 0, 0}, 1000};
    testing::ScriptedRandom random{{0.0f}};
    TestHooks hooks;

    Result<RunResult> run(const Picture& picture, const MosaicOptions& options,
                          const MosaicTarget& target, const SpeedLog* speedLog = nullptr) {
        RunServices services{clock, random, speedLog};
        return runMosaic(picture, options, target, services, hooks);
    }
    // The page as the file target would write it, through a recording sink.
    std::string filePage(const Picture& picture, const MosaicOptions& options) {
        RecordingSink sink;
        Result<RunResult> result =
            run(picture, options, MosaicTarget::sink(sink, page::Seams::File));
        EXPECT_TRUE(result.ok());
        return sink.joined();
    }
};

inline MosaicOptions smartOptions() {
    MosaicOptions options;
    options.Mode = 6;
    options.FontSize = 2;
    options.Title = "T";
    options.BGColor = 0;
    options.Priority = RunPriority::High;
    return options;
}

}  // namespace tess::enginetest
