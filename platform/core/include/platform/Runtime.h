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
// The "\" operator: both operands rounded half-even to whole numbers, then division truncating
// toward zero. Division by zero gives nullopt.
std::optional<std::int64_t> intDiv(double a, double b);

// Val(): the leading number of a text (blanks, tabs and line feeds inside are skipped; "&H" and
// "&O" prefixes; an exponent). A text without one gives 0.
double val(std::string_view text);
// IsNumeric(): whether the whole text (blanks around allowed) reads as one number.
bool isNumeric(std::string_view text);

// Hex(): upper-case hexadecimal without leading zeros; negative values in 32-bit two's complement.
std::string hex(std::int64_t value);
// Two upper-case hex digits, zero-padded (the colour texts).
std::string hex2(int byteValue);

// "hh:mm:ss AM/PM", e.g. "11:59:58 PM" (hours 01..12).
std::string formatTime12(const DateTime& t);
// "mm-dd-yy", e.g. "10-12-05".
std::string formatDateMDY(const DateTime& t);
// "#,###": rounded half-even to a whole number with thousands commas; zero gives the empty text.
std::string formatThousands(double value);

// Case helpers on UTF-8 text (ASCII and Latin-1 letters).
std::string toLower(std::string_view text);
std::string toUpper(std::string_view text);
// Trim(): removes leading and trailing blanks (spaces only, as the runtime does).
std::string trim(std::string_view text);

}  // namespace tess::rt
