#include "platform/qt/qt_host_clicks.h"

#include "platform/forms.h"

namespace sysvane::qt {

std::vector<uint32_t> MessagesForRequest(SniRequest request, bool gnomeHost, bool quickSecond) {
  switch (request) {
    case SniRequest::Activate:
      if (gnomeHost) return {forms::WM_LBUTTONDBLCLK};
      return {quickSecond ? forms::WM_LBUTTONDBLCLK : forms::WM_LBUTTONUP};
    case SniRequest::SecondaryActivate:
      return {forms::WM_LBUTTONUP};
    case SniRequest::ContextMenu:
      return {forms::WM_RBUTTONUP};
  }
  return {};
}

}  // namespace sysvane::qt
