// What every fuzz target shares: the invariant check that makes libFuzzer keep the input, and the
// small text helpers the targets build their inputs with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace sysvane::fuzz {

// A broken invariant aborts: libFuzzer then saves the input that broke it.
inline void Check(bool holds, const char* file, int line, const char* invariant) {
  if (holds) return;
  std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, invariant);
  std::abort();
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

// The text as one line a value can carry: no line ends or NULs, no blanks around it, never empty.
inline std::string OneLine(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; };
  std::string out;
  for (char c : text) {
    if (c != '\n' && c != '\0' && c != '\r' && !(out.empty() && blank(c))) out += c;
  }
  while (!out.empty() && blank(out.back())) out.pop_back();
  return out.empty() ? "x" : out;
}

}  // namespace sysvane::fuzz
