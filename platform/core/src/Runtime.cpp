#include "platform/Runtime.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "platform/Text.h"

namespace tess::rt {

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

namespace {

// Exact: for |v| < 2^52 the difference to floor(v) is representable; above that v is whole.
double roundHalfEvenExact(double value) {
    const double lower = std::floor(value);
    const double diff = value - lower;
    if (diff < 0.5) {
        return lower;
    }
    if (diff > 0.5) {
        return lower + 1.0;
    }
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

template <class Int>
std::optional<Int> toIntRounded(double value) {
    if (std::isnan(value)) {
        return std::nullopt;
    }
    const double r = roundHalfEvenExact(value);
    if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
        r > static_cast<double>(std::numeric_limits<Int>::max())) {
        return std::nullopt;
    }
    return static_cast<Int>(r);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A scanned number: its value and how many characters of the text it took (0: none).
struct Scan {
    double value = 0.0;
    std::size_t length = 0;
    bool overflow = false;  // an "&H"/"&O" number beyond 32 bits
};

// "&H" or "&O" followed by digits of that radix. Values that do not fit 32 bits count as no
// number; 32-bit values are read as two's complement.
Scan scanRadix(std::string_view s) {
    if (s.size() < 2 || s[0] != '&') {
        return {};
    }
    const char kind = s[1];
    int bitsPerDigit = 0;
    if (kind == 'h' || kind == 'H') {
        bitsPerDigit = 4;
    } else if (kind == 'o' || kind == 'O') {
        bitsPerDigit = 3;
    } else {
        return {};
    }
    const int radix = 1 << bitsPerDigit;
    std::uint64_t value = 0;
    bool overflow = false;
    std::size_t i = 2;
    for (; i < s.size(); ++i) {
        const int d = hexDigitValue(s[i]);
        if (d < 0 || d >= radix) {
            break;
        }
        value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
        if (value > 0xFFFFFFFFull) {
            overflow = true;
            value = 0xFFFFFFFFull + 1;  // stays above the limit without growing further
        }
    }
    if (i == 2) {
        return {0.0, 0};
    }
    if (overflow) {
        return {0.0, i, true};
    }
    const auto asSigned = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return {static_cast<double>(asSigned), i};
}

// sign, digits with an optional fraction, optional exponent "E"/"D" with sign and digits.
Scan scanDecimal(std::string_view s) {
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    std::string normal;  // the mantissa and exponent in the form from_chars reads
    std::size_t mantissaDigits = 0;
    long long magnitude = 0;  // decimal position of the first significant digit
    bool seenSignificant = false;
    long long leadingFractionZeros = 0;
    while (i < s.size() && isDigit(s[i])) {
        normal += s[i];
        if (s[i] != '0' || seenSignificant) {
            seenSignificant = true;
            ++magnitude;
        }
        ++mantissaDigits;
        ++i;
    }
    if (i < s.size() && s[i] == '.') {
        std::size_t j = i + 1;
        std::string fraction;
        while (j < s.size() && isDigit(s[j])) {
            if (!seenSignificant) {
                if (s[j] == '0') {
                    ++leadingFractionZeros;
                } else {
                    seenSignificant = true;
                }
            }
            fraction += s[j];
            ++j;
        }
        if (mantissaDigits + fraction.size() > 0) {
            mantissaDigits += fraction.size();
            if (!fraction.empty()) {
                normal += '.';
                normal += fraction;
            }
            i = j;
        }
    }
    if (mantissaDigits == 0) {
        return {};
    }
    if (normal.front() == '.') {
        normal.insert(normal.begin(), '0');
    }
    long long exponent = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            expNegative = s[j] == '-';
            ++j;
        }
        const std::size_t digitsStart = j;
        while (j < s.size() && isDigit(s[j])) {
            if (exponent < 1'000'000'000) {
                exponent = exponent * 10 + (s[j] - '0');
            }
            ++j;
        }
        if (j > digitsStart) {
            if (expNegative) {
                exponent = -exponent;
            }
            normal += 'e';
            normal += std::to_string(exponent);
            i = j;
        }
    }
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        const long long position =
            seenSignificant ? (magnitude > 0 ? magnitude : -leadingFractionZeros) + exponent : 0;
        value = position > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    if (negative) {
        value = -value;
    }
    if (value == 0.0) {
        value = 0.0;  // no negative zero
    }
    return {value, i};
}

Scan scanNumber(std::string_view s) {
    if (!s.empty() && s[0] == '&') {
        return scanRadix(s);
    }
    return scanDecimal(s);
}

std::string twoDigits(int value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", ((value % 100) + 100) % 100);
    return buffer;
}

std::string hour12(int hour) {
    int h = hour % 12;
    if (h == 0) {
        h = 12;
    }
    return twoDigits(h);
}

const char* amPm(int hour) {
    return hour < 12 ? "AM" : "PM";
}

char32_t lowerOf(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 32;
    }
    switch (c) {
        case 0x160:  // S caron
        case 0x152:  // OE
        case 0x17D:  // Z caron
            return c + 1;
        case 0x178:  // Y diaeresis
            return 0xFF;
        default:
            return c;
    }
}

char32_t upperOf(char32_t c) {
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return c - 32;
    }
    switch (c) {
        case 0x161:
        case 0x153:
        case 0x17E:
            return c - 1;
        case 0xFF:
            return 0x178;
        default:
            return c;
    }
}

