// Kill -9 in the middle of a save, a few hundred times: a helper saves in a loop through the
// program's real writers and is killed at random moments. The settings file and the start-up
// entry are always whole, holding what one save or the next wrote, never a mix or a part.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <regex>

#include "options/desktop_entry.h"
#include "tests/faults/config_home.h"
#include "tests/faults/save_loop.h"

extern char** environ;

namespace sysvane::faults {
namespace {

constexpr int kKills = 300;

// The helper started with its standard output on a pipe.
class SaveLoop {
 public:
  explicit SaveLoop(std::vector<std::string> arguments) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    std::vector<char*> argv;
    arguments.insert(arguments.begin(), SAVE_LOOP);
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, SAVE_LOOP, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    out_ = pipeEnds[0];
  }
  ~SaveLoop() {
    Kill();
    if (out_ >= 0) close(out_);
  }
  bool Started() const { return pid_ > 0 && out_ >= 0; }

  // Waits (at most five seconds) until `saves` saves have returned; false when the helper ended.
  bool WaitForSaves(int saves) {
    while (told_ < saves) {
      pollfd ready{out_, POLLIN, 0};
      if (poll(&ready, 1, 5000) <= 0 || !ReadOutput()) return false;
    }
    return true;
  }
  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    while (ReadOutput()) {
    }
  }
  // The number of the last save that returned, -1 before any.
  long LastSave() const { return last_; }

 private:
  bool ReadOutput() {
    char buffer[256];
    const ssize_t n = read(out_, buffer, sizeof buffer);
    if (n <= 0) return false;
    for (ssize_t i = 0; i < n; ++i) {
      if (buffer[i] != '\n') {
        line_ += buffer[i];
        continue;
      }
      last_ = std::atol(line_.c_str());
      line_.clear();
      ++told_;
    }
    return true;
  }

  pid_t pid_ = -1;
  int out_ = -1;
  int told_ = 0;
  long last_ = -1;
  std::string line_;
};

std::string SettingsText(long counter, long payload) {
  return "; kept comment\n[Settings]\nMine=keep me\nCounter=" + std::to_string(counter) +
         "\nPayload=" + Payload(payload) + "\n\n[Other]\nX=1\n";
}

// Removes what killed saves left beside the file, and counts it: each is a kill mid-write.
int RemoveLeftovers(const ConfigHome& home, const std::string& folder, const std::string& keep) {
  int removed = 0;
  for (const auto& name : home.Entries(folder)) {
    if (name == keep) continue;
    std::filesystem::remove(home.Path(folder + "/" + name));
    ++removed;
  }
  return removed;
}

TEST(KillDuringSaveTest, TheSettingsFileIsAlwaysWhole) {
  ConfigHome home;
  home.WriteSettings(SettingsText(0, 0));
  chmod(home.SettingsPath().c_str(), 0600);
  std::mt19937 random(99);
  int midWrite = 0;
  long saved = 0;    // the last save known to have returned
  long payload = 0;  // the generation of the payload the file holds
  for (int kill = 0; kill < kKills; ++kill) {
    SaveLoop loop({"settings", home.SettingsPath()});
    ASSERT_TRUE(loop.Started());
    ASSERT_TRUE(loop.WaitForSaves(int(random() % 3))) << "the helper stopped saving";
    usleep(random() % 4000);
    loop.Kill();
    if (loop.LastSave() > saved) saved = loop.LastSave();

    const std::string text = home.Settings();
    std::smatch counter;
    ASSERT_TRUE(std::regex_search(text, counter, std::regex("\nCounter=(\\d+)\n")))
        << "kill " << kill << ": no counter in " << text.size() << " bytes";
    const long now = std::atol(counter[1].str().c_str());
    // The save under way when the kill came has happened wholly or not at all.
    ASSERT_TRUE(now == saved || now == saved + 1)
        << "kill " << kill << ": counter " << now << " after save " << saved;
    // Each save writes the counter, then the payload: a kill between the two leaves the payload of
    // the save before, which is the payload the file held before this round when that happened
    // on the round before too.
    const bool whole = text == SettingsText(now, now) || text == SettingsText(now, now - 1) ||
                       text == SettingsText(now, payload);
    ASSERT_TRUE(whole) << "kill " << kill << ": the file is not one save's whole file (" << text.size()
                       << " bytes)";
    ASSERT_EQ(home.Mode("config/Sysvane/Sysvane.conf"), 0600u);
    if (text == SettingsText(now, now))
      payload = now;
    else if (text == SettingsText(now, now - 1))
      payload = now - 1;
    saved = now;
    midWrite += RemoveLeftovers(home, "config/Sysvane", "Sysvane.conf");
  }
  std::cout << "[          ] " << kKills << " kills, " << saved << " saves, " << midWrite
            << " kills in the middle of writing the new file\n";
  EXPECT_GT(midWrite, 0) << "no kill landed inside a save: the test proved nothing";
}

TEST(KillDuringSaveTest, TheAutostartEntryIsAlwaysWhole) {
  ConfigHome home;
  const std::string entry = "config/autostart/Sysvane.desktop";
  auto entryText = [](long generation) {
    DesktopEntry expected;
    expected.name = "Sysvane";
    expected.comment = "System monitor in the notification area";
    expected.icon = "sysvane";
    expected.command = {ProgramOf(generation)};
    return FormatDesktopEntry(expected).value_or("");
  };
  std::mt19937 random(98);
  long next = 1;
  long saved = 0;
  int missing = 0;
  int midWrite = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    SaveLoop loop({"autostart", std::to_string(next)});
    ASSERT_TRUE(loop.Started());
    ASSERT_TRUE(loop.WaitForSaves(int(random() % 3))) << "the helper stopped saving";
    usleep(random() % 3000);
    loop.Kill();
    if (loop.LastSave() > saved) saved = loop.LastSave();

    if (saved == 0 && !home.Exists(entry)) continue;  // no save has finished yet
    if (!home.Exists(entry)) {
      ++missing;  // an entry that was there is gone: neither the old one nor the new
      next = saved + 1;
      continue;
    }
    const std::string text = home.Text(entry);
    std::smatch exec;
    ASSERT_TRUE(std::regex_search(text, exec, std::regex("\nExec=/opt/sysvane-(\\d+)/sysvane\n")))
        << "kill " << kill << ": " << text;
    const long now = std::atol(exec[1].str().c_str());
    ASSERT_TRUE(now == saved || now == saved + 1)
        << "kill " << kill << ": entry " << now << " after save " << saved;
    ASSERT_EQ(text, entryText(now)) << "kill " << kill;
    EXPECT_EQ(home.Mode(entry), 0600u);
    saved = now;
    next = now + 1;
    // The entry is written in the Programs menu first, and only then moved into place.
    if (home.Exists("data/applications"))
      midWrite += RemoveLeftovers(home, "data/applications", "Sysvane.desktop");
  }
  std::cout << "[          ] " << kKills << " kills, " << saved << " saves, " << midWrite
            << " kills in the middle of writing the new entry\n";
  EXPECT_EQ(missing, 0) << "times the start-up entry was gone after a kill";
}

}  // namespace
}  // namespace sysvane::faults
