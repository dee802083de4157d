// The real settings store over the files a user, an editor or a failing disk may leave behind: it
// reads what it can, and a save changes its own line only, never dropping what it could not read.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>

#include "platform/qt/qt_settings.h"
#include "tests/faults/config_home.h"

namespace sysvane::faults {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(SettingsFileFaultTest, ADamagedFileIsReadAsFarAsItGoesAndASaveChangesOnlyItsOwnLine) {
  std::mt19937 random(7);
  std::string noise(600, '\0');
  for (char& c : noise) c = static_cast<char>(random() % 256);
  for (const std::optional<std::string>& file : std::vector<std::optional<std::string>>{
           std::nullopt, "", noise, noise + "\n[Settings]\nShowCPU=1\n",
           "[Settings\nShowCPU=1\n[Other\nKey=1\n",
           std::string("[Settings]\nShowCPU=1\0junk\nMainLeft=10\0\0\n\0\0\0\n", 38),
           "[Settings]\nthis is no setting\n=1\nShowCPU=1\n   \n",
           "\xEF\xBB\xBF[Settings]\r\nShowCPU=1\r\nMainTop=5\r\n",
           "; mine\n# by hand\n[Other]\nShowCPU=0\n\n[Settings]\n; on\nShowCPU=1\nMine=keep\n",
           "[Settings]\nBroken=\"unterminated\nShowCPU=1\nList=a, b, c\n",
           "[Settings]\nMainLeft=@Variant(\\0\\0\\0\\x7f\\0garbage)\nList=\"a\", \"b\"\n",
           "[Settings]\nShowCPU=0\n[Other]\nX=1\n[Settings]\nShowCPU=1",
           "ShowCPU=0\nTop=1\n[Settings]\nShowCPU=1\n"}) {
    ConfigHome home;
    const std::string text = file.value_or("");
    if (file) home.Write(kSettingsFile, text);
    qt::QtSettingsBackend backend;
    auto reads = [&] {
      std::string all;
      for (const char* key : {"ShowCPU", "MainLeft", "MainTop", "List", "Broken", "Mine"})
        all += backend.Read("", "Settings", key).value_or("-") + "|";
      return all + backend.Read("", "Other", "Key").value_or("-");
    };
    const std::string before = reads();
    ASSERT_TRUE(backend.Write("", "Settings", "ShowSplash", "0")) << text;  // a key the file lacks
    const auto added = Lines(home.Text(kSettingsFile)), old = Lines(text);
    size_t kept = 0;
    for (const auto& line : added) kept += kept < old.size() && line == old[kept];
    EXPECT_EQ(kept, old.size()) << "a line the user left is gone: " << text;
    EXPECT_EQ(reads(), before) << text;
    ASSERT_TRUE(backend.Write("", "Settings", "ShowSplash", "1"));  // a key the file has
    const auto changed = Lines(home.Text(kSettingsFile));
    ASSERT_EQ(changed.size(), added.size());
    int differ = 0;
    for (size_t i = 0; i < added.size(); ++i) differ += added[i] != changed[i];
    EXPECT_EQ(differ, 1) << text;
    EXPECT_EQ(backend.Read("", "Settings", "ShowSplash"), "1");
  }
}

TEST(SettingsFileFaultTest, AFileThatCannotBeReadOrReplacedIsLeftAsItIs) {
  const std::string text = "; mine\n[Settings]\nShowCPU=1\nMainLeft=100\n";
  for (auto [name, file, folder] : {std::tuple{"read-only", 0444, 0700},
                                    {"unreadable", 0, 0700},
                                    {"in an unwritable folder", 0600, 0500},
                                    {"a folder", -1, 0700}}) {
    ConfigHome home;
    home.Write(file < 0 ? std::string(kSettingsFile) + "/inside" : kSettingsFile, text);
    if (file >= 0) chmod(home.Path(kSettingsFile).c_str(), file);
    chmod(home.Path("config/Sysvane").c_str(), folder);
    if ((file == 0 && access(home.Path(kSettingsFile).c_str(), R_OK) == 0) ||
        (folder == 0500 && access(home.Path("config/Sysvane").c_str(), W_OK) == 0))
      continue;  // root reads and writes whatever the modes say
    EXPECT_FALSE(qt::QtSettingsBackend().Write("", "Settings", "ShowSplash", "0")) << name;
    chmod(home.Path("config/Sysvane").c_str(), 0700);
    if (file >= 0) chmod(home.Path(kSettingsFile).c_str(), 0600);
    EXPECT_EQ(home.Text(file < 0 ? std::string(kSettingsFile) + "/inside" : kSettingsFile), text) << name;
    EXPECT_EQ(home.Entries("config/Sysvane").size(), 1u) << name << ": something was left beside it";
  }
}

}  // namespace
}  // namespace sysvane::faults
