// What every fuzz target shares: the invariant check that makes libFuzzer keep the input, and the
// small text helpers the targets build their inputs with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// A broken invariant aborts: libFuzzer then saves the input that broke it.
#define FUZZ_CHECK(condition)                                                                \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (0)

namespace sysvane::fuzz {

inline std::string_view AsText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The text with "#" in front of every line, so that no line of it has any key a parser looks
// for: whatever comes after it must be read as if the text were not there.
inline std::string Neutralized(std::string_view text) {
  std::string out = "#";
  for (char c : text) {
    out += c;
    if (c == '\n') out += '#';
  }
  return out + "\n";
}

// Up to eight bytes of the input from `offset` as a number (zeros past the end).
inline uint64_t NumberAt(std::string_view text, size_t offset) {
  uint64_t value = 0;
  for (size_t i = 0; i < 8; ++i) {
    const size_t at = offset + i;
    value = value << 8 | (at < text.size() ? static_cast<unsigned char>(text[at]) : 0u);
  }
  return value;
}

// The text without the characters that end a line or a value, and without surrounding blanks:
// something a single line can carry as it is.
inline std::string OneLine(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c != '\n' && c != '\0') out += c;
  }
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
  size_t begin = 0, end = out.size();
  while (begin < end && blank(out[begin])) ++begin;
  while (end > begin && blank(out[end - 1])) --end;
  return out.substr(begin, end - begin);
}

}  // namespace sysvane::fuzz
