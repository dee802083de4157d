// The real desktop on a temporary folder: its file operations and the program's own path. (Its base
// folders from the environment are where the fault tests find the files the program writes.)
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/qt/qt_desktop.h"
#include "tests/faults/config_home.h"

namespace sysvane {
namespace {

// A home of the test's own; the real desktop's base folders lie in it.
struct DesktopFilesTest : ::testing::Test {
  void Write(const std::string& path, const std::string& text, mode_t mode = 0600) {
    home.Write(path.substr(root.size() + 1), text);
    ::chmod(path.c_str(), mode);
  }
  faults::ConfigHome home;
  const std::string root = std::filesystem::path(home.Path()).parent_path();  // no trailing slash
  QtDesktop desktop;
};

TEST_F(DesktopFilesTest, FilesAreWrittenWholeReadOnlyWhenNormalAndMovedOrDeletedOnce) {
  const std::string folder = root + "/a/b", path = folder + "/entry";
  ASSERT_TRUE(desktop.CreateFolders(folder) && desktop.CreateFolders(folder));  // the second finds it there
  Write(path, "old");
  rlimit saved{};  // a file-size limit fails the write halfway, as a full disk would
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const rlimit small{4096, saved.rlim_max};
  auto previous = ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_FALSE(desktop.WriteFileAtomically(path, std::string(1 << 20, 'x')));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, previous);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);  // no temporary left
  EXPECT_EQ(desktop.ReadFile(path), "old");
  ASSERT_EQ(::symlink(path.c_str(), (root + "/link").c_str()), 0);
  ASSERT_EQ(::mkfifo((root + "/fifo").c_str(), 0600), 0);
  EXPECT_EQ(desktop.ReadFile(root + "/link"), "old");         // a link to a file reads as the file
  EXPECT_EQ(desktop.ReadFile(root + "/fifo"), std::nullopt);  // and a pipe never hangs the read
  EXPECT_FALSE(desktop.FileExists(folder) || desktop.DeleteFile(folder) || desktop.ReadFile(folder));
  EXPECT_TRUE(desktop.DeleteFile(root + "/link") && desktop.MoveFile(path, root + "/moved"));
  EXPECT_FALSE(desktop.MoveFile(path, root + "/moved") || desktop.DeleteFile(path) ||
               desktop.FileExists(path));
  EXPECT_EQ(desktop.ReadFile(root + "/moved"), "old");
}

TEST_F(DesktopFilesTest, TheProgramKeepsThePathItWasStartedAs) {
  Write(root + "/real/prog", "#!/bin/sh\n", 0700);
  Write(root + "/other/prog", "#!/bin/sh\n", 0700);
  std::filesystem::create_directory_symlink(root + "/real", root + "/bin");
  std::filesystem::create_symlink(root + "/real/prog", root + "/exe");
  std::filesystem::create_symlink(root + "/real/old (deleted)", root + "/replaced");
  Write(root + "/Sysvane.AppImage", "");
  const std::string exe = root + "/exe", bin = root + "/bin/prog", real = root + "/real/prog";
  const QtDesktop::AppImage image{root + "/Sysvane.AppImage", root + "/real/"};
  // argv[0], search path, working folder, the /proc/self/exe link, the path kept, the AppImage's
  // variables. Through a link the link stays; on the search path the entry that is the running
  // file counts, not the first of that name, and an empty entry is the working folder; another
  // program, no working folder or no argv[0] give the executable's own path, without the
  // " (deleted)" of a replaced file. From inside its mount an AppImage names itself; its variables
  // inherited by a program outside the mount, or naming no file, change nothing.
  using S = std::string;
  const std::tuple<S, S, S, S, S, QtDesktop::AppImage> rows[] = {
      {bin, "", "/", exe, bin, {}},
      {"bin/prog", "", root, exe, bin, {}},
      {"prog", "/none:" + root + "/other:" + root + "/bin//", "/", exe, bin, {}},
      {"prog", "/none::", root + "/bin", exe, bin, {}},
      {"bin/prog", "", "", exe, real, {}},
      {root + "/other/prog", "", "/", exe, real, {}},
      {"", "", "/", root + "/replaced", root + "/real/old", {}},
      {bin, "", "/", exe, image.file, image},
      {bin, "", "/", exe, bin, {image.file, root + "/other"}},
      {bin, "", "/", exe, bin, {root + "/none.AppImage", image.mountFolder}}};
  for (const auto& [argv0, searchPath, folder, exeLink, expected, appImage] : rows)
    EXPECT_EQ(QtDesktop::ProgramPathAtStart(argv0, searchPath, folder, exeLink, appImage), expected) << argv0;
}

}  // namespace
}  // namespace sysvane
