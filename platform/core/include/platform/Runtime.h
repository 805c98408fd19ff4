#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Clock.h"

namespace tess::rt {

// Conversions of a fraction to a whole number round to the nearest integer, a half going to the
// even neighbour (2.5 -> 2, 3.5 -> 4). Out-of-range values give nullopt (the overflow error 6).
std::optional<std::int16_t> toInt16(double value);
std::optional<std::int32_t> toInt32(double value);
// Same rounding, saturating instead of failing; for callers that have already range-checked.
std::int32_t roundHalfEven(double value);
// Int(): the greatest whole number not above the value.
double intFloor(double value);
// The "\" operator: both operands rounded half-even to 32-bit whole numbers, then division
// truncating toward zero. Division by zero, or an operand outside the 32-bit range, gives nullopt.
std::optional<std::int64_t> intDiv(double a, double b);

// Val(): the leading number of a text (blanks, tabs and line feeds inside are skipped; "&H" and
// "&O" prefixes; an exponent). A text without one gives 0. "&H"/"&O" values of up to 32 bits are
// read as a signed 32-bit integer ("&HFFFFFFFF" is -1); longer ones give 0. A decimal number beyond
// the double range gives +-infinity, so a later toInt32 fails as an overflow would.
double val(std::string_view text);
// IsNumeric(): whether the whole text (blanks and tabs around allowed) reads as one number: an
// optional sign, digits with an optional "." fraction, an optional exponent ("E" or "D"), or an
// "&H"/"&O" number. Thousands separators and currency signs are not accepted, so whenever this is
// true val() gives the number the whole text means ("1,000" is not numeric: val would read 1).
bool isNumeric(std::string_view text);
// The conversion of a text to a number that fails on a text that is not numeric (CDbl, CInt of a
// string): val() of the text when isNumeric(), else nullopt.
std::optional<double> toNumber(std::string_view text);

// Hex(): upper-case hexadecimal without leading zeros; negative values in 32-bit two's complement.
std::string hex(std::int64_t value);
// Two upper-case hex digits, zero-padded (the colour texts).
std::string hex2(int byteValue);
// The value of one hexadecimal digit in either case, or -1 for any other character.
int hexDigitValue(char c);

// "hh:mm:ss AM/PM", e.g. "11:59:58 PM" (hours 01..12).
std::string formatTime12(const DateTime& t);
// "mm-dd-yy", e.g. "10-12-05".
std::string formatDateMDY(const DateTime& t);
// "mm-dd-yy hh:mm AM/PM", e.g. "10-12-05 11:59 PM".
std::string formatDateTimeMDY12(const DateTime& t);
// "#,###": rounded half-even to a whole number with the thousands separator (the locale's, a comma
// by default) between groups of three digits; zero gives the empty text.
std::string formatThousands(double value, std::string_view separator = ",");
// Patterns such as "0000000.00" and "0.00": at least `minIntegerDigits` digits before the point
// (zero-padded), exactly `decimals` after it, a point as separator and no thousands separator.
// Rounds the exact value half away from zero, as the runtime's Format does (0.125 -> "0.13").
std::string formatFixed(double value, int minIntegerDigits, int decimals);

// Case helpers on UTF-8 text: ASCII and Latin-1 letters and the Windows-1252 extras (S/Z caron,
// OE, Y diaeresis). Every pair has the same UTF-8 length, so byte positions stay valid; bytes that
// are not UTF-8 are kept unchanged.
std::string toLower(std::string_view text);
std::string toUpper(std::string_view text);
// Trim(): removes leading and trailing blanks (spaces only, as the runtime does).
std::string trim(std::string_view text);

}  // namespace tess::rt
