// A window on screen: a top-level widget placed without layouts. A window with a title bar is a
// decorated window whose client area is the form's client size, and whose real frame goes back to
// the form once the window manager has put it on; a window with a border only is
// frameless, takes the form's outer size and paints its own one-pixel border, its controls
// offset by that border; a window without border is frameless and bare.
#pragma once

#include <QEventLoop>
#include <QPointer>
#include <QWidget>

#include "platform/forms.h"

namespace sysvane::qt {

class FormWidget : public QWidget {
 public:
  explicit FormWidget(forms::Form& form);
  // The form has unloaded: the widget no longer reaches it.
  void Unbind() { form_ = nullptr; }
  forms::Form* form() const { return form_; }
  // Where the client area begins, in the widget's pixels.
  QPoint ClientOrigin() const { return clientOrigin_; }
  void SetClientOrigin(QPoint origin) { clientOrigin_ = origin; }
  bool PaintsBorder() const { return paintsBorder_; }
  void SetPaintsBorder(bool v) { paintsBorder_ = v; }
  // Reads the window manager's frame again once the events now queued are handled.
  void CheckFrameSoon();

 protected:
  void paintEvent(QPaintEvent*) override;
  void closeEvent(QCloseEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;

 private:
  // A key reaches the form itself only when none of its controls has the focus; with KeyPreview a
  // focused control has handed it on already.
  bool KeyCameThroughControl() const;
  void PressButton(bool defaultButton);
  void ReportFrame();
  forms::Form* form_;
  bool frameCheckDue_ = false;
  bool framed_ = false;  // the window manager's frame is known; until then its moves are not news
  QPoint clientOrigin_;
  bool paintsBorder_ = false;
};

class FormPeer : public forms::Peer {
 public:
  explicit FormPeer(forms::Form& form);
  ~FormPeer() override;
  void Changed(forms::Prop prop) override;

  FormWidget* widget() const { return widget_; }
  // Runs a nested loop, with the window application-modal, until it is unloaded or hidden.
  void RunModal();

 private:
  void ApplyFlags();
  void ApplyGeometry();
  void ApplyVisible();
  void ApplyRegion();
  void RepaintNow();
  forms::Form& form_;
  QPointer<FormWidget> widget_;
  QPointer<QEventLoop> modalLoop_;
};

}  // namespace sysvane::qt
