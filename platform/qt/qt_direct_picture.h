// A bar's picture put straight onto its own X window: one PutImage per repaint. Qt's backing store
// without X shared memory first puts the changed part into a server-side pixmap and then copies
// it to the window, clipping the GC before each step and clearing the clip after (five requests
// per repaint); with shared memory it waits for the X server before each repaint instead. A bar
// paints every pixel of its own rectangle, so it needs neither the pixmap nor the clips.
#pragma once

#include <QImage>
#include <QWidget>

struct xcb_connection_t;

namespace sysvane::qt {

class DirectPicture {
 public:
  // Whether pictures can go straight to a window here: the X11 platform, with a 24-bit screen
  // whose pixels are 32 bits in the machine's byte order (what QImage::Format_RGB32 holds).
  static bool Available();
  ~DirectPicture();
  // A picture the size of `widget` in device pixels, to paint into before Put.
  QImage& Canvas(const QWidget& widget);
  // Puts the canvas onto the widget's native window, in as many requests as the server's limit
  // on a request's size needs (one for any bar).
  void Put(const QWidget& widget);

 private:
  QImage canvas_;
  xcb_connection_t* connection_ = nullptr;
  uint32_t gc_ = 0;
  uint32_t gcWindow_ = 0;
};

}  // namespace sysvane::qt
