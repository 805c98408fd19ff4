#include "workspace/CustomResizeRules.h"

#include <cstdint>
#include <limits>

#include "platform/Picture.h"
#include "platform/Runtime.h"

namespace tess {

namespace {

std::optional<std::int32_t> wholeNumber(std::string_view text) {
    const std::optional<double> number = sizeBoxNumber(text);
    if (!number)
        return std::nullopt;
    return rt::toInt32(*number);
}

bool fitsInt32(std::int64_t v) {
    return v >= std::numeric_limits<std::int32_t>::min() &&
           v <= std::numeric_limits<std::int32_t>::max();
}

}  // namespace

std::optional<double> sizeBoxNumber(std::string_view text) {
    return rt::toNumber(text);
}

ProportionStep proportionalText(std::string_view edited, std::string_view editedOriginal,
                                std::string_view otherOriginal) {
    using Outcome = ProportionStep::Outcome;
    const std::optional<double> number = sizeBoxNumber(edited);
    if (!number)
        return {Outcome::NotNumeric, {}};
    const std::optional<std::int32_t> value = rt::toInt32(*number);
    if (!value)
        return {Outcome::Overflow, {}};
    const std::optional<std::int32_t> other = wholeNumber(otherOriginal);
    const std::optional<std::int32_t> own = wholeNumber(editedOriginal);
    if (!other || !own)
        return {Outcome::Failed, {}};
    const std::int64_t product = std::int64_t{*value} * *other;
    if (!fitsInt32(product))
        return {Outcome::Overflow, {}};
    if (*own == 0)
        return {Outcome::Failed, {}};
    const std::int64_t quotient = product / *own;
    if (!fitsInt32(quotient))
        return {Outcome::Overflow, {}};
    return {Outcome::Written, std::to_string(quotient)};
}

std::optional<PictureSize> customSize(std::string_view text1, std::string_view text2) {
    const std::optional<double> width = sizeBoxNumber(text1);
    const std::optional<double> height = sizeBoxNumber(text2);
    if (!width || !height || *width < 1 || *height < 1)
        return std::nullopt;
    const std::int32_t w = rt::roundHalfEven(*width);
    const std::int32_t h = rt::roundHalfEven(*height);
    if (w > Picture::kMaxSide || h > Picture::kMaxSide ||
        std::int64_t{w} * h > Picture::kMaxPixels) {
        return std::nullopt;
    }
    return PictureSize{w, h};
}

bool resizeOkEnabled(std::string_view text1, std::string_view text2, std::string_view label5,
                     std::string_view label6) {
    if (!customSize(text1, text2))
        return false;
    return !(text1 == label5 && text2 == label6);
}

}  // namespace tess
