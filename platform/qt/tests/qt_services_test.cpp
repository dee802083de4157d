// The runtime's services: the single-instance lock, the tray icon's tip and notifications, text
// measuring, the standard message box, the pause without messages.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <cstring>

#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_instance_lock.h"
#include "platform/qt/qt_runtime.h"
#include "platform/qt/qt_tray.h"
#include "platform/qt/tests/qt_test_support.h"

// Stands in for the widget Qt embeds into an XEmbed tray (the offscreen platform has no tray).
class QSystemTrayIconSys : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;
};

namespace sysvane::qt {
namespace {

using testing::RunDeferredDeletes;
using testing::RunEvents;

// A temporary runtime folder as $XDG_RUNTIME_DIR, for as long as the object lives.
class RuntimeFolder {
 public:
  RuntimeFolder() : old_(qgetenv("XDG_RUNTIME_DIR")), hadOld_(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
    QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", dir_.path().toLocal8Bit());
  }
  ~RuntimeFolder() {
    if (hadOld_)
      qputenv("XDG_RUNTIME_DIR", old_);
    else
      qunsetenv("XDG_RUNTIME_DIR");
  }
  QString LockPath() const { return dir_.filePath("sysvane.lock"); }

 private:
  QTemporaryDir dir_;
  QByteArray old_;
  bool hadOld_;
};

TEST(QtInstanceLock, ASecondRuntimeSeesTheFirstsLockUntilItEnds) {
  RuntimeFolder folder;
  auto first = std::make_unique<QtRuntime>();
  EXPECT_FALSE(first->PrevInstance());
  EXPECT_FALSE(first->PrevInstance()) << "the holder asking again";
  ASSERT_TRUE(QFile::exists(folder.LockPath()));
  struct stat info {};
  ASSERT_EQ(stat(folder.LockPath().toLocal8Bit().constData(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  QtRuntime second;
  EXPECT_TRUE(second.PrevInstance());
  first.reset();  // the first program ends
  EXPECT_FALSE(second.PrevInstance());
}

TEST(QtInstanceLock, ALockLeftByAKilledProgramIsTakenOver) {
  RuntimeFolder folder;
  // A genuine lock file, whose owner is then made a process that has ended.
  QByteArray contents;
  {
    QLockFile genuine(folder.LockPath());
    ASSERT_TRUE(genuine.tryLock(0));
    QFile file(folder.LockPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    contents = file.readAll();
  }
  const pid_t child = fork();
  if (child == 0) _exit(0);
  ASSERT_GT(child, 0);
  waitpid(child, nullptr, 0);
  const qsizetype endOfPid = contents.indexOf('\n');
  ASSERT_GT(endOfPid, 0);
  contents = QByteArray::number(child) + contents.mid(endOfPid);
  {
    QFile file(folder.LockPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
  }

  InstanceLock lock(folder.LockPath());
  EXPECT_FALSE(lock.HeldElsewhere());
  EXPECT_TRUE(lock.HeldHere());
}

// The owner window of the tray icon: it records the message numbers it is sent.
class TrayOwner : public forms::Form {
 public:
  using Form::Form;
  std::vector<int> messages;

 protected:
  void Form_MouseMove(int, int, forms::Twips x, forms::Twips) override { messages.push_back(int(x / 15)); }
};

forms::NOTIFYICONDATA IconData(forms::Form& owner, const std::string& tip) {
  forms::NOTIFYICONDATA data;
  data.cbSize = 88;
  data.hWnd = &owner;
  data.uID = 1;
  data.uFlags = forms::NIF_MESSAGE | forms::NIF_ICON | forms::NIF_TIP;
  data.uCallbackMessage = forms::WM_MOUSEMOVE;
  data.hIcon = "app-icon";
  data.szTip.fill(' ');
  std::memcpy(data.szTip.data(), tip.data(), std::min(tip.size(), data.szTip.size()));
  if (tip.size() < data.szTip.size()) data.szTip[tip.size()] = '\0';
  return data;
}

TEST(QtTray, TheIconShowsAtMost63CharactersOfTheTipUpToItsNul) {
  QtRuntime runtime;
  TrayOwner owner(runtime, "Menu");
  owner.Load();
  ASSERT_TRUE(runtime.ShellNotifyIcon(forms::NIM_ADD, IconData(owner, "Sysvane Monitor")));
  EXPECT_EQ(runtime.Tray().ToolTip(), "Sysvane Monitor");

  const std::string seventy(70, 'x');
  runtime.ShellNotifyIcon(forms::NIM_MODIFY, IconData(owner, seventy));
  EXPECT_EQ(runtime.Tray().ToolTip(), QString(63, 'x'));
  const std::string sixtyThree = "CPU: 100%, Memory: 100%, Resources: 100%, Battery(unplugged): 1";
  ASSERT_EQ(sixtyThree.size(), 63u);
  runtime.ShellNotifyIcon(forms::NIM_MODIFY, IconData(owner, sixtyThree));
  EXPECT_EQ(runtime.Tray().ToolTip().toStdString(), sixtyThree);

  EXPECT_TRUE(runtime.ShellNotifyIcon(forms::NIM_DELETE, IconData(owner, "")));
  EXPECT_FALSE(runtime.Tray().Shown());
  EXPECT_FALSE(runtime.ShellNotifyIcon(forms::NIM_MODIFY, IconData(owner, "late"))) << "no icon to modify";
  owner.Unload();
  RunDeferredDeletes();
}

TEST(QtTray, ClicksReachTheOwnerAsMouseMessagesAndADoubleClickAlwaysFollowsARelease) {
  QtRuntime runtime;
  TrayOwner owner(runtime, "Menu");
  owner.Load();
  runtime.ShellNotifyIcon(forms::NIM_ADD, IconData(owner, "Sysvane Monitor"));
  TrayService& tray = runtime.Tray();

  tray.Activated(QSystemTrayIcon::Trigger);
  tray.Activated(QSystemTrayIcon::DoubleClick);  // right after its first click
  RunEvents(3000, [&] { return owner.messages.size() >= 2; });
  EXPECT_EQ(owner.messages, (std::vector<int>{514, 515}));

  owner.messages.clear();
  tray.Activated(QSystemTrayIcon::DoubleClick);  // no click came first (a StatusNotifierItem tray)
  tray.Activated(QSystemTrayIcon::Context);
  RunEvents(3000, [&] { return owner.messages.size() >= 3; });
  EXPECT_EQ(owner.messages, (std::vector<int>{514, 515, 517}));

  runtime.ShellNotifyIcon(forms::NIM_DELETE, IconData(owner, ""));
  owner.messages.clear();
  tray.Activated(QSystemTrayIcon::Trigger);
  RunEvents(30);
  EXPECT_TRUE(owner.messages.empty()) << "no owner once the icon is gone";
  owner.Unload();
  RunDeferredDeletes();
}

TEST(QtTray, APointerOnTheEmbeddedIconRefreshesTheTipAndNothingWakesWhileItIsElsewhere) {
  QtRuntime runtime;
  TrayOwner owner(runtime, "Menu");
  owner.Load();
  auto embedded = std::make_unique<QSystemTrayIconSys>();
  runtime.ShellNotifyIcon(forms::NIM_ADD, IconData(owner, "Sysvane Monitor"));
  RunEvents(700);  // the pointer is elsewhere: nothing is sent
  EXPECT_TRUE(owner.messages.empty());

  QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(1270, 790));
  QApplication::sendEvent(embedded.get(), &enter);
  EXPECT_EQ(owner.messages, std::vector<int>{512}) << "at once";
  RunEvents(3000, [&] { return owner.messages.size() >= 3; });  // resting there: every half second
  EXPECT_EQ(owner.messages, (std::vector<int>{512, 512, 512}));

  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(embedded.get(), &leave);
  const size_t resting = owner.messages.size();
  RunEvents(1200);
  EXPECT_EQ(owner.messages.size(), resting) << "nothing once the pointer has left";

  runtime.ShellNotifyIcon(forms::NIM_DELETE, IconData(owner, ""));
  owner.Unload();
  RunDeferredDeletes();
}

TEST(QtTextMeasure, LongerTextIsWiderAndMoreLinesAreHigher) {
  QtRuntime runtime;
  const forms::Font font;  // MS Sans Serif 8.25
  const forms::Twips one = runtime.TextWidth(font, "Warning:");
  const forms::Twips longer = runtime.TextWidth(font, "Warning:  No statistics were selected for display");
  EXPECT_GT(one, 0);
  EXPECT_GT(longer, one * 3);
  // The widest line counts, whichever way lines are broken.
  EXPECT_DOUBLE_EQ(runtime.TextWidth(font, "Warning:\r\nWarning: two"),
                   runtime.TextWidth(font, "Warning: two"));
  EXPECT_DOUBLE_EQ(runtime.TextWidth(font, "Warning:\nWarning: two"),
                   runtime.TextWidth(font, "Warning: two"));

  const forms::Twips line = runtime.TextHeight(font, "one");
  EXPECT_GT(line, 0);
  EXPECT_DOUBLE_EQ(runtime.TextHeight(font, "one\r\ntwo"), 2 * line);
  EXPECT_DOUBLE_EQ(runtime.TextHeight(font, "one\ntwo\nthree"), 3 * line);

  forms::Font large = font;
  large.size = 18;
  EXPECT_GT(runtime.TextWidth(large, "Warning:"), one * 1.8) << "the point size counts";
}

// A label exactly as wide as its measured text shows it on one line, at every size the program's
// fonts take (hinted glyphs are wider than their advances say).
TEST(QtTextMeasure, ALabelAsWideAsItsMeasuredTextDoesNotWrap) {
  QtRuntime runtime;
  const std::string text = "Warning:  No statistics were selected for display";
  for (double size : {6.9, 7.0, 7.5, 8.25, 9.0, 10.0}) {
    forms::Font font;
    font.size = size;
    const forms::Twips width = runtime.TextWidth(font, text);
    ASSERT_EQ(std::fmod(width, 15), 0) << "whole pixels";
    const QFontMetricsF metrics(ToQFont(font));
    const QRectF wrapped =
        metrics.boundingRect(QRectF(0, 0, width / 15, 1000), Qt::TextWordWrap, QString::fromStdString(text));
    EXPECT_LT(wrapped.height(), 1.5 * metrics.lineSpacing()) << "at " << size << " points";
  }
}

TEST(QtMessageBox, StyleChoosesButtonsIconAndDefaultAndTheAnswerIsTheButtonsCode) {
  QtRuntime runtime;
  struct Seen {
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
  } seen;
  auto answer = [&](QMessageBox::StandardButton pressed) {
    QTimer::singleShot(0, [&seen, pressed] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      seen = {box->text(), box->windowTitle(), box->icon(), box->standardButtons(),
              box->standardButton(box->defaultButton())};
      box->button(pressed)->click();
    });
  };

  answer(QMessageBox::Yes);
  EXPECT_EQ(runtime.MsgBox("   Are you sure you wish to exit the\r\nSysvane Monitor program?", 36, "Exit"),
            forms::vbYes);
  EXPECT_EQ(seen.text, "   Are you sure you wish to exit the\nSysvane Monitor program?");
  EXPECT_EQ(seen.title, "Exit");
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(seen.defaultButton, QMessageBox::Yes);

  answer(QMessageBox::No);
  EXPECT_EQ(runtime.MsgBox("?", 4 + 256, "t"), forms::vbNo);
  EXPECT_EQ(seen.defaultButton, QMessageBox::No) << "256 makes the second button the default";
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);

  answer(QMessageBox::Ignore);
  EXPECT_EQ(runtime.MsgBox("disk", 2 + 16 + 512, ""), 5);
  EXPECT_EQ(seen.buttons, QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.defaultButton, QMessageBox::Ignore);

  answer(QMessageBox::Ok);
  EXPECT_EQ(runtime.MsgBox("Program is already running!", 0, "Sysvane"), forms::vbOK);
  EXPECT_EQ(seen.buttons, QMessageBox::Ok);
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
}

TEST(QtPause, APauseHandlesNoEventsAndLastsItsTime) {
  QtRuntime runtime;
  bool handled = false;
  QTimer::singleShot(0, [&] { handled = true; });
  QElapsedTimer clock;
  clock.start();
  runtime.PauseWithoutMessages(60);
  EXPECT_GE(clock.elapsed(), 60);
  EXPECT_FALSE(handled);
  RunEvents(3000, [&] { return handled; });
  EXPECT_TRUE(handled);
}

TEST(QtScreen, TheWorkAreaIsTheScreensAvailableGeometryInTwips) {
  QtRuntime runtime;
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  const forms::TwipsRect area = runtime.WorkArea();
  EXPECT_EQ(area, (forms::TwipsRect{available.x() * 15.0, available.y() * 15.0, available.width() * 15.0,
                                    available.height() * 15.0}));
  EXPECT_EQ(runtime.Screen().Width, QGuiApplication::primaryScreen()->geometry().width() * 15.0);
  EXPECT_EQ(runtime.WorkAreas().size(), size_t(QGuiApplication::screens().size()));
  EXPECT_FALSE(runtime.Locale().decimalSeparator.empty());
}

TEST(QtEnd, EndIsRememberedWhenNoLoopRuns) {
  QtRuntime runtime;
  EXPECT_FALSE(runtime.EndCalled());
  runtime.End();
  EXPECT_TRUE(runtime.EndCalled());
}

}  // namespace
}  // namespace sysvane::qt

#include "qt_services_test.moc"
