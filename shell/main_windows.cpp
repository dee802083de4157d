// Sysvane's start on Windows; Linux's is main.cpp beside it. The Win32 services, the Win32 forms
// runtime, and the hidden Menu window whose load is the whole start-up sequence. The message loop
// runs unless the start-up ended the program (a second instance ends inside that load, before any
// loop).
#include "platform/windows/forms/win_runtime.h"
#include "platform/windows/instance_mutex.h"
#include "platform/windows/windows_desktop.h"
#include "platform/windows/windows_kernel.h"
#include "platform/windows/windows_outside.h"
#include "platform/windows/windows_registry.h"
#include "platform/windows/windows_settings.h"
#include "shell/menu.h"
#include "shell/program.h"

// Last: the system headers define some of the program's names as macros.
#include "platform/windows/win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  sysvane::windows::WindowsKernel kernel;
  sysvane::windows::WindowsRegistry registry;
  sysvane::windows::WindowsProcessorLibrary processor;
  sysvane::windows::WindowsResourceMeter resources;
  sysvane::windows::WindowsSettingsBackend settings;
  // The desktop brings COM to this, the user-interface thread, before anything opens a link.
  sysvane::windows::WindowsDesktop desktop;
  sysvane::windows::InstanceMutex instance;
  sysvane::win::WinRuntime runtime([&instance] { return instance.HeldElsewhere(); });
  sysvane::Program program{
      sysvane::Platform{kernel, registry, processor, resources, settings, runtime, desktop}};

  // The end of the session, or a request to close, closes the program as Exit does, also while
  // the splash holds the start-up (its loop runs inside the Menu window's load).
  runtime.OnCloseRequest([&program] { program.menu().CloseProgram(); });
  program.menu().Load();
  return runtime.EndCalled() ? 0 : runtime.Run();
}
