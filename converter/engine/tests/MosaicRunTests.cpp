#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <new>
#include <set>

#include "EngineTestSupport.h"
#include "engine/PageFormat.h"
#include "platform/DefaultRandom.h"
#include "platform/testing/MemoryClipboard.h"

namespace tess {
namespace {

using enginetest::crlf;
using enginetest::pictureOf;
using enginetest::RecordingSink;
using enginetest::RunFixture;
using enginetest::smartOptions;

std::size_t count(const std::string& text, std::string_view what) {
    std::size_t found = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++found;
    }
    return found;
}

// The cells between the head and the trailer of a file page.
std::string body(const std::string& page, const MosaicOptions& options) {
    const std::size_t start = page::head(options).size() + 2;
    const std::size_t end = page.rfind(std::string(page::trailer(options.isCssPage(), false)));
    return page.substr(start, end - start);
}

TEST(MosaicRunTest, OnePixelCssPageInAFile) {
    RunFixture fixture;
    enginetest::TempFolder folder;
    const std::string path = folder.file("one.html");
    MosaicOptions options = smartOptions();
    Result<RunResult> result =
        fixture.run(pictureOf({{0xFFC80A}}), options, MosaicTarget::file(path));
    ASSERT_TRUE(result.ok()) << result.error().reason;
    EXPECT_EQ(enginetest::readAll(path),
              page::head(options) + "\r\n" +
                  crlf({"<font color=\"#0AC8FF\">##", "</font></pre></center>", "</body>",
                        "</html>", ""}));
    EXPECT_EQ(folder.names(), std::vector<std::string>{"one.html"});
}

TEST(MosaicRunTest, ColourRunsCarryAcrossRowEnds) {
    RunFixture fixture;
    const std::string page =
        fixture.filePage(pictureOf({{0x808080, 0x808080}, {0x808080, 0x808080}}), smartOptions());
    EXPECT_EQ(count(page, "<font color="), 1u);
    EXPECT_EQ(count(page, "</font><font color="), 0u);
    EXPECT_NE(page.find("<font color=\"#808080\">%%%%\r\n%%%%\r\n</font></pre>"),
              std::string::npos);
}

TEST(MosaicRunTest, CustomTextCellsContinueAcrossRowEnds) {
    struct Case {
        const char* text;
        std::int16_t spacer;
        const char* rows;
    };
    for (const Case& c :
         {Case{"ab cd", 0, "ab+c\r\nd+ab\r\n+cd+\r\n"}, Case{"abc", 5, "abc\r\nabc\r\nabc\r\n"},
          Case{"", 0, "++++\r\n++++\r\n++++\r\n"}, Case{"", 5, "\r\n\r\n\r\n"},
          Case{"x\r\ny", 1, "x^^y\r\n^^x^\r\n^y^^\r\n"},
          Case{"1<2 & 3>", 5, "1&lt;2&\r\n3&gt;1&lt;\r\n2&3&gt;\r\n"}}) {
        RunFixture fixture;
        MosaicOptions options = smartOptions();
        options.Mode = 0;
        options.CustomText = c.text;
        options.Spacer = c.spacer;
        const Picture picture(2, 3, 0x123456);
        const std::string page = fixture.filePage(picture, options);
        EXPECT_EQ(body(page, options), std::string("<font color=\"#563412\">") + c.rows) << c.text;
    }
}

TEST(MosaicRunTest, LongRowsAreFlushedInPiecesOf25000To25036Characters) {
    struct Case {
        const char* name;
        std::int16_t mode;
        const char* customText;
    };
    for (const Case& c : {Case{"smart", 6, ""}, Case{"escaped custom text", 0, "<>"},
                          Case{"custom text", 0, "ab"}}) {
        // Two colours in turn: every cell opens a run of its own, 31 characters or more.
        Picture picture(3000, 2);
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 3000; ++x) {
                picture.setPixel(x, y, (x % 2 == 0) ? 0x0000FF : 0x00FF00);
            }
        }
        MosaicOptions options = smartOptions();
        options.Mode = c.mode;
        options.CustomText = c.customText;
        options.Spacer = 5;
        RunFixture fixture;
        RecordingSink sink;
        Result<RunResult> result =
            fixture.run(picture, options, MosaicTarget::sink(sink, page::Seams::File));
        ASSERT_TRUE(result.ok());
        const std::vector<std::string>& pieces = sink.pieces;
        ASSERT_GE(pieces.size(), 4u);
        EXPECT_EQ(pieces.front(), page::head(options) + "\r\n") << c.name;
        std::size_t rowEnds = 0;
        for (std::size_t i = 1; i + 1 < pieces.size(); ++i) {
            if (pieces[i] == "\r\n") {
                ++rowEnds;
                continue;
            }
            if (pieces[i + 1] == "\r\n") {
                EXPECT_LE(pieces[i].size(), 25036u) << c.name;  // a row's last piece
            } else {
                EXPECT_GE(pieces[i].size(), 25000u) << c.name;
                EXPECT_LE(pieces[i].size(), 25036u) << c.name;
            }
        }
        EXPECT_EQ(rowEnds, 2u) << c.name;
        EXPECT_EQ(pieces.back(), std::string(page::trailer(true, false)) + "\r\n");
    }
}

