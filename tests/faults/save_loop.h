// What the save loop writes, shared with the test that kills it.
#pragma once

#include <string>

namespace sysvane::faults {

// A value big enough that writing the file takes a while: a kill often lands in the middle.
inline std::string Payload(long generation) {
  return std::string(200'000, char('a' + generation % 26)) + std::to_string(generation);
}

inline std::string ProgramOf(long generation) {
  return "/opt/sysvane-" + std::to_string(generation) + "/sysvane";
}

}  // namespace sysvane::faults
