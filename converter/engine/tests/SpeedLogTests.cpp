#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/SpeedLog.h"

namespace tess {
namespace {

using enginetest::TempFolder;

const std::string kRecord =
    "09:30:00 AM,10-12-05,09:30:01 AM,10-12-05,1000,4,3,Hex,Normal,Complete";

TEST(SpeedLogTest, HeaderIsTheFixedText) {
    TempFolder folder;
    const SpeedLog log(folder.path(), true);
    ASSERT_TRUE(log.WriteSpeedFile(kRecord).ok());
    const std::string written = enginetest::readAll(log.path());
    const std::string header =
        "Start Time, Start Date, End Time, End Date, Total Time (ms), Width, Height, Mode, "
        "Priority, Status";
    ASSERT_EQ(header.size(), 98u);
    EXPECT_EQ(written.substr(0, written.find("\r\n")), header);
}

TEST(SpeedLogTest, FirstRecordComesWithTheHeader) {
    TempFolder folder;
    const SpeedLog log(folder.path(), true);
    EXPECT_EQ(log.path(), folder.file("tyspeed.log"));
    ASSERT_TRUE(log.WriteSpeedFile(kRecord).ok());
    ASSERT_TRUE(log.WriteSpeedFile(kRecord).ok());
    EXPECT_EQ(enginetest::readAll(log.path()),
              std::string(SpeedLog::kHeader) + "\r\n" + kRecord + "\r\n" + kRecord + "\r\n");
}

TEST(SpeedLogTest, ShortFilesAreReplacedLongerOnesAppendedTo) {
    for (std::size_t size : {0u, 1u, 65u, 66u, 200u}) {
        TempFolder folder;
        const SpeedLog log(folder.path(), true);
        const std::string existing(size, 'x');
        ASSERT_TRUE(writeFileAtomic(log.path(), existing).ok());
        ASSERT_TRUE(log.WriteSpeedFile(kRecord).ok());
        const std::string expected =
            size < 66 ? std::string(SpeedLog::kHeader) + "\r\n" + kRecord + "\r\n"
                      : existing + kRecord + "\r\n";
        EXPECT_EQ(enginetest::readAll(log.path()), expected) << size << " bytes before";
    }
}

TEST(SpeedLogTest, NothingIsWrittenWithoutTheSwitch) {
    TempFolder folder;
    const SpeedLog log(folder.path(), false);
    ASSERT_TRUE(log.WriteSpeedFile(kRecord).ok());
    EXPECT_TRUE(folder.names().empty());
}

TEST(SpeedLogTest, FailureIsReported) {
    TempFolder folder;
    const SpeedLog log(folder.file("missing"), true);
    EXPECT_FALSE(log.WriteSpeedFile(kRecord).ok());
}

TEST(SpeedLogTest, RecordFieldsJoinedWithoutBlanks) {
    SpeedLogRecord record;
    record.startTime = "11:59:58 PM";
    record.startDate = "10-12-05";
    record.endTime = "12:00:00 AM";
    record.endDate = "10-13-05";
    record.elapsedMs = 2500;
    record.width = 640;
    record.height = 480;
    record.mode = "Random Letters";
    record.priority = "Normal";
    record.status = "Cancelled";
    EXPECT_EQ(record.line(),
              "11:59:58 PM,10-12-05,12:00:00 AM,10-13-05,2500,640,480,Random Letters,Normal,"
              "Cancelled");
}

}  // namespace
}  // namespace tess
