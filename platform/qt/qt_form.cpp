#include "platform/qt/qt_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>
#include <QWindow>
#include <vector>

#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_frame_extents.h"
#include "platform/qt/qt_pictures.h"

namespace sysvane::qt {

using forms::Prop;

namespace {

// A window without taskbar entry and without title bar (the roll-up, the detail window, the
// splash) is a tooltip-like window that the window manager leaves alone: no taskbar button, no
// pager, no frame. Native Wayland has no such windows without a parent: a tool window there.
Qt::WindowFlags KindOf(const forms::Form& form) {
  if (form.ShowInTaskbar()) return Qt::Window;
  if (form.HasTitleBar() || QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
    return Qt::Tool;
  return Qt::ToolTip;
}

// A window with a title bar offers close alone (minimize and maximize only when sizable).
Qt::WindowFlags FlagsOf(const forms::Form& form) {
  Qt::WindowFlags flags = KindOf(form);
  if (form.HasTitleBar()) {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (form.ControlBox()) flags |= Qt::WindowCloseButtonHint;
    if (form.ControlBox() && form.borderStyle() == forms::BorderStyle::Sizable)
      flags |= Qt::WindowMinMaxButtonsHint;
  } else {
    flags |= Qt::FramelessWindowHint;
  }
  if (form.OnTop()) flags |= Qt::WindowStaysOnTopHint;
  return flags;
}

// The roll-up and detail windows come and go beside the user's work: they never take the focus.
bool ShowsWithoutActivating(const forms::Form& form) {
  return !form.ShowInTaskbar() && !form.HasTitleBar();
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// FormWidget

FormWidget::FormWidget(forms::Form& form) : QWidget(nullptr, FlagsOf(form)), form_(&form) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_ShowWithoutActivating, ShowsWithoutActivating(form));
  setFocusPolicy(Qt::NoFocus);
  FollowFrameExtents([](QWidget& widget) {
    if (auto* formWidget = dynamic_cast<FormWidget*>(&widget)) formWidget->CheckFrameSoon();
  });
}

void FormWidget::paintEvent(QPaintEvent* e) {
  if (!form_) return;
  QPainter painter(this);
  painter.fillRect(e->rect(), ToQColor(form_->BackColor()));
  if (!paintsBorder_) return;
  const QColor border = ToQColor(forms::Color::System(forms::SystemColor::WindowFrame));
  if (form_->Region()) {
    // The border follows the rounded outline of the window's region.
    const auto& r = *form_->Region();
    QPainterPath outline;
    outline.addRoundedRect(QRectF(r.left + 0.5, r.top + 0.5, r.right - r.left - 1, r.bottom - r.top - 1),
                           r.ellipseWidth / 2.0, r.ellipseHeight / 2.0);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(border, 1));
    painter.drawPath(outline);
  } else {
    painter.setPen(border);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void FormWidget::closeEvent(QCloseEvent* e) {
  // The window's close command goes to the model, which unloads the window (or keeps it).
  e->ignore();
  if (form_) form_->NotifyCloseRequest();
}

void FormWidget::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  CheckFrameSoon();
  // A window manager may frame the window a little after it is mapped.
  QTimer::singleShot(250, this, [this] { ReportFrame(); });
}

void FormWidget::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  CheckFrameSoon();
}

void FormWidget::CheckFrameSoon() {
  if (frameCheckDue_) return;
  frameCheckDue_ = true;
  QTimer::singleShot(0, this, [this] {
    frameCheckDue_ = false;
    ReportFrame();
  });
}

// The frame the window manager put around the window (_NET_FRAME_EXTENTS on X11; 0 without a
// window manager), once the window is on screen and again whenever it changes. Until then the
// window was mapped with a frame guessed, and a window manager may have pushed it to make that
// fit: the first real frame puts it back where the program placed it.
void FormWidget::ReportFrame() {
  QWindow* window = windowHandle();
  if (!form_ || !form_->HasTitleBar() || !isVisible() || !window || !window->isExposed()) return;
  const QMargins m = NetFrameExtents(*this).value_or(window->frameMargins());
  form_->NotifyFrame({ToTwips(m.left()), ToTwips(m.top()), ToTwips(m.right()), ToTwips(m.bottom())});
  if (framed_ || !form_) return;
  framed_ = true;
  const QPoint placed(ToPixels(form_->Left()), ToPixels(form_->Top()));
  if (pos() != placed) move(placed);
}

void FormWidget::moveEvent(QMoveEvent* e) {
  QWidget::moveEvent(e);
  CheckFrameSoon();
  if (!form_ || !isVisible() || (form_->HasTitleBar() && !framed_)) return;
  // Our own placement comes back here too: only a position the model does not hold is news.
  const QPoint outer = pos();
  if (outer.x() == ToPixels(form_->Left()) && outer.y() == ToPixels(form_->Top())) return;
  form_->NotifyMoved(ToTwips(outer.x()), ToTwips(outer.y()));
}

void FormWidget::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (!form_) return;
  if (e->type() == QEvent::ActivationChange) {
    if (isActiveWindow())
      form_->NotifyActivate();
    else
      form_->NotifyDeactivate();
  } else if (e->type() == QEvent::WindowStateChange) {
    form_->NotifyWindowState(isMinimized() ? forms::vbMinimized : forms::vbNormal);
  }
}

