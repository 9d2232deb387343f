// The fuzz entry points over a fixed pseudo-random corpus, so that every
// build checks the invariants a fuzzer would hunt.
#include "MacroFuzz.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kInputs = 800;
constexpr size_t kMaxInputSize = 600;

template <typename Entry>
void runCorpus(Entry entry, uint32_t seed) {
  uint32_t state = seed;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return uint8_t(state >> 24);
  };
  std::vector<uint8_t> input;
  for (int i = 0; i < kInputs; ++i) {
    input.resize(size_t(next()) * kMaxInputSize / 256 + next() % 8);
    for (uint8_t& b : input) b = next();
    entry(input.data(), input.size());
  }
  entry(nullptr, 0);
}

TEST(MacroFuzz, RecordingHoldsItsInvariants) { runCorpus(fuzzRecording, 1); }
TEST(MacroFuzz, StepEditsHoldTheirInvariants) { runCorpus(fuzzStepEdits, 2); }
TEST(MacroFuzz, NamesStayUniqueTrimmedAndShort) { runCorpus(fuzzNames, 3); }
TEST(MacroFuzz, ManagerSessionsWriteBackAndStayInBounds) { runCorpus(fuzzMacroManager, 4); }

}  // namespace
