#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "platform/Runtime.h"

namespace tess::rt {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// ---- Conversions to whole numbers -------------------------------------------------------------

TEST(RuntimeRounding, ToInt32RoundsHalfToEvenAndFailsOutsideTheRange) {
    struct Case {
        double value;
        std::optional<std::int32_t> expected;
    };
    const Case cases[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {-3.5, -4},
        {0.5, 0},
        {-0.5, 0},
        {1.5, 2},
        {2.4999, 2},
        {2.5001, 3},
        {16777215 / 3.14, 5343062},  // white through the "Corruption" effect
        {-1 / 3.14, 0},              // a read outside the picture
        {8388607.5, 8388608},        // white scaled by 0.5
        {2147483647.4, 2147483647},
        {2147483647.5, std::nullopt},  // rounds to 2^31
        {-2147483648.5, -2147483648},  // the even neighbour is still in range
        {-2147483649.0, std::nullopt},
        {99999999999.0, std::nullopt},
        {kInf, std::nullopt},
        {-kInf, std::nullopt},
        {kNaN, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toInt32(c.value), c.expected) << c.value;
    }
}

TEST(RuntimeRounding, ToInt16UsesTheSixteenBitRange) {
    EXPECT_EQ(toInt16(2.5), 2);
    EXPECT_EQ(toInt16(12.5), 12);
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_EQ(toInt16(32767.5), std::nullopt);
    EXPECT_EQ(toInt16(-32768.5), -32768);
    EXPECT_EQ(toInt16(-32769.0), std::nullopt);
    EXPECT_EQ(toInt16(kNaN), std::nullopt);
}

TEST(RuntimeRounding, RoundHalfEvenSaturates) {
    EXPECT_EQ(roundHalfEven(4.5), 4);
    EXPECT_EQ(roundHalfEven(-4.5), -4);
    EXPECT_EQ(roundHalfEven(1e12), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(roundHalfEven(-1e12), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(roundHalfEven(kNaN), 0);
}

TEST(RuntimeRounding, IntFloorRoundsDown) {
    EXPECT_EQ(intFloor(2.9), 2.0);
    EXPECT_EQ(intFloor(-2.5), -3.0);
    EXPECT_EQ(intFloor(-0.1), -1.0);
    EXPECT_EQ(intFloor(7.0), 7.0);
}

TEST(RuntimeRounding, IntDivRoundsOperandsThenTruncatesTowardZero) {
    struct Case {
        double a;
        double b;
        std::optional<std::int64_t> expected;
    };
    const Case cases[] = {
        {333.0 * 240, 320, 249},  // 249.75 truncated (custom resize proportion)
        {100.0 * 320, 240, 133},
        {160.0 * 240, 320, 120},
        {-7, 2, -3},
        {7, -2, -3},
        {7.5, 2, 4},  // 7.5 rounds to 8 first
        {6.5, 2, 3},  // 6.5 rounds to 6 first
        {16777215, 256, 65535},
        {5, 0, std::nullopt},
        {5, 0.4, std::nullopt},  // the divisor rounds to 0
        {3e9, 1, std::nullopt},  // beyond 32 bits
        {-2147483648.0, -1, 2147483648LL},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(intDiv(c.a, c.b), c.expected) << c.a << " \\ " << c.b;
    }
}

// ---- Val, IsNumeric and the strict conversion -------------------------------------------------

TEST(RuntimeVal, ReadsTheLeadingNumber) {
    struct Case {
        const char* text;
        double expected;
    };
    const Case cases[] = {
        {"", 0},
        {"abc", 0},
        {"255abc", 255},  // a colour setting with trailing letters
        {"16777215", 16777215},
        {"99999999999", 99999999999.0},
        {"12px", 12},
        {"60%", 60},
        {"20053", 20053},
        {"  12", 12},
        {"1 2 3", 123},  // blanks, tabs and line feeds are skipped everywhere
        {"\t-\n5", -5},
        {"\r5", 0},  // a carriage return is not skipped
        {"+7", 7},
        {"--7", 0},
        {"-", 0},
        {"12.5", 12.5},
        {".5", 0.5},
        {"-.25", -0.25},
        {"1.", 1},
        {"1.2.3", 1.2},
        {"1,000", 1},
        {"$5", 0},
        {"1e3", 1000},
        {"1D3", 1000},
        {"2.5E-1", 0.25},
        {"1e", 1},
        {"1e+", 1},
        {"3e2x", 300},
        {"&H1F", 31},
        {"&hff", 255},
        {"&HFFFFFFFF", -1},
        {"&H80000000", -2147483648.0},
        {"&H100000000", 0},  // beyond 32 bits
        {"&H", 0},
        {"&HG", 0},
        {"&O17", 15},
        {"&o8", 0},
        {"&X12", 0},
        {"1e-400", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(val(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(RuntimeVal, NumbersBeyondTheDoubleRangeGiveInfinitySoConversionsOverflow) {
    EXPECT_EQ(val("1e400"), kInf);
    EXPECT_EQ(val("-1e400"), -kInf);
    EXPECT_EQ(toInt32(val("1e400")), std::nullopt);
}

TEST(RuntimeVal, NeverGivesNegativeZero) {
    EXPECT_FALSE(std::signbit(val("-0")));
    EXPECT_FALSE(std::signbit(val("-0.0e5")));
}

TEST(RuntimeIsNumeric, AcceptsOnlyWholeTextsThatAreOneNumber) {
    struct Case {
        const char* text;
        bool numeric;
    };
    const Case cases[] = {
        {"", false},          {"   ", false},   {"12", true},           {" 12 ", true},
        {"\t12\t", true},     {"12.5", true},   {"320.0", true},        {"-5", true},
        {"+.5", true},        {"1.", true},     {".5", true},           {"0", true},
        {"1e3", true},        {"1E+5", true},   {"2d-2", true},         {"&H10", true},
        {"&HFFFFFFFF", true}, {"&o777", true},  {"abc", false},         {"12px", false},
        {"1 2", false},       {"1,000", false},  // would read as 1: not accepted
        {"$5", false},        {".", false},     {"-", false},           {"1e", false},
        {"5-", false},        {"&H", false},    {"&H100000000", false}, {"-&H10", false},
        {"1e400", false},     {"\n5", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isNumeric(c.text), c.numeric) << '"' << c.text << '"';
    }
}

TEST(RuntimeIsNumeric, AValueThatIsNumericMeansWhatValReads) {
    const char* texts[] = {" 12 ", "12.5", "-5", "1e3", "&H10", "&HFFFFFFFF", ".5", "2d-2"};
    for (const char* text : texts) {
        ASSERT_TRUE(isNumeric(text)) << text;
        EXPECT_EQ(toNumber(text), val(text)) << text;
    }
}

TEST(RuntimeToNumber, FailsOnTextsThatAreNotNumbers) {
    EXPECT_EQ(toNumber("9"), 9.0);
    EXPECT_EQ(toNumber("2.5"), 2.5);
    EXPECT_EQ(toNumber(""), std::nullopt);
    EXPECT_EQ(toNumber("abc"), std::nullopt);
    EXPECT_EQ(toNumber("255abc"), std::nullopt);
    EXPECT_EQ(toNumber("&Hzz"), std::nullopt);
}

// ---- Hexadecimal ------------------------------------------------------------------------------

TEST(RuntimeHex, UpperCaseWithoutLeadingZeros) {
    EXPECT_EQ(hex(0), "0");
    EXPECT_EQ(hex(15), "F");
    EXPECT_EQ(hex(255), "FF");
    EXPECT_EQ(hex(0x518756), "518756");
    EXPECT_EQ(hex(0x80000014), "80000014");
    EXPECT_EQ(hex(-1), "FFFFFFFF");
    EXPECT_EQ(hex(-2147483648LL), "80000000");
}

TEST(RuntimeHex, Hex2PadsToTwoDigits) {
    EXPECT_EQ(hex2(0), "00");
    EXPECT_EQ(hex2(5), "05");
    EXPECT_EQ(hex2(16), "10");
    EXPECT_EQ(hex2(255), "FF");
    EXPECT_EQ(hex2(256), "100");
}

// ---- Dates, times and number patterns ---------------------------------------------------------

DateTime at(int year, int month, int day, int hour, int minute, int second) {
    DateTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return t;
}

TEST(RuntimeFormat, TwelveHourClock) {
    struct Case {
        int hour, minute, second;
        const char* expected;
    };
    const Case cases[] = {
        {23, 59, 58, "11:59:58 PM"}, {0, 0, 0, "12:00:00 AM"},    {12, 0, 0, "12:00:00 PM"},
        {1, 5, 9, "01:05:09 AM"},    {11, 59, 59, "11:59:59 AM"}, {13, 0, 0, "01:00:00 PM"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatTime12(at(2005, 10, 12, c.hour, c.minute, c.second)), c.expected);
    }
}

TEST(RuntimeFormat, MonthDayYear) {
    EXPECT_EQ(formatDateMDY(at(2005, 10, 12, 0, 0, 0)), "10-12-05");
    EXPECT_EQ(formatDateMDY(at(2000, 1, 1, 0, 0, 0)), "01-01-00");
    EXPECT_EQ(formatDateMDY(at(1999, 2, 3, 0, 0, 0)), "02-03-99");
    EXPECT_EQ(formatDateMDY(at(2023, 12, 31, 0, 0, 0)), "12-31-23");
}

TEST(RuntimeFormat, DateWithHoursAndMinutes) {
    EXPECT_EQ(formatDateTimeMDY12(at(2005, 10, 12, 23, 59, 58)), "10-12-05 11:59 PM");
    EXPECT_EQ(formatDateTimeMDY12(at(2005, 10, 12, 0, 5, 0)), "10-12-05 12:05 AM");
}

TEST(RuntimeFormat, Thousands) {
    struct Case {
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {303, "303"},  // 1 x 1 picture, empty title
        {310489, "310,489"}, {0, ""},
        {0.4, ""},           {999, "999"},
        {1000, "1,000"},     {1234567, "1,234,567"},
        {-1234, "-1,234"},   {2.5, "2"},
        {3.5, "4"},          {1e15, "1,000,000,000,000,000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatThousands(c.value), c.expected) << c.value;
    }
    // The locale's separator, which may be more than one byte (a narrow no-break space).
    EXPECT_EQ(formatThousands(1234567, "."), "1.234.567");
    EXPECT_EQ(formatThousands(-1234, "\xE2\x80\xAF"),
              "-1\xE2\x80\xAF"
              "234");
    EXPECT_EQ(formatThousands(999, "."), "999");
}

TEST(RuntimeFormat, FixedDigits) {
    struct Case {
        double value;
        int integerDigits;
        int decimals;
        const char* expected;
    };
    const Case cases[] = {
        {12636 / 1024.0, 7, 2, "0000012.34"},
        {12.34, 1, 2, "12.34"},
        {500 / 1024.0, 7, 2, "0000000.49"},
        {500 / 1024.0, 1, 2, "0.49"},
        {0, 7, 2, "0000000.00"},
        {0, 1, 2, "0.00"},
        {0.5, 1, 2, "0.50"},
        {128 / 1024.0, 1, 2, "0.13"},  // an exact half rounds away from zero
        {9.999, 1, 2, "10.00"},
        {0.999, 7, 2, "0000001.00"},
        {12345678.9, 7, 2, "12345678.90"},
        {-12.345, 7, 2, "-0000012.35"},  // -12.345 is stored slightly beyond the half
        {2.5, 1, 0, "3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatFixed(c.value, c.integerDigits, c.decimals), c.expected) << c.value;
    }
}

// ---- Case and trimming ------------------------------------------------------------------------

TEST(RuntimeCase, LatinLettersChangeAndKeepTheirByteLength) {
    const std::string upper =
        "ABC \xC3\x80\xC3\x89\xC3\x8E\xC3\x95\xC3\x9C \xC5\xA0\xC5\x92\xC5\xBD\xC5\xB8";
    const std::string lower =
        "abc \xC3\xA0\xC3\xA9\xC3\xAE\xC3\xB5\xC3\xBC \xC5\xA1\xC5\x93\xC5\xBE\xC3\xBF";
    EXPECT_EQ(toLower(upper), lower);
    EXPECT_EQ(toUpper(lower), upper);
    EXPECT_EQ(toLower(upper).size(), upper.size());
}

TEST(RuntimeCase, OtherCharactersAndInvalidBytesStay) {
    const std::string others =
        "\xC3\x9F\xC3\x97\xC3\xB7 1-2_3 \xD0\x96";  // sharp s, times, divide, Zhe
    EXPECT_EQ(toLower(others), others);
    EXPECT_EQ(toUpper("\xC3\x9F"), "\xC3\x9F");
    EXPECT_EQ(toLower("\xFF"
                      "A\xC3"),
              "\xFF"
              "a\xC3");
    EXPECT_EQ(toUpper("caf\xE9"), "CAF\xE9");  // a Windows-1252 byte is not UTF-8: kept
}

TEST(RuntimeTrim, RemovesSpacesOnly) {
    EXPECT_EQ(trim("  a b  "), "a b");
    EXPECT_EQ(trim("\ta\t"), "\ta\t");
    EXPECT_EQ(trim("   "), "");
    EXPECT_EQ(trim(""), "");
}

}  // namespace
}  // namespace tess::rt