void FormWidget::mouseMoveEvent(QMouseEvent* e) {
  if (!form_) return;
  const QPointF client = e->position() - QPointF(clientOrigin_);
  form_->NotifyMouseMove(VbButton(e->buttons()), VbShift(e->modifiers()), ToTwips(client.x()),
                         ToTwips(client.y()));
}

bool FormWidget::KeyCameThroughControl() const {
  const QWidget* focus = QApplication::focusWidget();
  return focus && focus != this && isAncestorOf(focus);
}

void FormWidget::keyPressEvent(QKeyEvent* e) {
  if (!form_) return;
  if (!KeyCameThroughControl()) form_->NotifyKeyDown(VbKeyCode(e->key()), VbShift(e->modifiers()));
  if (!form_) return;
  if (e->modifiers() & ~(Qt::KeypadModifier)) return;
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
    PressButton(true);
  else if (e->key() == Qt::Key_Escape)
    PressButton(false);
}

void FormWidget::keyReleaseEvent(QKeyEvent* e) {
  if (form_ && !KeyCameThroughControl()) form_->NotifyKeyUp(VbKeyCode(e->key()), VbShift(e->modifiers()));
}

void FormWidget::PressButton(bool defaultButton) {
  for (forms::Control* control : form_->Controls()) {
    auto* button = dynamic_cast<forms::CommandButton*>(control);
    if (!button || !button->Visible() || !button->Enabled()) continue;
    if (defaultButton ? button->Default() : button->Cancel()) {
      button->NotifyClick();
      return;
    }
  }
}

// ---------------------------------------------------------------------------------------------
// FormPeer

FormPeer::FormPeer(forms::Form& form) : form_(form), widget_(new FormWidget(form)) {
  widget_->setWindowIcon(AppIcon());
  widget_->setWindowTitle(ToQString(form.Caption()));
  ApplyFlags();
  ApplyGeometry();
  ApplyRegion();
  ApplyVisible();
}

FormPeer::~FormPeer() {
  if (modalLoop_) modalLoop_->quit();
  if (!widget_) return;
  // The unload may come from inside one of the widget's own events: it goes at the next turn.
  widget_->Unbind();
  widget_->hide();
  widget_->deleteLater();
}

void FormPeer::Changed(Prop prop) {
  if (!widget_) return;
  switch (prop) {
    case Prop::Geometry:
      ApplyGeometry();
      break;
    case Prop::Visible:
      ApplyVisible();
      break;
    case Prop::Caption:
      widget_->setWindowTitle(ToQString(form_.Caption()));
      ApplyFlags();  // a caption can bring or take away the title bar
      break;
    case Prop::Colors:
      widget_->update();
      break;
    case Prop::OnTop:
      ApplyFlags();
      break;
    case Prop::Region:
      ApplyRegion();
      break;
    case Prop::WindowState:
      if (form_.WindowState() == forms::vbMinimized)
        widget_->showMinimized();
      else if (widget_->isMinimized())
        widget_->showNormal();
      break;
    case Prop::Repaint:
      RepaintNow();
      break;
    case Prop::Raise:
      widget_->raise();
      // The roll-up and detail windows come forward without taking the focus.
      if (!ShowsWithoutActivating(form_)) widget_->activateWindow();
      break;
    default:
      break;
  }
}

