// The work area where the window manager publishes none (no window manager at all, or one such
// as sway's XWayland that does not): the screen less what the panels' dock windows reserve with
// _NET_WM_STRUT_PARTIAL (or the older _NET_WM_STRUT), as a window manager would compute it.
#pragma once

#include <QRect>
#include <QScreen>
#include <QSize>
#include <optional>
#include <vector>

namespace sysvane::qt {

// A panel's reservation, in root-window pixels: the depth at each edge of the whole X screen and,
// for each edge, the span along it (start and end inclusive) that the reservation covers.
struct Strut {
  int left = 0, right = 0, top = 0, bottom = 0;
  int leftStart = 0, leftEnd = 0, rightStart = 0, rightEnd = 0;
  int topStart = 0, topEnd = 0, bottomStart = 0, bottomEnd = 0;
};

// The part of `screen` that the struts leave free; `root` is the size of the whole X screen.
QRect AreaLeftByStruts(const QRect& screen, const QSize& root, const std::vector<Strut>& struts);

// On X11 without a published _NET_WORKAREA: the struts of the mapped top-level windows; nullopt
// where a window manager publishes the work area (Qt reads it then) or the platform is not X11.
std::optional<std::vector<Strut>> StrutsWithoutPublishedWorkArea();

// The screen less the panels: as the window manager publishes it, else as the panels reserve it.
QRect WorkAreaOf(QScreen& screen);

}  // namespace sysvane::qt
