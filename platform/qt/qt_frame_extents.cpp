#include "platform/qt/qt_frame_extents.h"

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QByteArray>
#include <cstdlib>
#include <utility>

namespace sysvane::qt {

namespace {

xcb_connection_t* Connection() {
  const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->connection() : nullptr;
}

xcb_atom_t FrameExtentsAtom(xcb_connection_t* connection) {
  static const xcb_atom_t atom = [connection] {
    const QByteArray name = "_NET_FRAME_EXTENTS";
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData()), nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return found;
  }();
  return atom;
}

class FrameExtentsFilter : public QAbstractNativeEventFilter {
 public:
  FrameExtentsFilter(xcb_atom_t atom, std::function<void(QWidget&)> changed)
      : atom_(atom), changed_(std::move(changed)) {}

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) return false;
    const auto* notify = static_cast<const xcb_property_notify_event_t*>(message);
    if (notify->atom != atom_) return false;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->internalWinId() == notify->window) changed_(*widget);
    }
    return false;  // Qt sees the event as well
  }

 private:
  xcb_atom_t atom_;
  std::function<void(QWidget&)> changed_;
};

}  // namespace

std::optional<QMargins> NetFrameExtents(const QWidget& widget) {
  xcb_connection_t* connection = Connection();
  const WId window = widget.internalWinId();
  if (!connection || !window) return std::nullopt;
  xcb_get_property_reply_t* reply =
      xcb_get_property_reply(connection,
                             xcb_get_property(connection, 0, xcb_window_t(window),
                                              FrameExtentsAtom(connection), XCB_ATOM_CARDINAL, 0, 4),
                             nullptr);
  std::optional<QMargins> margins;
  if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 16) {
    // left, right, top, bottom, in the screen's pixels
    const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(reply));
    const qreal ratio = widget.devicePixelRatioF();
    margins =
        QMargins(qRound(v[0] / ratio), qRound(v[2] / ratio), qRound(v[1] / ratio), qRound(v[3] / ratio));
  }
  free(reply);
  return margins;
}

void FollowFrameExtents(std::function<void(QWidget&)> changed) {
  xcb_connection_t* connection = Connection();
  if (!connection) return;
  // Lives as long as the program; the dispatcher holds a filter once however often it is added.
  static FrameExtentsFilter filter(FrameExtentsAtom(connection), std::move(changed));
  qApp->installNativeEventFilter(&filter);
}

}  // namespace sysvane::qt
