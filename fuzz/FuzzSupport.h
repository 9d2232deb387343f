#pragma once
// What every fuzz target shares: a private scratch folder for the file
// targets, and a check that stops the run with the broken property named.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "FileIo.h"
#include "SettingsImage.h"

namespace fuzz {

// A property that must hold for every input; libFuzzer keeps the input that
// broke it.
#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (0)

// One folder per process, made at the first call, with a trailing separator
// and a config\ subfolder, as the program folder has them.
const std::string& scratchFolder();

// The defaults both programs start from, made once per process.
const SettingsImage& defaultImage();

inline void writeFile(const std::string& path, std::string_view bytes) {
  FUZZ_CHECK(replaceFileAtomically(path, bytes));
}

template <size_t N>
bool terminated(const char (&field)[N]) {
  return std::memchr(field, 0, N) != nullptr;
}

}  // namespace fuzz
