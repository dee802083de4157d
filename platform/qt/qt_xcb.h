// Small helpers for asking the X server directly, where Qt has no question of its own to ask.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace sysvane::qt {

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};
// An xcb reply, freed with the C library as xcb expects.
template <class T>
using Reply = std::unique_ptr<T, FreeReply>;

// The atom of `name`, or XCB_ATOM_NONE when no client has made it (so nothing can carry it).
inline xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  const Reply<xcb_intern_atom_reply_t> reply(
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, uint16_t(std::strlen(name)), name), nullptr));
  return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// A property of 32-bit values (CARDINAL, WINDOW), empty when the reply holds none.
inline std::vector<uint32_t> Cardinals(xcb_get_property_reply_t* reply) {
  if (!reply || reply->format != 32) return {};
  const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply));
  return std::vector<uint32_t>(values, values + xcb_get_property_value_length(reply) / 4);
}

}  // namespace sysvane::qt
