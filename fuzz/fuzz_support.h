// What every fuzz target shares: the invariant check that makes libFuzzer keep the input, and the
// bytes as a text.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace sysvane::fuzz {

// A broken invariant aborts: libFuzzer then saves the input that broke it.
inline void Check(bool holds, const char* file, int line, const char* invariant) {
  if (!holds) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, invariant);
    std::abort();
  }
}
#define FUZZ_CHECK(invariant) sysvane::fuzz::Check((invariant), __FILE__, __LINE__, #invariant)

inline std::string AsText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace sysvane::fuzz

// Every target is one file of its own that includes this header once.
using namespace sysvane;
using namespace sysvane::fuzz;
