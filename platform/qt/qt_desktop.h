// The desktop services of a Linux desktop: the browser and mail handler through Qt, programs
// started without a shell, the XDG base folders, and file operations that never leave a half
// written file behind.
#pragma once

#include <string>

#include "platform/desktop.h"

namespace sysvane {

class QtDesktop : public Desktop {
 public:
  bool OpenUrl(const std::string& url) override;
  bool ComposeMail(const std::string& address, const std::string& subject) override;
  bool StartProgram(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  bool CreateFolders(const std::string& path) override;
  bool WriteFileAtomically(const std::string& path, const std::string& contents) override;
  bool MoveFile(const std::string& from, const std::string& to) override;
  std::string ExecutablePath() override;
  std::string ConfigHome() override;
  std::string DataHome() override;

  // "mailto:support@quorvale.example?subject=Sysvane%2C%20Version%202.0"
  static std::string MailtoUrl(const std::string& address, const std::string& subject);
};

}  // namespace sysvane
