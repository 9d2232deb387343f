#pragma once
// Entry points that run the macro rules on arbitrary bytes and check their
// invariants, aborting on a breach. A libFuzzer target calls one of them from
// LLVMFuzzerTestOneInput; macros_tests runs them over a fixed corpus.

#include <cstddef>
#include <cstdint>

// Hook events recorded into a macro, fresh or around a selected step.
void fuzzRecording(const uint8_t* data, size_t size);
// Step menu commands and delay edits on one macro's steps.
void fuzzStepEdits(const uint8_t* data, size_t size);
// New lines, renames and deletions in both libraries.
void fuzzNames(const uint8_t* data, size_t size);
// Whole manager sessions: selection, recording, step commands, repeat.
void fuzzMacroManager(const uint8_t* data, size_t size);