TEST(MosaicRunTest, SmartTextFirstPieceEndsOnTheFirstCellPast25000) {
    Picture picture(1000, 1);
    for (int x = 0; x < 1000; ++x) {
        picture.setPixel(x, 0, (x % 2 == 0) ? 0x0000FF : 0x00FF00);
    }
    RunFixture fixture;
    RecordingSink sink;
    ASSERT_TRUE(
        fixture.run(picture, smartOptions(), MosaicTarget::sink(sink, page::Seams::File)).ok());
    // The first cell takes 24 characters and every later one 31: 24 + 806 * 31 = 25010.
    ASSERT_GE(sink.pieces.size(), 3u);
    EXPECT_EQ(sink.pieces[1].size(), 25010u);
    EXPECT_EQ(sink.pieces[2].size(), 24u + 999u * 31u - 25010u);
    EXPECT_EQ(sink.pieces[3], "\r\n");
}

TEST(MosaicRunTest, CancelAfterTheLastRowStillWritesTheCancelledTrailer) {
    for (bool css : {true, false}) {
        RunFixture fixture;
        fixture.hooks.cancelAfterRows = 2;
        MosaicOptions options = smartOptions();
        options.FontSize = css ? 2 : 0;
        RecordingSink sink;
        Result<RunResult> result =
            fixture.run(Picture(3, 2, 0), options, MosaicTarget::sink(sink, page::Seams::File));
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result->status, RunStatus::Cancelled);
        EXPECT_EQ(result->cellsWritten, 6);
        EXPECT_EQ(result->log.status, "Cancelled");
        EXPECT_TRUE(result->log.line().ends_with(",Cancelled"));
        const std::string page = sink.joined();
        const std::string trailer = std::string(page::trailer(css, true)) + "\r\n";
        ASSERT_TRUE(page.ends_with("      \r\n" + trailer)) << page;
        EXPECT_NE(trailer.find("FILE INCOMPLETE!"), std::string::npos);
    }
}

TEST(MosaicRunTest, CancelEndsTheRunAtTheRowEnd) {
    RunFixture fixture;
    fixture.hooks.cancelAfterRows = 1;
    RecordingSink sink;
    Result<RunResult> result = fixture.run(Picture(4, 5, 0xFFFFFF), smartOptions(),
                                           MosaicTarget::sink(sink, page::Seams::File));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result->status, RunStatus::Cancelled);
    EXPECT_EQ(result->cellsWritten, 4);
    EXPECT_EQ(fixture.hooks.rowCalls, 1);
    EXPECT_EQ(body(sink.joined(), smartOptions()).substr(0, 32),
              "<font color=\"#FFFFFF\">########\r\n");
}

