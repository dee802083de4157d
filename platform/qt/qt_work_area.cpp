#include "platform/qt/qt_work_area.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <algorithm>

#include "platform/qt/qt_xcb.h"

namespace sysvane::qt {

namespace {

// Whether the spans [a0, a1] and [b0, b1] share a pixel.
bool Meet(int a0, int a1, int b0, int b1) {
  return a0 <= b1 && b0 <= a1;
}

}  // namespace

QRect AreaLeftByStruts(const QRect& screen, const QSize& root, const std::vector<Strut>& struts) {
  int left = screen.left(), top = screen.top();
  int right = screen.right() + 1, bottom = screen.bottom() + 1;  // exclusive
  for (const Strut& s : struts) {
    if (s.top > 0 && Meet(s.topStart, s.topEnd, screen.left(), screen.right())) top = std::max(top, s.top);
    if (s.bottom > 0 && Meet(s.bottomStart, s.bottomEnd, screen.left(), screen.right()))
      bottom = std::min(bottom, root.height() - s.bottom);
    if (s.left > 0 && Meet(s.leftStart, s.leftEnd, screen.top(), screen.bottom()))
      left = std::max(left, s.left);
    if (s.right > 0 && Meet(s.rightStart, s.rightEnd, screen.top(), screen.bottom()))
      right = std::min(right, root.width() - s.right);
  }
  if (right <= left || bottom <= top) return screen;  // struts that leave nothing are not believed
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

std::optional<std::vector<Strut>> StrutsWithoutPublishedWorkArea() {
  const auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  xcb_connection_t* c = x11 ? x11->connection() : nullptr;
  if (!c) return std::nullopt;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const xcb_atom_t workArea = Atom(c, "_NET_WORKAREA");
  if (workArea != XCB_ATOM_NONE) {
    const Reply<xcb_get_property_reply_t> published(
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, workArea, XCB_ATOM_CARDINAL, 0, 4), nullptr));
    if (Cardinals(published.get()).size() >= 4) return std::nullopt;
  }
  const xcb_atom_t partial = Atom(c, "_NET_WM_STRUT_PARTIAL");
  const xcb_atom_t plain = Atom(c, "_NET_WM_STRUT");
  std::vector<Strut> struts;
  if (partial == XCB_ATOM_NONE && plain == XCB_ATOM_NONE) return struts;  // no panel ever reserved room
  const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
  if (!tree) return struts;
  const xcb_window_t* children = xcb_query_tree_children(tree.get());
  const int count = xcb_query_tree_children_length(tree.get());
  // Every question first, then every answer: one round trip for all the windows.
  struct Asked {
    xcb_get_window_attributes_cookie_t mapped;
    xcb_get_property_cookie_t partial, plain;
  };
  std::vector<Asked> asked;
  for (int i = 0; i < count; ++i)
    asked.push_back({xcb_get_window_attributes(c, children[i]),
                     xcb_get_property(c, 0, children[i], partial, XCB_ATOM_CARDINAL, 0, 12),
                     xcb_get_property(c, 0, children[i], plain, XCB_ATOM_CARDINAL, 0, 4)});
  for (const Asked& a : asked) {
    const Reply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(c, a.mapped, nullptr));
    const Reply<xcb_get_property_reply_t> partialReply(xcb_get_property_reply(c, a.partial, nullptr));
    const Reply<xcb_get_property_reply_t> plainReply(xcb_get_property_reply(c, a.plain, nullptr));
    if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE) continue;
    std::vector<uint32_t> v = Cardinals(partialReply.get());
    if (v.size() < 12) {
      v = Cardinals(plainReply.get());
      if (v.size() < 4) continue;
      // The older form covers the whole edge.
      v.resize(12);
      v[5] = v[7] = v[9] = v[11] = 1u << 30;
    }
    auto n = [&](size_t i) { return int(std::min<uint32_t>(v[i], 1u << 30)); };
    struts.push_back({n(0), n(1), n(2), n(3), n(4), n(5), n(6), n(7), n(8), n(9), n(10), n(11)});
  }
  return struts;
}

QRect WorkAreaOf(QScreen& screen) {
  const std::optional<std::vector<Strut>> struts = StrutsWithoutPublishedWorkArea();
  if (!struts) return screen.availableGeometry();
  return AreaLeftByStruts(screen.geometry(), screen.virtualSize(), *struts);
}

}  // namespace sysvane::qt
