// COM on the calling thread, apartment-threaded and without OLE1 DDE, for as long as it lives: the
// shell's link object and the handlers of mailto: and of web links may be COM objects, and some of
// them need a single-threaded apartment. A thread that has COM already keeps it as it is.
#pragma once

namespace sysvane::windows {

class ComApartment {
 public:
  ComApartment();
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool joined_;  // false: the thread had COM in the other model and keeps it (RPC_E_CHANGED_MODE)
};

}  // namespace sysvane::windows