TEST(MosaicRunTest, CellHookFollowsEveryCellAtNormalPriorityOnly) {
    for (RunPriority priority : {RunPriority::Normal, RunPriority::High}) {
        RunFixture fixture;
        std::vector<std::int32_t> rowCounts;
        fixture.hooks.onRow = [&](int) { rowCounts.push_back(fixture.hooks.lastCells); };
        MosaicOptions options = smartOptions();
        options.Priority = priority;
        RecordingSink sink;
        ASSERT_TRUE(
            fixture.run(Picture(3, 4), options, MosaicTarget::sink(sink, page::Seams::File)).ok());
        EXPECT_EQ(fixture.hooks.cellCalls, priority == RunPriority::Normal ? 12 : 0);
        EXPECT_EQ(rowCounts, (std::vector<std::int32_t>{3, 6, 9, 12}));
    }
}

TEST(MosaicRunTest, LogRecordOfARunAcrossMidnight) {
    // Started at 11:59:58 PM on 12 October 2005, 2.5 seconds long, while the tick counter wraps.
    RunFixture fixture;
    fixture.clock.setNow(DateTime{2005, 10, 12, 23, 59, 58, 0});
    fixture.clock.setTickCount(0xFFFFFFFFu - 1000u);
    fixture.hooks.onRow = [&](int) { fixture.clock.advance(2500); };
    RecordingSink sink;
    Result<RunResult> result =
        fixture.run(Picture(1, 1), smartOptions(), MosaicTarget::sink(sink, page::Seams::File));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result->log.line(),
              "11:59:58 PM,10-12-05,12:00:00 AM,10-13-05,2500,1,1,Smart Text,High,Complete");
}

TEST(MosaicRunTest, PictureWithoutPixelsWritesAPageWithoutRows) {
    for (const Picture& picture : {Picture(), Picture(0, 4), Picture(5, 0)}) {
        RunFixture fixture;
        RecordingSink sink;
        Result<RunResult> result =
            fixture.run(picture, smartOptions(), MosaicTarget::sink(sink, page::Seams::File));
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result->status, RunStatus::Complete);
        EXPECT_EQ(result->cellsWritten, 0);
        EXPECT_EQ(sink.joined(), page::head(smartOptions()) + "\r\n" +
                                     std::string(page::trailer(true, false)) + "\r\n");
        EXPECT_EQ(fixture.hooks.rowCalls, 0);
    }
}

TEST(MosaicRunTest, ClipboardGetsThePageOnceAtTheEnd) {
    for (int cancelAfter : {0, 1}) {
        RunFixture fixture;
        fixture.hooks.cancelAfterRows = cancelAfter;
        testing::MemoryClipboard clipboard;
        // The clipboard is only handed the page at the end: what is on it meanwhile stays apart.
        fixture.hooks.onRow = [&](int) { clipboard.setText("copied elsewhere"); };
        Picture picture(300, 3);
        for (int x = 0; x < 300; ++x) {
            picture.setPixel(x, 1, static_cast<Colour>(x * 0x010203));
        }
        MosaicOptions options = smartOptions();
        Result<RunResult> result =
            fixture.run(picture, options, MosaicTarget::clipboard(&clipboard));
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(clipboard.setTextCount(), fixture.hooks.rowCalls + 1);
        EXPECT_EQ(clipboard.text(), result->clipboardText);
        EXPECT_TRUE(result->clipboardText.starts_with(page::head(options) + "<font color="));
        EXPECT_TRUE(result->clipboardText.ends_with("</html>"));
        EXPECT_EQ(result->clipboardText.find("copied elsewhere"), std::string::npos);
        EXPECT_EQ(result->clipboardText.find("FILE INCOMPLETE!") != std::string::npos,
                  cancelAfter > 0);
    }
}

