// The Windows backend against the real services, under Wine on the build machine.
#include <gtest/gtest.h>

#include <memory>

#include "options/shortcut_maintenance.h"
#include "platform/fake/fake_forms.h"
#include "platform/windows/instance_mutex.h"
#include "platform/windows/startup_shortcut.h"
#include "platform/windows/wide_text.h"
// clang-format off
#include "platform/windows/win32.h"
#include <objbase.h>
// clang-format on
#include "platform/windows/windows_desktop.h"
#include "platform/windows/windows_kernel.h"
#include "platform/windows/windows_outside.h"
#include "platform/windows/windows_registry.h"

namespace sysvane::windows {
namespace {

// A name of this run's own in the registry, the startup folder and the system's mutexes.
const std::string kOwnName = "Sysvane test " + std::to_string(GetCurrentProcessId());

// Each figure whole and consistent with the others; a failed call stops the test at its line.
TEST(WindowsBackend, KernelFiguresAreWholeAndConsistent) {
  WindowsKernel kernel;
  MEMORYSTATUS memory;
  ASSERT_TRUE(kernel.GlobalMemoryStatus(memory));
  EXPECT_GT(memory.dwTotalVirtual, uint64_t{1} << 32);  // a 64-bit address space, not cut to 32 bits
  // Drives: the system drive first, in lower case.
  EXPECT_EQ(kernel.GetLogicalDriveStrings().substr(0, 4), std::string("c:\\\0", 4));
  EXPECT_EQ(SystemDriveFirst(std::string("A:\\\0C:\\\0D:\\\0\0", 13)),
            std::string("c:\\\0a:\\\0d:\\\0\0", 13));
  const auto space = kernel.GetDiskFreeSpaceEx("c:\\");
  ASSERT_TRUE(space && space->TotalNumberOfBytes > 0);
  // A drive that is not ready is quiet on this thread only, and only while the query runs.
  SetErrorMode(0);
  auto quiet = std::make_unique<QuietDriveErrors>();
  EXPECT_TRUE((GetThreadErrorMode() & SEM_FAILCRITICALERRORS) && GetErrorMode() == 0);
  quiet.reset();
  EXPECT_EQ(GetThreadErrorMode(), 0u);
  // The processor's name from the registry, UTF-8 ended by its NUL, and without its padding.
  WindowsRegistry registry;
  const auto key = registry.RegOpenKeyEx(HKEY_LOCAL_MACHINE, kCentralProcessorKey, KEY_ALL_ACCESS);
  const auto name = key ? registry.RegQueryValueEx(*key, "ProcessorNameString", 1024) : std::nullopt;
  EXPECT_TRUE(name && name->type == REG_SZ && name->data.back() == '\0');
  std::string buffer(256, '\0'), unused(256, '\0');
  WindowsProcessorLibrary().GetProcessor(buffer, unused, unused);
  EXPECT_TRUE(buffer[0] != '\0' && buffer[0] != ' ');
  // CPU: the clock counts 100 ns units, a year of a 3 GHz counter without overflow.
  ASSERT_TRUE(kernel.QuerySystemTime() && kernel.QueryIdleTime());
  EXPECT_EQ(HundredNanoseconds(uint64_t{3'000'000'000} * 31'536'000 + 1'500'000'000, 3'000'000'000),
            315'360'005'000'000u);
  // Version: the system's own, as KUSER_SHARED_DATA tells every process, manifest or not.
  OSVERSIONINFO version;
  ASSERT_TRUE(kernel.GetVersionEx(version));
  EXPECT_EQ(version.dwMajorVersion, *reinterpret_cast<const volatile ULONG*>(0x7FFE026C));
  const auto counts = kernel.CountProcesses();  // this one counted with its threads
  EXPECT_TRUE(counts && counts->processes >= 1 && counts->threads >= counts->processes);
}

// More than 64 logical processors make several groups: the idle time and the count are summed over
// the same processors, every group's (the usage from them is the sampler's own test).
TEST(WindowsBackend, IdleTimeAndProcessorsAreSummedOverEveryGroup) {
  const IdleTotal total = SumOverGroups({std::vector<uint64_t>(64, 7), std::vector<uint64_t>(64, 0), {5, 6}});
  EXPECT_EQ(std::pair(total.time, total.processors), std::pair(uint64_t(64 * 7 + 11), 130u));
}

// The desktop brings COM, apartment-threaded, before the shell opens anything for it.
TEST(WindowsBackend, TheShellMakesTheStartupLinkAndOpensTheMailProgram) {
  WindowsDesktop desktop;
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
  fake::FakeRuntime runtime;
  ShortcutMaintenance shortcuts(desktop, runtime);
  shortcuts.CreateStartupShortcut(kOwnName, "C:\\windows\\system32\\notepad.exe", "");
  // Switched off in Task Manager: unchecked; saved checked: on again.
  const std::wstring approved =
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";
  const unsigned char off[12] = {3};
  RegSetKeyValueW(SystemRoot(HKEY_CURRENT_USER), approved.c_str(), Wide(kOwnName + ".lnk").c_str(),
                  REG_BINARY, off, sizeof off);
  EXPECT_FALSE(shortcuts.StartupShortcutExists(kOwnName));
  shortcuts.CreateStartupShortcut(kOwnName, "C:\\windows\\system32\\notepad.exe", "");
  EXPECT_TRUE(shortcuts.StartupShortcutExists(kOwnName));
  shortcuts.RemoveStartupShortcut(kOwnName);
  EXPECT_FALSE(shortcuts.StartupShortcutExists(kOwnName) || desktop.RemoveStartupLink(kOwnName));
  // The link's working folder: a program in a drive's root works in that root ("C:" alone would be
  // the drive's current folder).
  EXPECT_EQ(WorkingFolderOf("C:\\sysvane.exe"), "C:\\");
  // A mail program that no longer answers (uninstalled, its association left behind in this run's
  // own prefix) fails the mail link, and the About box then says so in the program's words.
  const wchar_t gone[] = L"\"C:\\no such folder\\mail.exe\" \"%1\"";
  RegSetValueW(SystemRoot(0x80000000), L"mailto\\shell\\open\\command", REG_SZ, gone, sizeof gone);
  EXPECT_FALSE(desktop.ComposeMail("support@quorvale.example", "Sysvane"));
}

TEST(WindowsBackend, MutexRefusesASecondHolder) {
  InstanceMutex first("Local\\" + kOwnName);
  EXPECT_FALSE(first.HeldElsewhere());
  EXPECT_TRUE(InstanceMutex("Local\\" + kOwnName).HeldElsewhere());
}

}  // namespace
}  // namespace sysvane::windows