// Maps the characters of valid UTF-8 sequences and copies every other byte as it is.
template <class Map>
std::string mapCase(std::string_view text, Map map) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out += static_cast<char>(map(b));
            ++i;
            continue;
        }
        std::size_t len = b >= 0xC2 && b <= 0xDF ? 2 : 0;
        if (len == 2 && i + 1 < text.size() &&
            (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            const char32_t c =
                ((b & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
            out += utf8::encode(map(c));
            i += 2;
            continue;
        }
        // Longer sequences hold no letter we map; copy byte by byte.
        out += text[i];
        ++i;
    }
    return out;
}

}  // namespace

std::optional<std::int16_t> toInt16(double value) {
    return toIntRounded<std::int16_t>(value);
}

std::optional<std::int32_t> toInt32(double value) {
    return toIntRounded<std::int32_t>(value);
}

std::int32_t roundHalfEven(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double r = roundHalfEvenExact(value);
    if (r <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (r >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(r);
}

double intFloor(double value) {
    return std::floor(value);
}

std::optional<std::int64_t> intDiv(double a, double b) {
    const auto x = toInt32(a);
    const auto y = toInt32(b);
    if (!x || !y || *y == 0) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(*x) / static_cast<std::int64_t>(*y);
}

double val(std::string_view text) {
    std::string stripped;
    stripped.reserve(text.size());
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            stripped += c;
        }
    }
    return scanNumber(stripped).value;
}

bool isNumeric(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) {
        ++begin;
    }
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) {
        --end;
    }
    const std::string_view core = text.substr(begin, end - begin);
    if (core.empty()) {
        return false;
    }
    if (core[0] == '&') {
        // An "&H" number longer than 32 bits is an overflow, not a number.
        const Scan s = scanRadix(core);
        return s.length == core.size() && !s.overflow;
    }
    const Scan s = scanDecimal(core);
    return s.length == core.size() && std::isfinite(s.value);
}

std::optional<double> toNumber(std::string_view text) {
    if (!isNumeric(text)) {
        return std::nullopt;
    }
    return val(text);
}

std::string hex(std::int64_t value) {
    std::uint64_t bits = static_cast<std::uint64_t>(value);
    if (value < 0 && value >= std::numeric_limits<std::int32_t>::min()) {
        bits &= 0xFFFFFFFFull;
    }
    if (bits == 0) {
        return "0";
    }
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    while (bits != 0) {
        out.insert(out.begin(), kDigits[bits & 15u]);
        bits >>= 4;
    }
    return out;
}

std::string hex2(int byteValue) {
    std::string h = hex(byteValue);
    if (h.size() < 2) {
        h.insert(h.begin(), '0');
    }
    return h;
}

std::string formatTime12(const DateTime& t) {
    return hour12(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second) + " " +
           amPm(t.hour);
}

std::string formatDateMDY(const DateTime& t) {
    return twoDigits(t.month) + "-" + twoDigits(t.day) + "-" + twoDigits(t.year);
}

std::string formatDateTimeMDY12(const DateTime& t) {
    return formatDateMDY(t) + " " + hour12(t.hour) + ":" + twoDigits(t.minute) + " " + amPm(t.hour);
}

std::string formatThousands(double value, std::string_view separator) {
    if (!std::isfinite(value)) {
        return {};
    }
    const double rounded = roundHalfEvenExact(value);
    if (rounded == 0.0) {
        return {};
    }
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", std::fabs(rounded));
    const std::string digits = buffer;
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += separator;
        }
        out += digits[i];
    }
    return rounded < 0 ? "-" + out : out;
}

std::string formatFixed(double value, int minIntegerDigits, int decimals) {
    if (!std::isfinite(value)) {
        return {};
    }
    decimals = decimals < 0 ? 0 : (decimals > 30 ? 30 : decimals);
    // The exact decimal expansion of a double has at most 1074 fraction digits.
    std::vector<char> buffer(1500);
    std::snprintf(buffer.data(), buffer.size(), "%.1080f", std::fabs(value));
    std::string exact = buffer.data();
    const std::size_t point = exact.find('.');
    std::string whole = exact.substr(0, point);
    std::string fraction = exact.substr(point + 1);
    std::string kept = whole + fraction.substr(0, static_cast<std::size_t>(decimals));
    if (fraction[static_cast<std::size_t>(decimals)] >= '5') {
        // Half away from zero: a 5 in the first dropped place always rounds up.
        bool carry = true;
        for (std::size_t i = kept.size(); carry && i > 0; --i) {
            if (kept[i - 1] == '9') {
                kept[i - 1] = '0';
            } else {
                ++kept[i - 1];
                carry = false;
            }
        }
        if (carry) {
            kept.insert(kept.begin(), '1');
        }
    }
    std::string intPart = kept.substr(0, kept.size() - static_cast<std::size_t>(decimals));
    const std::string fracPart = kept.substr(intPart.size());
    const std::size_t firstNonZero = intPart.find_first_not_of('0');
    intPart = firstNonZero == std::string::npos ? std::string() : intPart.substr(firstNonZero);
    while (static_cast<int>(intPart.size()) < minIntegerDigits) {
        intPart.insert(intPart.begin(), '0');
    }
    std::string out = intPart;
    if (decimals > 0) {
        out += '.';
        out += fracPart;
    }
    const bool allZero = out.find_first_not_of("0.") == std::string::npos;
    if (value < 0 && !allZero) {
        out.insert(out.begin(), '-');
    }
    return out;
}

std::string toLower(std::string_view text) {
    return mapCase(text, lowerOf);
}

std::string toUpper(std::string_view text) {
    return mapCase(text, upperOf);
}

std::string trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == ' ') {
        ++begin;
    }
    while (end > begin && text[end - 1] == ' ') {
        --end;
    }
    return std::string(text.substr(begin, end - begin));
}

}  // namespace tess::rt
