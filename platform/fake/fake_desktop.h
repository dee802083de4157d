// The desktop of the tests: an in-memory file system, and scripted answers of the browser, mail
// handler and program starter that record what they were asked.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace sysvane::fake {

struct FakeDesktop : Desktop {
  // --- what the tests script
  bool mailAnswers = true;
  bool programStarts = true;
  bool writesFail = false;
  bool movesFail = false;
  std::string executablePath = "/opt/sysvane/bin/sysvane";
  // The file system: path -> contents. Folders are the parents of files plus those listed.
  std::map<std::string, std::string> files;
  std::set<std::string> folders;

  // --- what the tests read
  std::vector<std::string> openedUrls;
  struct Mail {
    std::string address, subject;
  };
  std::vector<Mail> mails;
  std::vector<std::string> startedPrograms;

  // --- Desktop
  bool OpenUrl(const std::string& url) override { return openedUrls.push_back(url), true; }
  bool ComposeMail(const std::string& address, const std::string& subject) override {
    return mails.push_back({address, subject}), mailAnswers;
  }
  bool StartProgram(const std::string& path) override {
    return startedPrograms.push_back(path), programStarts && !path.empty();
  }
  bool FileExists(const std::string& path) override { return files.count(path) > 0; }
  std::optional<std::string> ReadFile(const std::string& path) override {
    return files.count(path) ? std::optional(files[path]) : std::nullopt;
  }
  bool DeleteFile(const std::string& path) override { return files.erase(path) > 0; }
  bool CreateFolders(const std::string& path) override;
  bool WriteFileAtomically(const std::string& path, const std::string& contents) override;
  bool MoveFile(const std::string& from, const std::string& to) override;
  std::string ExecutablePath() override { return executablePath; }
  std::string ConfigHome() override { return "/home/user/.config"; }
  std::string DataHome() override { return "/home/user/.local/share"; }
  bool FolderExists(const std::string& path) const;  // "/", one listed or made, or above a file
};

}  // namespace sysvane::fake
