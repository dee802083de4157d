#include "platform/qt/qt_direct_picture.h"

#include <xcb/xcb.h>
#include <QGuiApplication>
#include <QSysInfo>

#include <algorithm>

namespace sysvane::qt {

namespace {

xcb_connection_t* Connection() {
  const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->connection() : nullptr;
}

}  // namespace

bool DirectPicture::Available() {
  static const bool available = [] {
    xcb_connection_t* connection = Connection();
    if (!connection) return false;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
    if (!screen || screen->root_depth != 24) return false;
    const bool littleEndian = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    if ((setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST) != littleEndian) return false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it))
      if (it.data->depth == 24) return it.data->bits_per_pixel == 32 && it.data->scanline_pad == 32;
    return false;
  }();
  return available;
}

DirectPicture::~DirectPicture() {
  if (gc_) xcb_free_gc(connection_, gc_);
}

QImage& DirectPicture::Canvas(const QWidget& widget) {
  const qreal ratio = widget.devicePixelRatioF();
  const QSize size = (QSizeF(widget.size()) * ratio).toSize();
  if (canvas_.size() != size) canvas_ = QImage(size, QImage::Format_RGB32);
  canvas_.setDevicePixelRatio(ratio);
  return canvas_;
}

void DirectPicture::Put(const QWidget& widget) {
  const auto window = uint32_t(widget.winId());
  if (!connection_) connection_ = Connection();
  if (!connection_ || canvas_.isNull()) return;
  if (gcWindow_ != window) {
    if (gc_) xcb_free_gc(connection_, gc_);
    gc_ = xcb_generate_id(connection_);
    // No GraphicsExpose events: nothing is copied, so nothing can be left unpainted.
    const uint32_t noExposures = 0;
    xcb_create_gc(connection_, gc_, window, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    gcWindow_ = window;
  }
  // The limit counts 4-byte units; a PutImage request's header is 24 bytes, 28 when it is a big
  // request (one above the core limit of 256 KiB).
  const size_t limit = size_t(xcb_get_maximum_request_length(connection_)) * 4 - 28;
  const auto stride = size_t(canvas_.bytesPerLine());
  const int rowsPerPut = int(std::max<size_t>(1, limit / stride));
  for (int top = 0; top < canvas_.height(); top += rowsPerPut) {
    const int rows = std::min(rowsPerPut, canvas_.height() - top);
    xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, gc_, uint16_t(canvas_.width()),
                  uint16_t(rows), 0, int16_t(top), 0, 24, uint32_t(stride * size_t(rows)),
                  canvas_.constScanLine(top));
  }
  xcb_flush(connection_);
}

}  // namespace sysvane::qt
