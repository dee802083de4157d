// Desktop services on Windows: the shell opens addresses (the browser, the mail handler), programs
// start without a shell, and the user's folders are the shell's known folders.
#pragma once

#include <string>

#include "platform/desktop.h"
#include "platform/windows/com_apartment.h"

namespace sysvane::windows {

class WindowsDesktop : public Desktop {
 public:
  WindowsDesktop();

  bool OpenUrl(const std::string& url) override;
  bool ComposeMail(const std::string& address, const std::string& subject) override;
  bool StartProgram(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  bool CreateFolders(const std::string& path) override;
  bool WriteFileAtomically(const std::string& path, const std::string& contents) override;
  bool MoveFile(const std::string& from, const std::string& to) override;
  // Sysvane.lnk in the user's Startup folder.
  bool HasStartupLinks() override { return true; }
  bool CreateStartupLink(const std::string& name, const std::string& target,
                         const std::string& arguments) override;
  bool RemoveStartupLink(const std::string& name) override;
  bool StartupLinkExists(const std::string& name) override;
  std::string ExecutablePath() override { return executable_; }
  // The roaming and the local application data folders.
  std::string ConfigHome() override;
  std::string DataHome() override;

  // "mailto:" with the address and the subject percent-encoded (the address keeps its "@").
  static std::string MailtoUrl(const std::string& address, const std::string& subject);

 private:
  // COM from the program's start, before anything is opened, on the thread that opens them.
  ComApartment com_;
  std::string executable_;
};

}  // namespace sysvane::windows
