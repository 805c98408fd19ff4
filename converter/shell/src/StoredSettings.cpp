#include "shell/StoredSettings.h"

#include "platform/Runtime.h"

namespace tess::settings {

int listIndex(std::string_view text, int count, int fallback) {
    if (text.size() == 1 && text[0] >= '0' && text[0] - '0' < count)
        return text[0] - '0';
    return fallback;
}

Colour backgroundColour(std::string_view text) {
    const std::optional<std::int32_t> value = rt::toInt32(rt::val(text));
    if (!value || *value < 0 || *value > 0xFFFFFF)
        return 0;
    return *value;
}

std::optional<int> transparencyIndex(std::string_view text, int count) {
    if (!rt::isNumeric(text))
        return 0;
    const double number = rt::val(text);
    if (number < 0 || number > count - 1)
        return std::nullopt;
    const std::optional<std::int16_t> index = rt::toInt16(number);
    if (!index || *index > count - 1)
        return std::nullopt;
    return *index;
}

}  // namespace tess::settings
