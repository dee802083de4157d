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

std::optional<QRect> IconPlaceFromHost(QPoint sent, const QRect& screen, const QRect& workArea) {
  constexpr int kLargestIcon = 64;  // pixels: no panel draws its icons larger
  if (sent.x() >= kLargestIcon || sent.y() >= kLargestIcon) return QRect(sent, QSize(1, 1));
  if (workArea != screen) return std::nullopt;
  return QRect(QPoint(screen.right(), screen.top() + sent.y()), QSize(1, 1));
}

}  // namespace sysvane::qt
