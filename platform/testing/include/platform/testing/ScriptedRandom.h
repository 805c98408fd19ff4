#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Random.h"

namespace tess::testing {

// A random sequence written by the test. next() hands out the scripted values in order and starts
// over after the last one, so a one-value script gives a constant. Values outside [0, 1) are
// refused at construction (std::invalid_argument): the callers scale them into array indexes.
// An empty script gives 0 forever.
//
// history() records the calls in order, "r" for a reseed and "n" for a draw, so a test can pin
// how draws and reseeds interleave ("rnrn" versus "rnn").
class ScriptedRandom : public Random {
  public:
    explicit ScriptedRandom(std::vector<float> values = {});

    float next() override;
    void reseed(std::uint64_t entropy) override;

    void setValues(std::vector<float> values);  // also restarts at the first value
    int drawCount() const { return draws_; }
    const std::vector<std::uint64_t>& reseeds() const { return reseeds_; }
    const std::string& history() const { return history_; }

  private:
    std::vector<float> values_;
    std::size_t position_ = 0;
    int draws_ = 0;
    std::vector<std::uint64_t> reseeds_;
    std::string history_;
};

}  // namespace tess::testing
