// Checks for programming errors that ordinary use cannot reach, each with a fixed text.
// Debug builds stop at once with the text. Release builds carry on: a plug-in must never
// take its host down, so the caller returns its failure result (an empty bitmap, say).
#pragma once

#include <cstdio>
#include <cstdlib>

// True when condition holds.
inline bool CheckAssertion(bool condition, const char* text) {
#ifndef NDEBUG
  if (!condition) {
    std::fprintf(stderr, "Assertion failed: %s\n", text);
    std::abort();
  }
#else
  (void)text;
#endif
  return condition;
}
