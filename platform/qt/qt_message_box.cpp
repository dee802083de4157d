#include "platform/qt/qt_message_box.h"

#include <QMessageBox>
#include <vector>

#include "platform/forms.h"
#include "platform/qt/qt_convert.h"

namespace sysvane::qt {

namespace {

struct Answer {
  QMessageBox::StandardButton button;
  int code;
};

const Answer kOk{QMessageBox::Ok, forms::vbOK}, kCancel{QMessageBox::Cancel, forms::vbCancel},
    kAbort{QMessageBox::Abort, 3}, kRetry{QMessageBox::Retry, 4}, kIgnore{QMessageBox::Ignore, 5},
    kYes{QMessageBox::Yes, forms::vbYes}, kNo{QMessageBox::No, forms::vbNo};

// The buttons of a style, in the order the default-button bits count them.
std::vector<Answer> ButtonsOf(int style) {
  switch (style & 0xF) {
    case 1:
      return {kOk, kCancel};
    case 2:
      return {kAbort, kRetry, kIgnore};
    case 3:
      return {kYes, kNo, kCancel};
    case 4:
      return {kYes, kNo};
    case 5:
      return {kRetry, kCancel};
    default:
      return {kOk};
  }
}

QMessageBox::Icon IconOf(int style) {
  switch (style & 0xF0) {
    case forms::vbCritical:
      return QMessageBox::Critical;
    case forms::vbQuestion:
      return QMessageBox::Question;
    case forms::vbExclamation:
      return QMessageBox::Warning;
    case forms::vbInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

int ShowStandardMessageBox(const std::string& prompt, int style, const std::string& title) {
  QMessageBox box;
  box.setWindowTitle(ToQString(title));
  box.setTextFormat(Qt::PlainText);
  box.setText(MultiLine(prompt));
  box.setIcon(IconOf(style));
  const std::vector<Answer> buttons = ButtonsOf(style);
  QMessageBox::StandardButtons set;
  for (const Answer& answer : buttons) set |= answer.button;
  box.setStandardButtons(set);
  const size_t defaultIndex = size_t((style & 0xF00) >> 8);
  box.setDefaultButton(buttons[defaultIndex < buttons.size() ? defaultIndex : 0].button);
  box.exec();
  const QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
  for (const Answer& answer : buttons) {
    if (answer.button == pressed) return answer.code;
  }
  // Closed without a button (no Cancel to take the Escape key): as the window's close.
  return buttons.size() == 1 ? buttons[0].code : forms::vbCancel;
}

}  // namespace sysvane::qt
