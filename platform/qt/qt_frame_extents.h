// The window manager's frame around a top-level window on X11, as the window's own
// _NET_FRAME_EXTENTS tells it. Qt reads that property again only after the window moved or was
// resized, so a frame that changes in place (a new theme, a window framed anew) would go unseen.
#pragma once

#include <QMargins>
#include <QWidget>
#include <functional>
#include <optional>

namespace sysvane::qt {

// The frame of a top-level widget's window in its pixels; nullopt off X11, before the window
// exists, or when no window manager set the property.
std::optional<QMargins> NetFrameExtents(const QWidget& widget);

// Calls `changed` with the top-level widget whose _NET_FRAME_EXTENTS the window manager changed.
// Set up once for the whole program: the first call's `changed` is the one kept.
void FollowFrameExtents(std::function<void(QWidget&)> changed);

}  // namespace sysvane::qt
