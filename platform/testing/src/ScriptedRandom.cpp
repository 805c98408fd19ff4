#include "platform/testing/ScriptedRandom.h"

#include <stdexcept>

namespace tess::testing {

ScriptedRandom::ScriptedRandom(std::vector<float> values) {
    setValues(std::move(values));
}

void ScriptedRandom::setValues(std::vector<float> values) {
    for (float v : values) {
        if (!(v >= 0.0f && v < 1.0f)) {
            throw std::invalid_argument("ScriptedRandom: value " + std::to_string(v) +
                                        " is outside [0, 1)");
        }
    }
    values_ = std::move(values);
    position_ = 0;
}

float ScriptedRandom::next() {
    ++draws_;
    history_ += 'n';
    if (values_.empty())
        return 0.0f;
    const float value = values_[position_];
    position_ = (position_ + 1) % values_.size();
    return value;
}

void ScriptedRandom::reseed(std::uint64_t entropy) {
    reseeds_.push_back(entropy);
    history_ += 'r';
}

}  // namespace tess::testing
