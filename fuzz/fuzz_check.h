#pragma once

#include <cstdio>
#include <cstdlib>

// A property every input must keep. A broken one ends the run as a crash, so libFuzzer keeps the
// input and the replay test fails on it.
#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)
