// The fuzz targets' property check: a failed property names itself and its
// line on standard error, then aborts, which libFuzzer reports as a crash and
// keeps the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define IXO_FUZZ_CHECK(condition)                                                            \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (false)
