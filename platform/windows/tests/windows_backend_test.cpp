// The Windows backend against the real services, under Wine on the build machine.
#include <gtest/gtest.h>

#include "options/shortcut_maintenance.h"
#include "platform/fake/fake_forms.h"
#include "platform/windows/instance_mutex.h"
#include "platform/windows/startup_shortcut.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/win32.h"
#include "platform/windows/windows_desktop.h"
#include "platform/windows/windows_kernel.h"
#include "platform/windows/windows_outside.h"
#include "platform/windows/windows_registry.h"
#include "platform/windows/windows_settings.h"

namespace sysvane::windows {
namespace {

// Each figure whole and consistent with the others; a failed call stops the test at its line.
TEST(WindowsBackend, KernelFiguresAreWholeAndConsistent) {
  WindowsKernel kernel;
  // Memory: whole 64-bit figures, the available part of the total.
  MEMORYSTATUS memory;
  ASSERT_TRUE(kernel.GlobalMemoryStatus(memory));
  EXPECT_GT(memory.dwTotalPhys, uint64_t{64} << 20);
  EXPECT_LE(memory.dwAvailPhys, memory.dwTotalPhys);
  EXPECT_GT(memory.dwTotalVirtual, uint64_t{1} << 32);  // a 64-bit address space, not cut to 32 bits
  EXPECT_LE(memory.dwAvailVirtual, memory.dwTotalVirtual);
  // Drives: c:\ first and fixed, the list closed by two NULs.
  const std::string roots = kernel.GetLogicalDriveStrings();
  ASSERT_GE(roots.size(), 5u);
  EXPECT_EQ(roots.substr(0, 4), std::string("c:\\\0", 4));
  EXPECT_EQ(roots.substr(roots.size() - 2), std::string(2, '\0'));
  EXPECT_EQ(kernel.GetDriveType("c:\\"), DRIVE_FIXED);
  // Disk: free and available space within the size, no answer for a missing drive.
  const auto space = kernel.GetDiskFreeSpaceEx("c:\\");
  ASSERT_TRUE(space);
  EXPECT_GT(space->TotalNumberOfBytes, 0u);
  EXPECT_LE(space->TotalNumberOfFreeBytes, space->TotalNumberOfBytes);
  EXPECT_LE(space->FreeBytesAvailableToCaller, space->TotalNumberOfFreeBytes);
  EXPECT_FALSE(kernel.GetDiskFreeSpaceEx("c:\\no such folder\\"));
  // Power: every field in its range.
  SYSTEM_POWER_STATUS power;
  ASSERT_TRUE(kernel.GetSystemPowerStatus(power));
  EXPECT_TRUE(power.ACLineStatus <= AC_LINE_ONLINE || power.ACLineStatus == AC_LINE_UNKNOWN);
  EXPECT_TRUE(power.BatteryLifePercent <= 100 || power.BatteryLifePercent == BATTERY_PERCENTAGE_UNKNOWN);
  // CPU: the clock moves with real time, the idle time never goes back.
  const auto idle = kernel.QueryIdleTime();
  const auto start = kernel.QuerySystemTime();
  Sleep(100);
  const auto end = kernel.QuerySystemTime();
  ASSERT_TRUE(idle && start && end);
  EXPECT_GE(*end - *start, 900'000u);    // 100 ns units: at least 90 ms...
  EXPECT_LE(*end - *start, 5'000'000u);  // ...and not seconds
  EXPECT_GE(kernel.QueryIdleTime().value_or(0), *idle);
  EXPECT_EQ(kernel.QueryProcessorCount(), kernel.GetNumberOfProcessors());
  // Version: the system's own, as KUSER_SHARED_DATA tells every process, manifest or not.
  OSVERSIONINFO version;
  ASSERT_TRUE(kernel.GetVersionEx(version));
  EXPECT_EQ(version.dwPlatformId, VER_PLATFORM_WIN32_NT);
  EXPECT_EQ(version.dwMajorVersion, *reinterpret_cast<const volatile ULONG*>(0x7FFE026C));
  EXPECT_EQ(version.dwMinorVersion, *reinterpret_cast<const volatile ULONG*>(0x7FFE0270));
  // Processes: this one counted with its threads.
  const auto counts = kernel.CountProcesses();
  EXPECT_TRUE(counts && counts->processes >= 1 && counts->threads >= counts->processes);
}

TEST(WindowsBackend, SystemDriveComesFirstInLowerCase) {
  EXPECT_EQ(SystemDriveFirst(std::string("A:\\\0C:\\\0D:\\\0\0", 13)),
            std::string("c:\\\0a:\\\0d:\\\0\0", 13));
}

TEST(WindowsBackend, RegistryReadsWhatTheProgramAsks) {
  WindowsRegistry registry;
  const auto key = registry.RegOpenKeyEx(HKEY_LOCAL_MACHINE, kCentralProcessorKey, KEY_ALL_ACCESS);
  ASSERT_TRUE(key);
  const auto name = registry.RegQueryValueEx(*key, "ProcessorNameString", 1024);
  EXPECT_TRUE(name && name->type == REG_SZ && name->data.back() == '\0');  // UTF-8, ended by its NUL
  EXPECT_FALSE(registry.RegQueryValueEx(*key, "ProcessorNameString", 1));  // does not fit
  registry.RegCloseKey(*key);
  EXPECT_FALSE(registry.RegQueryValueEx(*key, "ProcessorNameString", 1024));  // closed
  WindowsProcessorLibrary processor;
  std::string buffer(256, '\0'), unused(256, '\0'), speed(32, '\0');
  processor.GetProcessor(buffer, unused, unused);
  processor.GetProcessorRawSpeed(speed);
  EXPECT_TRUE(buffer[0] != '\0' && buffer[0] != ' ');  // a name, without its padding
  EXPECT_NE(speed.find('M'), std::string::npos) << speed;
}

TEST(WindowsBackend, SettingRoundTripsThroughTheBasicRuntimesKey) {
  WindowsSettingsBackend settings;
  const std::string app = "Sysvane test " + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(settings.Write(app, "Settings", "MainLeft", "10800 \xC3\xA9"));  // UTF-8 kept whole
  EXPECT_EQ(settings.Read(app, "Settings", "MainLeft"), "10800 \xC3\xA9");
  EXPECT_EQ(ReadRegistryString(SystemRoot(HKEY_CURRENT_USER), SettingsKey(app, "Settings"), "MainLeft"),
            "10800 \xC3\xA9");
  RegDeleteTreeW(SystemRoot(HKEY_CURRENT_USER),
                 Wide("Software\\VB and VBA Program Settings\\" + app).c_str());
}

TEST(WindowsBackend, StartupShortcutIsARealLinkMadeFoundAndRemoved) {
  WindowsDesktop desktop;
  fake::FakeRuntime runtime;
  ShortcutMaintenance shortcuts(desktop, runtime);
  const std::string name = "Sysvane test " + std::to_string(GetCurrentProcessId());
  shortcuts.CreateStartupShortcut(name, "C:\\windows\\system32\\notepad.exe", "");
  EXPECT_TRUE(desktop.FileExists(StartupShortcut().Path(name)));
  EXPECT_TRUE(shortcuts.StartupShortcutExists(name));
  // Switched off in Task Manager: unchecked; saved checked: on again.
  const std::wstring approved =
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";
  const unsigned char off[12] = {3};
  RegSetKeyValueW(SystemRoot(HKEY_CURRENT_USER), approved.c_str(), Wide(name + ".lnk").c_str(), REG_BINARY,
                  off, sizeof off);
  EXPECT_FALSE(shortcuts.StartupShortcutExists(name));
  shortcuts.CreateStartupShortcut(name, "C:\\windows\\system32\\notepad.exe", "");
  EXPECT_TRUE(shortcuts.StartupShortcutExists(name));
  RegDeleteKeyValueW(SystemRoot(HKEY_CURRENT_USER), approved.c_str(), Wide(name + ".lnk").c_str());
  shortcuts.RemoveStartupShortcut(name);
  EXPECT_FALSE(shortcuts.StartupShortcutExists(name) || desktop.RemoveStartupLink(name));
  shortcuts.CreateStartupShortcut(name, "", "");  // no program to link to: the one message said
  EXPECT_EQ(runtime.msgBoxes.size(), 1u);
}

TEST(WindowsBackend, AProgramInADrivesRootWorksInThatRoot) {
  EXPECT_EQ(WorkingFolderOf("C:\\sysvane.exe"), "C:\\");  // "C:" would be the drive's current folder
  EXPECT_EQ(WorkingFolderOf("D:\\Tools\\sysvane.exe"), "D:\\Tools");
  EXPECT_EQ(WorkingFolderOf("\\\\server\\share\\sysvane.exe"), "\\\\server\\share");
}

TEST(WindowsBackend, MutexRefusesASecondHolderUntilTheFirstEnds) {
  const std::string name = "Local\\Sysvane.Test." + std::to_string(GetCurrentProcessId());
  auto first = std::make_unique<InstanceMutex>(name);
  EXPECT_FALSE(first->HeldElsewhere());
  EXPECT_TRUE(InstanceMutex(name).HeldElsewhere());
  first.reset();
  EXPECT_FALSE(InstanceMutex(name).HeldElsewhere());
}

}  // namespace
}  // namespace sysvane::windows