TEST(MosaicRunTest, ClipboardWithoutMemoryForThePageFailsTheRun) {
    // A page too large for memory: the run reports it instead of ending the program.
    class FullClipboard final : public testing::MemoryClipboard {
      public:
        void setText(const std::string&) override { throw std::bad_alloc(); }
    };
    enginetest::TempFolder folder;
    const SpeedLog log(folder.path(), true);
    RunFixture fixture;
    FullClipboard clipboard;
    Result<RunResult> result =
        fixture.run(Picture(2, 2), smartOptions(), MosaicTarget::clipboard(&clipboard), &log);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().code, errc::OutOfMemory);
    EXPECT_NE(result.error().reason.find("clipboard"), std::string::npos) << result.error().reason;
    EXPECT_FALSE(std::filesystem::exists(log.path()));
}

TEST(MosaicRunTest, MachineCodeIsOneByteACharacter) {
    RunFixture fixture;
    fixture.random.setValues({0.999f});  // code 254
    MosaicOptions options = smartOptions();
    options.Mode = 4;
    testing::MemoryClipboard clipboard;
    Result<RunResult> result =
        fixture.run(Picture(1, 1, 0), options, MosaicTarget::clipboard(&clipboard));
    ASSERT_TRUE(result.ok());
    EXPECT_NE(result->clipboardText.find("<font color=\"#000000\">\xFE\xFE\r\n"),
              std::string::npos);
    EXPECT_NE(clipboard.text().find("\xC3\xBE\xC3\xBE"), std::string::npos);  // "þþ" in UTF-8

    enginetest::TempFolder folder;
    const std::string path = folder.file("machine.html");
    ASSERT_TRUE(fixture.run(Picture(1, 1, 0), options, MosaicTarget::file(path)).ok());
    EXPECT_NE(enginetest::readAll(path).find("\">\xFE\xFE\r\n"), std::string::npos);
}

TEST(MosaicRunTest, TargetFollowsTheClipboardBox) {
    MosaicOptions options = smartOptions();
    options.OutputPath = "/x/page.html";
    for (auto [box, kind] :
         {std::pair{0, MosaicTarget::Kind::File}, std::pair{1, MosaicTarget::Kind::Clipboard},
          std::pair{2, MosaicTarget::Kind::File}}) {
        options.ToClipboard = box;
        const MosaicTarget target = MosaicTarget::fromOptions(options, nullptr);
        EXPECT_EQ(target.kind(), kind) << box;
        if (kind == MosaicTarget::Kind::File) {
            EXPECT_EQ(target.path(), "/x/page.html");
        }
    }
}

TEST(MosaicRunTest, SpeedLogRecordIsWrittenWhenTheLogIsOn) {
    enginetest::TempFolder folder;
    for (bool enabled : {false, true}) {
        RunFixture fixture;
        const SpeedLog log(folder.path(), enabled);
        RecordingSink sink;
        Result<RunResult> result = fixture.run(Picture(2, 1), smartOptions(),
                                               MosaicTarget::sink(sink, page::Seams::File), &log);
        ASSERT_TRUE(result.ok());
        EXPECT_FALSE(result->speedLogError.has_value());
        EXPECT_EQ(std::filesystem::exists(log.path()), enabled);
        if (enabled) {
            EXPECT_EQ(enginetest::readAll(log.path()),
                      std::string(SpeedLog::kHeader) + "\r\n" + result->log.line() + "\r\n");
        }
    }
}

TEST(MosaicRunTest, FailingSpeedLogDoesNotFailTheRun) {
    enginetest::TempFolder folder;
    const SpeedLog log(folder.file("no such folder"), true);
    RunFixture fixture;
    RecordingSink sink;
    Result<RunResult> result = fixture.run(Picture(2, 1), smartOptions(),
                                           MosaicTarget::sink(sink, page::Seams::File), &log);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result->status, RunStatus::Complete);
    EXPECT_TRUE(result->speedLogError.has_value());
    EXPECT_TRUE(sink.joined().ends_with("</html>\r\n"));
}

