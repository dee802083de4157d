#include "platform/qt/qt_panel_hover.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <algorithm>

#include "platform/qt/qt_xcb.h"

namespace sysvane::qt {

namespace {

xcb_connection_t* Connection() {
  // A program on an X server of a Wayland desktop (XWayland) sees none of its panels.
  if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return nullptr;
  const auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

}  // namespace

PanelHover::PanelHover() {
  QCoreApplication::instance()->installNativeEventFilter(this);
}

PanelHover::~PanelHover() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool PanelHover::Follow() {
  // Called when a tray host came: the panels before it may be gone, with the pointer over them.
  panels_.clear();
  SetOver(false);
  xcb_connection_t* c = Connection();
  if (!c) return false;
  const xcb_atom_t type = Atom(c, "_NET_WM_WINDOW_TYPE");
  const xcb_atom_t dock = Atom(c, "_NET_WM_WINDOW_TYPE_DOCK");
  if (type == XCB_ATOM_NONE || dock == XCB_ATOM_NONE) return false;  // no panel ever said it is one
  // The top-level windows: the root's children, and the clients a window manager put in frames.
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
  std::vector<uint32_t> windows;
  if (tree) {
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    windows.assign(children, children + xcb_query_tree_children_length(tree.get()));
  }
  const xcb_atom_t clientList = Atom(c, "_NET_CLIENT_LIST");
  if (clientList != XCB_ATOM_NONE) {
    const Reply<xcb_get_property_reply_t> clients(xcb_get_property_reply(
        c, xcb_get_property(c, 0, root, clientList, XCB_ATOM_WINDOW, 0, 4096), nullptr));
    for (uint32_t window : Cardinals(clients.get())) windows.push_back(window);
  }
  // Every question first, then every answer: one round trip for all the windows.
  std::vector<xcb_get_property_cookie_t> asked;
  for (uint32_t window : windows) asked.push_back(xcb_get_property(c, 0, window, type, XCB_ATOM_ATOM, 0, 16));
  for (size_t i = 0; i < windows.size(); ++i) {
    const Reply<xcb_get_property_reply_t> types(xcb_get_property_reply(c, asked[i], nullptr));
    const std::vector<uint32_t> named = Cardinals(types.get());
    if (std::find(named.begin(), named.end(), dock) == named.end()) continue;
    if (std::find(panels_.begin(), panels_.end(), windows[i]) != panels_.end()) continue;
    panels_.push_back(windows[i]);
    const uint32_t mask = XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW;
    xcb_change_window_attributes(c, windows[i], XCB_CW_EVENT_MASK, &mask);
  }
  xcb_flush(c);
  return Known();
}

bool PanelHover::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
  if (type != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  const uint8_t kind = event->response_type & 0x7f;
  if (kind != XCB_ENTER_NOTIFY && kind != XCB_LEAVE_NOTIFY) return false;
  // Enter and Leave have the same layout.
  const auto* crossing = static_cast<const xcb_enter_notify_event_t*>(message);
  if (std::find(panels_.begin(), panels_.end(), crossing->event) == panels_.end()) return false;
  // Into one of the panel's own windows (an embedded icon's) is still on the panel.
  if (kind == XCB_LEAVE_NOTIFY && crossing->detail == XCB_NOTIFY_DETAIL_INFERIOR) return false;
  SetOver(kind == XCB_ENTER_NOTIFY);
  return false;
}

void PanelHover::SetOver(bool over) {
  if (over == over_) return;
  over_ = over;
  if (Changed) Changed(over);
}

}  // namespace sysvane::qt
