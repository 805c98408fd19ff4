#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "workspace/ResizeCommands.h"

namespace tess {

// The rules of the custom resize dialog, on the texts of its two size boxes and the captions of
// its two original-size labels.

// The number a size box holds: its whole text read as one number (blanks around allowed, a
// fraction allowed); none for any other text. "1,000" is no number, so it never passes as the 1
// its first digit would read as.
std::optional<double> sizeBoxNumber(std::string_view text);

// The proportion rule's write into the other box.
struct ProportionStep {
    enum class Outcome {
        NotNumeric,  // the edited box holds no number: the other box is left alone
        Written,     // `text` goes into the other box
        Overflow,    // a value left the 32-bit range: OK is disabled, the other box left alone
        Failed,      // an original side of 0: the other box is left alone
    };
    Outcome outcome = Outcome::NotNumeric;
    std::string text;
    bool operator==(const ProportionStep&) const = default;
};

// (edited x otherOriginal) \ editedOriginal, each first rounded to a 32-bit whole number (a half
// to the even one), the product in 32 bits and the division truncating toward zero. For the width
// box: edited = the new width, editedOriginal = the original width, otherOriginal = the original
// height, and the result is the new height.
ProportionStep proportionalText(std::string_view edited, std::string_view editedOriginal,
                                std::string_view otherOriginal);

// The size OK resizes to: each box's number rounded to a whole number, a half to the even one
// (12.5 gives 12). None when a box holds no number, a number below 1, or a size the picture
// layer cannot hold (a side above 32767, more pixels than one picture may have), so no resize
// can fail half-way.
std::optional<PictureSize> customSize(std::string_view text1, std::string_view text2);

// The OK rule: a size customSize() accepts, and the two texts not both exactly the originals.
bool resizeOkEnabled(std::string_view text1, std::string_view text2, std::string_view label5,
                     std::string_view label6);

}  // namespace tess
