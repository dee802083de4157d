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

inline std::string_view AsText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The text with "#" in front of every line: no line of it has a key any parser looks for, so what
// follows it must be read as if it were not there.
inline std::string Neutralized(std::string_view text) {
  std::string out = "#";
  for (char c : text) out += c == '\n' ? "\n#" : std::string(1, c);
  return out + "\n";
}

// Eight bytes of the input from `offset` as a number (zeros past the end).
inline uint64_t NumberAt(std::string_view text, size_t offset) {
  uint64_t value = 0;
  for (size_t at = offset; at < offset + 8; ++at)
    value = value << 8 | (at < text.size() ? uint8_t(text[at]) : 0u);
  return value;
}

// The text as a value one line can carry: printable ASCII without blanks, never empty.
inline std::string OneLine(std::string_view text) {
  std::string out = "x";
  for (char c : text) out += c > ' ' && c < 0x7F ? c : '_';
  return out;
}

}  // namespace sysvane::fuzz

// Every target is one file of its own that includes this header once.
using namespace sysvane;
using namespace sysvane::fuzz;
