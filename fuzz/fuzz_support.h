// What every fuzz target shares: the invariant check that makes libFuzzer keep the input, and the
// small text helpers the targets build their inputs with.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace sysvane::fuzz {

// A broken invariant aborts: libFuzzer then saves the input that broke it.
inline void Check(bool holds, const char* file, int line, const char* invariant) {
  if (!holds) std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, invariant), std::abort();
}
#define FUZZ_CHECK(invariant) sysvane::fuzz::Check((invariant), __FILE__, __LINE__, #invariant)

inline std::string AsText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The text with "#" in front of every line: no line of it has a key any parser looks for, so what
// follows it must be read as if it were not there.
inline std::string Neutralized(std::string_view text) {
  std::string out = "#";
  for (char c : text) out += c == '\n' ? "\n#" : std::string(1, c);
  return out + "\n";
}

}  // namespace sysvane::fuzz

// Every target is one file of its own that includes this header once.
using namespace sysvane;
using namespace sysvane::fuzz;