TEST(MosaicRunTest, ALinkNamedLikeTheSpeedLogIsNeverFollowed) {
    enginetest::TempFolder folder;
    const SpeedLog log(folder.path(), true);
    // Short and long targets: one the log would replace with its header, one it would append to.
    for (const std::string& victim : {std::string("short"), std::string(200, 'v') + "\r\n"}) {
        const std::string target = folder.file("victim.txt");
        { std::ofstream(target, std::ios::binary) << victim; }
        std::filesystem::remove(log.path());
        std::filesystem::create_symlink(target, log.path());
        RunFixture fixture;
        RecordingSink sink;
        Result<RunResult> result = fixture.run(Picture(2, 1), smartOptions(),
                                               MosaicTarget::sink(sink, page::Seams::File), &log);
        ASSERT_TRUE(result.ok());
        ASSERT_TRUE(result->speedLogError.has_value());
        EXPECT_NE(result->speedLogError->reason.find(log.path()), std::string::npos);
        EXPECT_EQ(enginetest::readAll(target), victim);
        EXPECT_TRUE(std::filesystem::is_symlink(log.path()));
    }
}

}  // namespace
}  // namespace tess

namespace tess {
namespace {

using enginetest::RecordingSink;

// The rows of a page from the sink: the pieces between the head and the trailer, joined per row.
std::vector<std::string> rowsOf(const RecordingSink& sink) {
    std::vector<std::string> rows(1);
    for (std::size_t i = 1; i + 1 < sink.pieces.size(); ++i) {
        if (sink.pieces[i] == "\r\n") {
            rows.emplace_back();
        } else {
            rows.back() += sink.pieces[i];
        }
    }
    rows.pop_back();
    return rows;
}

TEST(MosaicRunTest, RandomModesFollowTheClockRowByRow) {
    // The same generator seed each time; only the clock differs. The tick is taken at each row's
    // start, so a tick that moves after the first row changes the rows after it and only those.
    for (std::int16_t mode : {1, 2, 3, 4, 5}) {
        auto rowsAt = [mode](std::uint32_t tick, std::uint32_t laterTick) {
            testing::FixedClock clock(DateTime{2005, 10, 12, 9, 30, 0, 0}, tick);
            DefaultRandom random(7);
            enginetest::TestHooks hooks;
            hooks.onRow = [&](int) { clock.setTickCount(laterTick); };
            MosaicOptions options = enginetest::smartOptions();
            options.Mode = mode;
            RecordingSink sink;
            const RunServices services{clock, random, nullptr};
            EXPECT_TRUE(runMosaic(Picture(40, 3, 0), options,
                                  MosaicTarget::sink(sink, page::Seams::File), services, hooks)
                            .ok());
            return rowsOf(sink);
        };
        const std::vector<std::string> still = rowsAt(5000, 5000);
        ASSERT_EQ(still.size(), 3u);
        EXPECT_EQ(rowsAt(5000, 5000), still) << "mode " << mode;  // same clock, same page
        // Within one tick the cells still differ, from cell to cell and from row to row (rows 1
        // and 2 hold only cells: the picture has one colour).
        std::set<std::string> cells;
        for (std::size_t at = 0; at < still[1].size(); at += 2) {
            cells.insert(still[1].substr(at, 2));
        }
        EXPECT_GT(cells.size(), 1u) << "mode " << mode;
        EXPECT_NE(still[1], still[2]) << "mode " << mode;

        const std::vector<std::string> moved = rowsAt(5000, 5001);
        EXPECT_EQ(moved[0], still[0]) << "mode " << mode;
        EXPECT_NE(moved[1], still[1]) << "mode " << mode;
        EXPECT_NE(moved[2], still[2]) << "mode " << mode;

        const std::vector<std::string> other = rowsAt(6000, 6000);
        for (std::size_t row = 0; row < 3; ++row) {
            EXPECT_NE(other[row], still[row]) << "mode " << mode << " row " << row;
        }
    }
}

TEST(MosaicRunTest, ClipboardPagesOfEarlierResultsStayAsTheyWere) {
    // A clipboard run writes over the memory of the last page only once no result reads it.
    RunFixture fixture;
    testing::MemoryClipboard clipboard;
    const MosaicOptions options = smartOptions();
    const Picture large(40, 6, 0x808080);
    const Picture small(2, 1, 0xFFFFFF);
    auto pageOf = [&](const Picture& picture) {
        RecordingSink sink;
        EXPECT_TRUE(
            fixture.run(picture, options, MosaicTarget::sink(sink, page::Seams::Clipboard)).ok());
        return sink.joined();
    };
    {
        Result<RunResult> first = fixture.run(large, options, MosaicTarget::clipboard(&clipboard));
        Result<RunResult> second = fixture.run(small, options, MosaicTarget::clipboard(&clipboard));
        ASSERT_TRUE(first.ok() && second.ok());
        EXPECT_EQ(first->clipboardText, pageOf(large));
        EXPECT_EQ(second->clipboardText, pageOf(small));
    }
    // Written over the memory of a larger page, a small page holds nothing of it.
    for (const Picture* picture : {&large, &small, &small}) {
        Result<RunResult> result =
            fixture.run(*picture, options, MosaicTarget::clipboard(&clipboard));
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result->clipboardText, pageOf(*picture)) << picture->width();
        EXPECT_EQ(clipboard.text(), pageOf(*picture)) << picture->width();
    }
}

TEST(MosaicRunTest, ClipboardThatHoldsPagesByReferenceSeesEachStayAsItWas) {
    // As the system clipboard does, this one holds the text it is offered until it is cleared or
    // given another; a reader (a paste under way) may hold a page longer.
    class SharingClipboard final : public testing::MemoryClipboard {
      public:
        void clear() override {
            MemoryClipboard::clear();
            held.reset();
        }
        void offerText(std::shared_ptr<const std::string> utf8) override {
            ++offers;
            held = std::move(utf8);
        }
        bool hasText() const override { return held != nullptr; }
        std::shared_ptr<const std::string> held;
        int offers = 0;
    };
    RunFixture fixture;
    SharingClipboard clipboard;
    MosaicOptions options = smartOptions();
    const Picture white(2, 1, 0xFFFFFF);
    const Picture black(2, 1, 0x000000);
    const Picture grey(2, 1, 0x808080);
    auto pageOf = [&](const Picture& picture) {
        RecordingSink sink;
        EXPECT_TRUE(
            fixture.run(picture, options, MosaicTarget::sink(sink, page::Seams::Clipboard)).ok());
        return sink.joined();
    };
    // Runs one page to the clipboard and gives the memory it was written into.
    auto run = [&](const Picture& picture) -> const char* {
        const int clearsBefore = clipboard.clearCount();
        Result<RunResult> result =
            fixture.run(picture, options, MosaicTarget::clipboard(&clipboard));
        EXPECT_TRUE(result.ok());
        if (!result.ok() || clipboard.held == nullptr)
            return nullptr;
        // Cleared as the run starts and once more as the page is handed over.
        EXPECT_EQ(clipboard.clearCount(), clearsBefore + 2);
        // A plain ASCII page is shared with the clipboard, not copied.
        EXPECT_EQ(clipboard.held.get(), result->clipboardPage.get());
        EXPECT_EQ(*clipboard.held, pageOf(picture));
        return result->clipboardText.data();
    };
    const char* first = run(white);
    // Once the clipboard has let go of it, the last page's memory takes the next page.
    EXPECT_EQ(run(black), first);
    const std::shared_ptr<const std::string> reader = clipboard.held;
    // A page a reader still holds is never written over.
    const char* third = run(grey);
    EXPECT_NE(third, first);
    EXPECT_EQ(run(white), third);
    EXPECT_EQ(*reader, pageOf(black));
    EXPECT_EQ(clipboard.offers, 4);

    // A page that is not plain ASCII reaches the clipboard as UTF-8, apart from the page.
    options.Title = "caf\xC3\xA9";
    Result<RunResult> result = fixture.run(white, options, MosaicTarget::clipboard(&clipboard));
    ASSERT_TRUE(result.ok());
    ASSERT_NE(clipboard.held, nullptr);
    EXPECT_EQ(*clipboard.held, cp1252::toUtf8(std::string(result->clipboardText)));
    EXPECT_NE(result->clipboardText, *clipboard.held);
}

TEST(MosaicRunTest, RunsWithinOneTickGiveDifferentPages) {
    // The run draws from the program's generator and leaves it where the draws ended, so the next
    // run in the same tick, which reseeds from the same ticks, still gets other characters.
    testing::FixedClock clock(DateTime{2005, 10, 12, 9, 30, 0, 0}, 5000);
    DefaultRandom random(7);
    for (std::int16_t mode : {1, 2, 3, 4, 5}) {
        MosaicOptions options = enginetest::smartOptions();
        options.Mode = mode;
        std::vector<std::string> pages;
        for (int run = 0; run < 2; ++run) {
            RecordingSink sink;
            enginetest::TestHooks hooks;
            const RunServices services{clock, random, nullptr};
            ASSERT_TRUE(runMosaic(Picture(40, 2, 0), options,
                                  MosaicTarget::sink(sink, page::Seams::File), services, hooks)
                            .ok());
            pages.push_back(sink.joined());
        }
        EXPECT_NE(pages[0], pages[1]) << "mode " << mode;
    }
}

TEST(MosaicRunTest, ClipboardTextIsUtf8OfThePageWhateverItsBytes) {
    // Plain ASCII pages go to the clipboard as they are; others are converted. Which it is depends
    // on the title, the mode and the custom text, so each may be the only non-ASCII part. The
    // reference is the same page streamed to a sink with the clipboard's seams.
    struct Case {
        const char* name;
        std::int16_t mode;
        std::int16_t fontSize;
        const char* title;
        const char* customText;
        Picture picture;
        bool ascii;  // whether that page is plain ASCII
    };
    const Picture grey(3, 2, 0x808080);
    for (const Case& c : {
             Case{"ascii css page", 6, 2, "T", "", grey, true},
             Case{"ascii font page", 6, 1, "T", "", grey, true},
             Case{"title", 6, 2, "caf\xC3\xA9", "", grey, false},
             Case{"title on a font page", 6, 1, "caf\xC3\xA9", "", grey, false},
             Case{"ascii custom", 0, 2, "T", "a<b", grey, true},
             Case{"custom text", 0, 2, "T", "\xC3\xA9t\xC3\xA9", grey, false},
             // Six cells take the first twelve characters: the thirteenth never reaches the page.
             Case{"custom text beyond the cells", 0, 2, "T", "abcdefghijkl\xC3\xA9", grey, true},
             Case{"machine code", 4, 2, "T", "", grey, false},
             Case{"machine code without cells", 4, 2, "T", "", Picture(0, 2), true},
             Case{"random letters", 1, 2, "T", "", grey, true},
             Case{"hex", 5, 2, "T", "", grey, true},
         }) {
        enginetest::RunFixture fixture;
        fixture.random.setValues({0.5f});
        MosaicOptions options = enginetest::smartOptions();
        options.Mode = c.mode;
        options.FontSize = c.fontSize;
        options.Title = c.title;
        options.CustomText = c.customText;
        RecordingSink sink;
        ASSERT_TRUE(
            fixture.run(c.picture, options, MosaicTarget::sink(sink, page::Seams::Clipboard)).ok());
        const std::string page = sink.joined();
        ASSERT_EQ(isAscii(page), c.ascii) << c.name;

        testing::MemoryClipboard clipboard;
        Result<RunResult> result =
            fixture.run(c.picture, options, MosaicTarget::clipboard(&clipboard));
        ASSERT_TRUE(result.ok()) << c.name;
        EXPECT_EQ(result->clipboardText, page) << c.name;
        EXPECT_EQ(clipboard.text(), cp1252::toUtf8(page)) << c.name;
    }
}

}  // namespace
}  // namespace tess
