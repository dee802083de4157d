#include "platform/qt/qt_runtime.h"

#include <cmath>

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLocale>
#include <QMenu>
#include <QScreen>
#include <QStringList>
#include <QTextLayout>
#include <chrono>
#include <thread>

#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_form.h"
#include "platform/qt/qt_instance_lock.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_peers.h"
#include "platform/qt/qt_pictures.h"
#include "platform/qt/qt_tray.h"
#include "platform/qt/qt_work_area.h"

namespace sysvane::qt {

namespace {

forms::TwipsRect ToTwipsRect(const QRect& r) {
  return {ToTwips(r.x()), ToTwips(r.y()), ToTwips(r.width()), ToTwips(r.height())};
}

QStringList Lines(const std::string& text) {
  return MultiLine(text).split(QLatin1Char('\n'));
}

}  // namespace

QtRuntime::QtRuntime() : tray_(std::make_unique<TrayService>()) {
  QApplication::setWindowIcon(AppIcon());
  tray_->AvailabilityChanged = [this](bool available) {
    if (!available && TrayLost) TrayLost();
  };
}

QtRuntime::~QtRuntime() = default;

std::unique_ptr<forms::Peer> QtRuntime::CreateFormPeer(forms::Form& form) {
  return std::make_unique<FormPeer>(form);
}

std::unique_ptr<forms::Peer> QtRuntime::CreateControlPeer(forms::Control& control) {
  return MakeControlPeer(control);
}

std::unique_ptr<forms::Peer> QtRuntime::CreateTimerPeer(forms::Timer& timer) {
  auto* form = dynamic_cast<FormPeer*>(timer.form().peer());
  return std::make_unique<TimerPeer>(timer, form ? form->widget() : nullptr);
}

void QtRuntime::RunModal(forms::Form& form) {
  if (ended_) return;
  if (auto* peer = dynamic_cast<FormPeer*>(form.peer())) peer->RunModal();
}

void QtRuntime::PauseWithoutMessages(int milliseconds) {
  // sleep_until on the steady clock: no spinning, and no jump of the wall clock shortens or
  // lengthens the wait.
  std::this_thread::sleep_until(std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds));
}

// The screen that holds the tray icon, else the primary one.
static QScreen* TrayScreen(const TrayService& tray) {
  if (const std::optional<QRect> place = tray.Place()) {
    if (QScreen* screen = QGuiApplication::screenAt(place->center())) return screen;
  }
  return QGuiApplication::primaryScreen();
}

forms::ScreenInfo QtRuntime::Screen() {
  forms::ScreenInfo info;
  if (QScreen* screen = TrayScreen(*tray_)) {
    info.Width = ToTwips(screen->geometry().width());
    info.Height = ToTwips(screen->geometry().height());
    info.Left = ToTwips(screen->geometry().x());
    info.Top = ToTwips(screen->geometry().y());
  }
  return info;
}

forms::TwipsRect QtRuntime::WorkArea() {
  QScreen* screen = TrayScreen(*tray_);
  return screen ? ToTwipsRect(WorkAreaOf(*screen)) : forms::TwipsRect{};
}

std::vector<forms::TwipsRect> QtRuntime::WorkAreas() {
  std::vector<forms::TwipsRect> areas;
  for (QScreen* screen : QGuiApplication::screens()) areas.push_back(ToTwipsRect(WorkAreaOf(*screen)));
  return areas;
}

forms::Twips QtRuntime::TextWidth(const forms::Font& font, const std::string& text) {
  const QFont qfont = ToQFont(font);
  const QFontMetricsF metrics(qfont);
  qreal widest = 0;
  for (const QString& line : Lines(text)) {
    // The width a label's word wrap gives the line (hinted glyphs are wider than their advance
    // says) and its inked extent, in whole pixels rounded up: any less and the last word wraps.
    QTextLayout layout(line, qfont);
    layout.beginLayout();
    QTextLine laidOut = layout.createLine();
    if (laidOut.isValid()) laidOut.setLineWidth(1e6);
    layout.endLayout();
    const qreal natural = laidOut.isValid() ? laidOut.naturalTextWidth() : 0;
    widest = std::max({widest, natural, metrics.horizontalAdvance(line), metrics.boundingRect(line).width()});
  }
  return ToTwips(std::ceil(widest));
}

forms::Twips QtRuntime::TextHeight(const forms::Font& font, const std::string& text) {
  const QFont qfont = ToQFont(font);
  // A label draws its lines a whole pixel apart each: the fractional spacing alone comes out a
  // pixel or two short over several lines, and the last line's descenders are cut off.
  const QRect drawn = QFontMetrics(qfont).boundingRect(QRect(0, 0, 1 << 20, 1 << 20),
                                                       Qt::AlignLeft | Qt::AlignTop, MultiLine(text));
  return ToTwips(
      std::max(QFontMetricsF(qfont).lineSpacing() * double(Lines(text).size()), double(drawn.height())));
}

bool QtRuntime::ShellNotifyIcon(int message, const forms::NOTIFYICONDATA& data) {
  return tray_->Notify(message, data);
}

bool QtRuntime::SystemTrayAvailable() {
  return tray_->Available();
}

std::optional<forms::TwipsRect> QtRuntime::TrayIconPlace() {
  if (const std::optional<QRect> place = tray_->Place()) return ToTwipsRect(*place);
  return std::nullopt;
}

void QtRuntime::PopupMenu(forms::Form&, forms::MenuList& list) {
  if (tray_->HostShowsMenu(list)) return;
  QMenu menu;
  std::vector<std::pair<QAction*, forms::MenuItem*>> actions;
  for (forms::MenuItem* item : list.items) {
    if (!item || !item->Visible()) continue;
    if (item->IsSeparator()) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(ToQString(item->Caption()));
    action->setCheckable(item->Checked());
    action->setChecked(item->Checked());
    action->setEnabled(item->Enabled());
    actions.emplace_back(action, item);
  }
  QAction* chosen = menu.exec(tray_->PopupPoint());
  if (!chosen) return;
  // The command runs once the menu has gone.
  for (auto& [action, item] : actions) {
    if (action == chosen) {
      item->NotifyClick();
      return;
    }
  }
}

void QtRuntime::SetForegroundWindow(forms::Form& form) {
  auto* peer = dynamic_cast<FormPeer*>(form.peer());
  if (!peer || !peer->widget() || !peer->widget()->isVisible()) return;
  peer->widget()->raise();
  peer->widget()->activateWindow();
}

int QtRuntime::MsgBox(const std::string& prompt, int style, const std::string& title) {
  return ShowStandardMessageBox(prompt, style, title);
}

LocaleInfo QtRuntime::Locale() {
  const QLocale locale = QLocale::system();
  return LocaleInfo{locale.groupSeparator().toStdString(), locale.decimalPoint().toStdString()};
}

bool QtRuntime::PrevInstance() {
  if (!lock_) lock_ = std::make_unique<InstanceLock>();  // in the runtime folder of this moment
  return lock_->HeldElsewhere();
}

void QtRuntime::End() {
  ended_ = true;
  // Leaves every running loop once the current handler has returned; windows are not asked
  // to close (the program has closed them already).
  QCoreApplication::exit(0);
}

}  // namespace sysvane::qt
