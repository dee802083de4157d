#include "platform/qt/qt_controls.h"

#include <QPainter>

#include "platform/qt/qt_pictures.h"

namespace sysvane::qt {

using forms::Prop;

namespace {

// A click is a left button released over the control it was pressed on.
bool IsClick(QWidget* widget, QMouseEvent* e) {
  return e->button() == Qt::LeftButton && widget->rect().contains(e->position().toPoint());
}

void ApplyColors(QWidget* widget, const forms::Control& control) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, ToQColor(control.BackColor()));
  palette.setColor(QPalette::WindowText, ToQColor(control.ForeColor()));
  palette.setColor(QPalette::ButtonText, ToQColor(control.ForeColor()));
  widget->setPalette(palette);
  // A button fills with the button face by default: a box or option button shows its back colour.
  widget->setBackgroundRole(QPalette::Window);
}

}  // namespace

// ---------------------------------------------------------------------------------------------

LabelWidget::LabelWidget(forms::Label& label, QWidget* parent) : ControlWidget(label, parent) {}

void LabelWidget::Apply(Prop prop) {
  const auto& label = static_cast<const forms::Label&>(*control());
  switch (prop) {
    case Prop::Caption:
      text_ = MultiLine(label.Caption());
      break;
    case Prop::Alignment:
      alignment_ = label.alignment() == forms::Alignment::Center  ? Qt::AlignHCenter
                   : label.alignment() == forms::Alignment::Right ? Qt::AlignRight
                                                                  : Qt::AlignLeft;
      wordWrap_ = label.WordWrap();
      break;
    case Prop::Colors:
      back_ = ToQColor(label.BackColor());
      fore_ = ToQColor(label.ForeColor());
      transparent_ = label.Transparent();
      // An opaque label repaints alone; a transparent one needs its container's background.
      setAttribute(Qt::WA_OpaquePaintEvent, !transparent_);
      break;
    case Prop::Font:
      setFont(ToQFont(label.font()));
      break;
    default:
      return;
  }
  update();
}

void LabelWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!transparent_) painter.fillRect(rect(), back_);
  painter.setPen(fore_);
  painter.drawText(rect(), int(alignment_ | Qt::AlignTop) | (wordWrap_ ? int(Qt::TextWordWrap) : 0), text_);
}

void LabelWidget::mouseReleaseEvent(QMouseEvent* e) {
  if (control() && IsClick(this, e)) control()->NotifyClick();
}

// ---------------------------------------------------------------------------------------------

ImageWidget::ImageWidget(forms::Image& image, QWidget* parent) : ControlWidget(image, parent) {}

void ImageWidget::Apply(Prop prop) {
  if (prop != Prop::Picture) return;
  picture_ = static_cast<const forms::Image&>(*control()).Picture();
  update();
}

void ImageWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintPicture(painter, QRectF(rect()), picture_, style());
}

void ImageWidget::mouseReleaseEvent(QMouseEvent* e) {
  if (control() && IsClick(this, e)) control()->NotifyClick();
}

// ---------------------------------------------------------------------------------------------

LineWidget::LineWidget(forms::Line& line, QWidget* parent) : ControlWidget(line, parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

QRect LineWidget::Box() const {
  const forms::Control& line = *control();
  const int x1 = ToPixels(line.Left()), y1 = ToPixels(line.Top());
  const int x2 = ToPixels(line.Left() + line.Width()), y2 = ToPixels(line.Top() + line.Height());
  return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2)));
}

void LineWidget::Apply(Prop prop) {
  if (prop == Prop::Colors) {
    color_ = ToQColor(control()->ForeColor());
    update();
  } else if (prop == Prop::Geometry) {
    update();  // the direction may have changed with the same box
  }
}

void LineWidget::paintEvent(QPaintEvent*) {
  if (!control()) return;
  const forms::Control& line = *control();
  // Which corners the line joins: it may run up or to the left.
  const bool leftToRight = line.Width() >= 0, topToBottom = line.Height() >= 0;
  const int w = width() - 1, h = height() - 1;
  QPainter painter(this);
  painter.setPen(QPen(color_, 1));
  painter.drawLine(QPoint(leftToRight ? 0 : w, topToBottom ? 0 : h),
                   QPoint(leftToRight ? w : 0, topToBottom ? h : 0));
}

// ---------------------------------------------------------------------------------------------

ButtonWidget::ButtonWidget(forms::CommandButton& button, QWidget* parent) : ControlWidget(button, parent) {
  // Enter presses the focused button, as it does in a dialog.
  setAutoDefault(true);
  connect(this, &QAbstractButton::clicked, this, [this] {
    if (control()) control()->NotifyClick();
  });
}

void ButtonWidget::Apply(Prop prop) {
  const auto& button = static_cast<const forms::CommandButton&>(*control());
  switch (prop) {
    case Prop::Caption:
      setText(ToQString(button.Caption()));
      break;
    case Prop::Default:
      setDefault(button.Default());
      break;
    case Prop::Font:
      setFont(ToQFont(button.font()));
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------------------------

CheckBoxWidget::CheckBoxWidget(forms::CheckBox& box, QWidget* parent) : ControlWidget(box, parent) {
  connect(this, &QAbstractButton::clicked, this, [this] {
    if (control()) control()->NotifyClick();
  });
}

void CheckBoxWidget::Apply(Prop prop) {
  const auto& box = static_cast<const forms::CheckBox&>(*control());
  switch (prop) {
    case Prop::Caption:
      setText(ToQString(box.Caption()));
      break;
    case Prop::Value:
      setTristate(box.Value() == 2);
      setCheckState(box.Value() == 1 ? Qt::Checked : box.Value() == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
      break;
    case Prop::Colors:
      ApplyColors(this, box);
      // A system colour is the container's own: the box lets it show through.
      setAutoFillBackground(!box.BackColor().system);
      break;
    case Prop::Font:
      setFont(ToQFont(box.font()));
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------------------------

OptionButtonWidget::OptionButtonWidget(forms::OptionButton& option, QWidget* parent)
    : ControlWidget(option, parent) {
  setAutoExclusive(false);  // the model keeps one on
  connect(this, &QAbstractButton::clicked, this, [this] {
    if (control()) control()->NotifyClick();
  });
}

void OptionButtonWidget::Apply(Prop prop) {
  const auto& option = static_cast<const forms::OptionButton&>(*control());
  switch (prop) {
    case Prop::Caption:
      setText(ToQString(option.Caption()));
      break;
    case Prop::Value:
      setChecked(option.Value());
      break;
    case Prop::Colors:
      ApplyColors(this, option);
      setAutoFillBackground(!option.BackColor().system);
      break;
    case Prop::Font:
      setFont(ToQFont(option.font()));
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------------------------

FrameWidget::FrameWidget(forms::Frame& frame, QWidget* parent) : ControlWidget(frame, parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
}

void FrameWidget::Apply(Prop prop) {
  const auto& frame = static_cast<const forms::Frame&>(*control());
  switch (prop) {
    case Prop::Caption:
      setTitle(ToQString(frame.Caption()));
      break;
    case Prop::Font:
      setFont(ToQFont(frame.font()));
      break;
    default:
      break;
  }
}

}  // namespace sysvane::qt
