#include "shell/program.h"

#include "dialogs/about.h"
#include "dialogs/message_box.h"
#include "monitor/detail_display.h"
#include "monitor/display.h"
#include "monitor/popup.h"
#include "options/options_dialog.h"
#include "shell/logo.h"
#include "shell/menu.h"

namespace sysvane {

Program::Program(Platform p) : platform(p), info(p.kernel, p.processor, p.resources), settings(p.settings) {}

Program::~Program() = default;

template <class W>
static W& Lazy(std::unique_ptr<W>& window, Program& program) {
  if (!window) window = std::make_unique<W>(program);
  return *window;
}

Menu& Program::menu() {
  return Lazy(menu_, *this);
}
Logo& Program::logo() {
  return Lazy(logo_, *this);
}
Display& Program::display() {
  return Lazy(display_, *this);
}
DetailDisplay& Program::detailDisplay() {
  return Lazy(detailDisplay_, *this);
}
Popup& Program::popup() {
  return Lazy(popup_, *this);
}
Options& Program::options() {
  return Lazy(options_, *this);
}
MessageBox& Program::messageBox() {
  return Lazy(messageBox_, *this);
}
frmAbout& Program::about() {
  return Lazy(about_, *this);
}

void Program::UnloadLogo() {
  UnloadIfCreated(logo_);
}
void Program::UnloadDetailDisplay() {
  UnloadIfCreated(detailDisplay_);
}
void Program::UnloadDisplay() {
  UnloadIfCreated(display_);
}
void Program::UnloadPopup() {
  UnloadIfCreated(popup_);
}
void Program::UnloadOptions() {
  UnloadIfCreated(options_);
}
void Program::UnloadAbout() {
  UnloadIfCreated(about_);
}
void Program::UnloadMessageBox() {
  UnloadIfCreated(messageBox_);
}

}  // namespace sysvane