void FormPeer::ApplyFlags() {
  const Qt::WindowFlags flags = FlagsOf(form_);
  const forms::FrameExtents frame = form_.Frame();
  widget_->SetPaintsBorder(!form_.HasTitleBar() && form_.borderStyle() != forms::BorderStyle::None);
  widget_->SetClientOrigin(form_.HasTitleBar() ? QPoint()
                                               : QPoint(ToPixels(frame.left), ToPixels(frame.top)));
  if (widget_->windowFlags() == flags) return;
  // New flags hide a window: it comes back where it was.
  const bool shown = widget_->isVisible();
  const QPoint where = widget_->pos();
  widget_->setWindowFlags(flags);
  widget_->setAttribute(Qt::WA_ShowWithoutActivating, ShowsWithoutActivating(form_));
  if (shown) {
    widget_->move(where);
    widget_->show();
  }
}

void FormPeer::ApplyGeometry() {
  const QPoint outer(ToPixels(form_.Left()), ToPixels(form_.Top()));
  // A window cannot be mapped with no area; a one-pixel strip is as small as it gets.
  const QSize size = (form_.HasTitleBar() ? QSize(ToPixels(form_.ScaleWidth()), ToPixels(form_.ScaleHeight()))
                                          : QSize(ToPixels(form_.Width()), ToPixels(form_.Height())))
                         .expandedTo(QSize(1, 1));
  if (form_.borderStyle() == forms::BorderStyle::Sizable) {
    widget_->setMinimumSize(0, 0);
    widget_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  } else {
    widget_->setFixedSize(size);
  }
  if (form_.HasTitleBar()) {
    widget_->resize(size);
    widget_->move(outer);  // a window's position includes its frame
  } else {
    widget_->setGeometry(QRect(outer, size));  // no frame: one step, as the roll-up window grows
  }
}

void FormPeer::ApplyVisible() {
  if (form_.Visible()) {
    widget_->show();
  } else {
    widget_->hide();
    if (modalLoop_) modalLoop_->quit();
  }
}

void FormPeer::ApplyRegion() {
  if (form_.Region())
    widget_->setMask(ToQRegion(*form_.Region()));
  else
    widget_->clearMask();
  widget_->update();
}

void FormPeer::RepaintNow() {
  if (!widget_->isVisible()) return;
  // A window that was just shown is drawn once the window system has exposed it: wait for that,
  // a short while at most, handling no input meanwhile. What is handled may unload the form (the
  // program told to end) and so end this peer: from here on only guarded locals are used.
  const QPointer<FormWidget> widget = widget_;
  const QPointer<QWindow> window = widget->windowHandle();
  if (window && !window->isExposed()) {
    QTimer wake;  // bounds each wait below
    wake.start(10);
    QElapsedTimer waited;
    waited.start();
    while (widget && widget->isVisible() && window && !window->isExposed() && waited.elapsed() < 250)
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
  }
  if (widget && widget->isVisible()) widget->repaint();
}

namespace {

// While a window runs modally, the program's other windows take no input, as beside a modal
// dialog; menus, message boxes and the tray icon go on working. Modal windows nest: the
// innermost one has the input.
class ModalGuard : public QObject {
 public:
  static void Push(QWidget* window) {
    if (stack_.empty()) qApp->installEventFilter(&Instance());
    stack_.push_back(window);
  }
  static void Pop() {
    stack_.pop_back();
    if (stack_.empty()) qApp->removeEventFilter(&Instance());
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Wheel:
      case QEvent::Shortcut:
      case QEvent::Close:
        break;
      default:
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || stack_.empty()) return false;
    QWidget* window = widget->window();
    return window != stack_.back() && dynamic_cast<FormWidget*>(window) != nullptr;
  }

 private:
  static ModalGuard& Instance() {
    static ModalGuard guard;
    return guard;
  }
  static inline std::vector<QPointer<QWidget>> stack_;
};

}  // namespace

void FormPeer::RunModal() {
  if (!widget_ || !widget_->isVisible()) return;
  ModalGuard::Push(widget_);
  QEventLoop loop;
  modalLoop_ = &loop;
  loop.exec();
  ModalGuard::Pop();
}

}  // namespace sysvane::qt
