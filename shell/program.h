// The program: its platform services, the shared values of SystemInfoModule, the settings, and
// every window, each created the first time it is referred to and never more than once.
#pragma once

#include <memory>

#include "options/settings.h"
#include "platform/desktop.h"
#include "platform/forms.h"
#include "platform/kernel.h"
#include "platform/outside.h"
#include "platform/registry.h"
#include "platform/settings_store.h"
#include "stats/system_info.h"

namespace sysvane {

class Menu;
class Logo;
class Display;
class DetailDisplay;
class Popup;
class Options;
class MessageBox;
class frmAbout;

struct Platform {
  Kernel& kernel;
  Registry& registry;
  ProcessorLibrary& processor;
  ResourceMeter& resources;
  SettingsBackend& settings;
  forms::Runtime& forms;
  Desktop& desktop;
};

class Program {
 public:
  explicit Program(Platform platform);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  Platform platform;
  SystemInfoModule info;
  Settings settings;
  forms::Runtime& runtime() { return platform.forms; }
  LocaleInfo locale() { return platform.forms.Locale(); }

  Menu& menu();
  Logo& logo();
  Display& display();
  DetailDisplay& detailDisplay();
  Popup& popup();
  Options& options();
  MessageBox& messageBox();
  frmAbout& about();

  // Unloads a window only if it was ever created (referring to it would create it).
  template <class W>
  static void UnloadIfCreated(std::unique_ptr<W>& window) {
    if (window) window->Unload();
  }
  void UnloadLogo();
  void UnloadDetailDisplay();
  void UnloadDisplay();
  void UnloadPopup();
  void UnloadOptions();
  void UnloadAbout();
  void UnloadMessageBox();

 private:
  std::unique_ptr<Menu> menu_;
  std::unique_ptr<Logo> logo_;
  std::unique_ptr<Display> display_;
  std::unique_ptr<DetailDisplay> detailDisplay_;
  std::unique_ptr<Popup> popup_;
  std::unique_ptr<Options> options_;
  std::unique_ptr<MessageBox> messageBox_;
  std::unique_ptr<frmAbout> about_;
};

}  // namespace sysvane
