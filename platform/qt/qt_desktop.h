// The desktop services of a Linux desktop: the browser and mail handler through Qt, programs
// started without a shell, the XDG base folders, and file operations that never leave a half
// written file behind.
#pragma once

#include <string>

#include "platform/desktop.h"

namespace sysvane {

class QtDesktop : public Desktop {
 public:
  // Notes the path the program was started as: make it at start, before the working folder changes.
  QtDesktop();

  bool OpenUrl(const std::string& url) override;
  bool ComposeMail(const std::string& address, const std::string& subject) override;
  bool StartProgram(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  bool CreateFolders(const std::string& path) override;
  bool WriteFileAtomically(const std::string& path, const std::string& contents) override;
  bool MoveFile(const std::string& from, const std::string& to) override;
  std::string ExecutablePath() override;
  std::string ConfigHome() override;
  std::string DataHome() override;

  // "mailto:support@quorvale.example?subject=Sysvane%2C%20Version%202.0"
  static std::string MailtoUrl(const std::string& address, const std::string& subject);

  // What an AppImage's runtime tells the program it starts: $APPIMAGE and $APPDIR.
  struct AppImage {
    std::string file;         // "/home/alex/Sysvane.AppImage"
    std::string mountFolder;  // "/tmp/.mount_SysvaXk3"
  };

  // The path a program was started as: the AppImage file when the running executable that
  // `exeLink` (/proc/self/exe) points to lies in that AppImage's mount; else argv[0] made absolute
  // against the working folder, or found on the search path when it holds no slash, as long as it
  // names the running executable; a link stays a link. Otherwise the executable's own path,
  // without the " (deleted)" the kernel adds once an upgrade replaced the file.
  static std::string ProgramPathAtStart(const std::string& argv0, const std::string& searchPath,
                                        const std::string& workingFolder, const std::string& exeLink,
                                        const AppImage& appImage = {});

  // Called once a save's new file is open, before its contents go in; null in the program. The
  // fault tests set it to kill a save right inside its write, every time rather than by luck.
  static inline void (*writeBegun)() = nullptr;

 private:
  std::string programPath_;
};

}  // namespace sysvane
