#include "engine/OutputName.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "platform/Runtime.h"
#include "platform/Text.h"

namespace tess {

namespace {

// The value of the name's tail, or nullopt when it does not fit the counter.
std::optional<std::int32_t> tailValue(const std::string& name) {
    const std::u32string characters = utf8::decode(name);
    const std::size_t dot = characters.rfind(U'.');
    const std::u32string stem =
        dot == std::u32string::npos ? characters : characters.substr(0, dot);
    std::size_t digits = 0;
    for (char32_t ch : stem) {
        if (ch >= U'0' && ch <= U'9') {
            ++digits;
        }
    }
    const std::u32string tail = stem.substr(stem.size() - digits);
    const double value = rt::val(utf8::encode(tail));
    if (value <= 0) {
        return 0;
    }
    return rt::toInt32(value);
}

}  // namespace

std::string GetNumber(const std::vector<std::string>& names) {
    std::int32_t highest = 0;
    for (const std::string& name : names) {
        const std::optional<std::int32_t> value = tailValue(name);
        if (!value) {
            return "0";
        }
        highest = std::max(highest, *value);
    }
    if (highest == std::numeric_limits<std::int32_t>::max()) {
        return "0";
    }
    return std::to_string(highest + 1);
}

std::string GetNumber(const Result<std::vector<std::string>>& listing) {
    return listing ? GetNumber(listing.value()) : "0";
}

}  // namespace tess
