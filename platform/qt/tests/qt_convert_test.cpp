// The runtime's conversions and services without a window: twips, colours, fonts, keys, lines of
// text and regions become Qt's exactly; text is measured as a label draws it; the standard message
// box shows the buttons, icon and default its style asks for.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_pictures.h"
#include "platform/qt/qt_runtime.h"

namespace sysvane::qt {
namespace {

// Twips become pixels rounded to nearest, each edge of a box on its own; colours, keys, buttons,
// shift states, lines of text and window regions come across exactly.
TEST(QtConvertTest, ModelValuesBecomeQtsExactly) {
  EXPECT_EQ(std::vector({ToPixels(7), ToPixels(8), ToPixels(-8), ToPixels(22), ToPixels(23)}),
            std::vector({0, 1, -1, 1, 2}));
  EXPECT_EQ(std::tuple(ToTwips(1.5), ToPixelRect(7, 7, 15, 15), ToPixelRect(8, 8, 15, 15)),
            std::tuple(22.5, QRect(0, 0, 1, 1), QRect(1, 1, 1, 1)));
  EXPECT_EQ(std::pair(ToQColor(forms::Color::Rgb(1, 2, 3)), ToQColor(forms::Color::FromBGR(0xFF030201))),
            std::pair(QColor(1, 2, 3), QColor(1, 2, 3)));
  // A window frame is near black however light the desktop's shadow: light captions stand on it.
  const QPalette saved = QApplication::palette();
  QPalette light;
  light.setColor(QPalette::Shadow, QColor(200, 200, 200));
  QApplication::setPalette(light);
  EXPECT_EQ(ToQColor(forms::Color::System(6)).name(), "#282828");
  QApplication::setPalette(saved);
  // The keys the windows read (Enter, Escape, Tab), and each range's ends and its neighbours.
  // clang-format off
  const std::pair<int, int> keys[] = {
      {Qt::Key_Return, 13}, {Qt::Key_Enter, 13}, {Qt::Key_Escape, 27}, {Qt::Key_Tab, 9}, {Qt::Key_Backtab, 9},
      {Qt::Key_A, 65}, {Qt::Key_Z, 90}, {Qt::Key_At, 0}, {Qt::Key_BracketLeft, 0},
      {Qt::Key_0, 48}, {Qt::Key_9, 57}, {Qt::Key_Slash, 0}, {Qt::Key_Colon, 0},
      {Qt::Key_F1, 112}, {Qt::Key_F24, 135}, {Qt::Key_F25, 0}};
  // clang-format on
  for (auto [key, code] : keys) EXPECT_EQ(VbKeyCode(key), code) << key;
  EXPECT_EQ(std::vector({VbShift(Qt::ShiftModifier | Qt::AltModifier), VbShift(Qt::ControlModifier),
                         VbButton(Qt::LeftButton | Qt::MiddleButton), VbButton(Qt::RightButton)}),
            std::vector({5, 2, 5, 2}));
  EXPECT_EQ(MultiLine("\xC3\xA9\r\nb\rc\nd\r\r\n"), QString::fromUtf8("\xC3\xA9\nb\nc\nd\n\n"));
  const QRegion rounded = ToQRegion({0, 0, 20, 16, 10, 10});
  EXPECT_EQ(
      std::tuple(ToQRegion({2, 3, 12, 11, 0, 0}), rounded.boundingRect(), rounded.contains(QPoint(0, 0)),
                 rounded.contains(QPoint(10, 0)), ToQRegion({5, 5, 5, 9, 0, 0}).isEmpty()),
      std::tuple(QRegion(2, 3, 10, 8), QRect(0, 0, 20, 16), false, true, true));
}

// A font by name: the serif face for Times New Roman, any other name as asked, with its size and
// style; the program's icon in every size it is drawn in.
TEST(QtConvertTest, FontsKeepTheirSizeAndStyleAndTheIconHasEverySize) {
  const QFont serif = ToQFont({"Times New Roman", 12, true, true, true}),
              named = ToQFont({"DejaVu Sans", 9.5});
  EXPECT_EQ(
      std::tuple(serif.pointSizeF(), serif.bold(), serif.italic(), serif.underline(), serif.styleHint()),
      std::tuple(12.0, true, true, true, QFont::Serif));
  EXPECT_EQ(std::tuple(named.family(), named.pointSizeF(), named.bold()),
            std::tuple("DejaVu Sans", 9.5, false));
  EXPECT_EQ(AppIcon().availableSizes(),
            QList<QSize>({{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}}));
}

// The Exit question: Yes and No, Yes the default; closed without a button, it answers Cancel, not Yes.
TEST(QtMessageBoxTest, TheExitQuestionAnswersYesOnlyToYes) {
  for (bool close : {false, true}) {
    std::tuple<qsizetype, QMessageBox::Icon, QString> shown;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      shown = {box->buttons().size(), box->icon(), box->text()};
      close ? box->reject() : box->defaultButton()->click();
    });
    EXPECT_EQ(ShowStandardMessageBox("One\r\nTwo", forms::vbYesNo + forms::vbQuestion, "Exit"),
              close ? forms::vbCancel : forms::vbYes);
    EXPECT_EQ(shown, std::tuple(2, QMessageBox::Question, "One\nTwo"));
  }
}

// A label sized from the measured text shows every line whole: no extra wrap, no cut descenders.
TEST(QtRuntimeTest, MeasuredTextFitsTheLabelThatShowsIt) {
  QtRuntime runtime;
  const std::string texts[] = {"Warning:  No statistics were selected for display",
                               "Sysvane found no notification area (system tray) on this desktop:\r\n"
                               "its window stays open instead, and closing that window ends Sysvane."};
  const forms::Font fonts[] = {{}, {.bold = true}, {"Times New Roman", 12}};  // MS Sans Serif, 8.25 points
  for (const forms::Font& font : fonts)
    for (const std::string& text : texts) {
      SCOPED_TRACE(font.name + (font.bold ? " bold, " : ", ") + text.substr(0, 20));
      const QRect label(0, 0, ToPixels(runtime.TextWidth(font, text)),
                        ToPixels(runtime.TextHeight(font, text)));
      const QRect drawn =
          QFontMetrics(ToQFont(font))
              .boundingRect(label, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, MultiLine(text));
      EXPECT_TRUE(label.contains(drawn)) << "drawn " << drawn.width() << "x" << drawn.height() << " in "
                                         << label.width() << "x" << label.height();
    }
}

}  // namespace
}  // namespace sysvane::qt
