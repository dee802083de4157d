#include "platform/windows/com_apartment.h"

// clang-format off
#include "platform/windows/win32.h"
#include <objbase.h>
// clang-format on

namespace sysvane::windows {

ComApartment::ComApartment()
    : joined_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}

ComApartment::~ComApartment() {
  if (joined_) CoUninitialize();
}

}  // namespace sysvane::windows
