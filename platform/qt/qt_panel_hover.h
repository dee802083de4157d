// Whether the pointer is over a panel of an X desktop (a window of type _NET_WM_WINDOW_TYPE_DOCK),
// learnt from the panels' own Enter and Leave events, which the X server sends to every client
// that asks for them: nothing is polled, and nothing wakes the program while the pointer is
// elsewhere. A D-Bus tray host reports no hovering over the icon: the pointer on a panel is the
// nearest sign the program can see. Where no panel is an X window (a Wayland desktop), none is
// known.
#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>
#include <vector>

namespace sysvane::qt {

class PanelHover : public QAbstractNativeEventFilter {
 public:
  PanelHover();
  ~PanelHover() override;

  // Looks for the panels again (one may have come or gone) and follows them; false when the
  // desktop shows none to the program.
  bool Follow();
  bool Known() const { return !panels_.empty(); }
  bool Over() const { return over_; }
  // Told when the pointer comes onto a panel or leaves it.
  std::function<void(bool over)> Changed;

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

 private:
  void SetOver(bool over);

  std::vector<uint32_t> panels_;  // their window ids
  bool over_ = false;
};

}  // namespace sysvane::qt
