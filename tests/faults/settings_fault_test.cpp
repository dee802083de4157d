// The real settings store under a temporary XDG_CONFIG_HOME: files missing, empty, corrupt,
// read-only, unreadable or in an unwritable folder, and values edited by hand. The readers cope,
// and a save never loses what it did not write: comments, unknown keys, other sections and
// lines that are no setting at all stay as the user left them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <random>

#include "monitor/display.h"
#include "options/options_dialog.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_forms.h"
#include "platform/fake/fake_platform.h"
#include "platform/qt/qt_settings.h"
#include "shell/program.h"
#include "tests/faults/config_home.h"

namespace sysvane::faults {
namespace {

using qt::QtSettingsBackend;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// Every line of `before` is in `after`, in the same order.
bool KeepsEveryLine(const std::string& before, const std::string& after) {
  const auto old = Lines(before);
  const auto now = Lines(after);
  size_t at = 0;
  for (const auto& line : now) {
    if (at < old.size() && line == old[at]) ++at;
  }
  return at == old.size();
}

// The settings files a user, an editor or a failing disk may leave behind.
std::vector<std::pair<std::string, std::string>> DamagedFiles() {
  std::mt19937 random(7);
  std::string noise(600, '\0');
  for (char& c : noise) c = static_cast<char>(random() % 256);
  return {
      {"random bytes", noise},
      {"random bytes, then the section", noise + "\n[Settings]\nShowCPU=1\n"},
      {"a broken section line", "[Settings\nShowCPU=1\n[Other\nKey=1\n"},
      {"NUL bytes", std::string("[Settings]\nShowCPU=1\0junk\nMainLeft=10\0\0\n\0\0\0\n", 38)},
      {"lines without a key", "[Settings]\nthis is no setting\n=1\nShowCPU=1\n   \n"},
      {"comments and other sections",
       "; my settings\n# written by hand\n[Other]\nShowCPU=0\n\n[Settings]\n; on\nShowCPU=1\nMine=keep\n"},
      {"Windows line ends and a byte order mark", "\xEF\xBB\xBF[Settings]\r\nShowCPU=1\r\nMainTop=5\r\n"},
      {"an unterminated quote", "[Settings]\nBroken=\"unterminated\nShowCPU=1\nList=a, b, c\n"},
      {"values no parser of lists or variants takes",
       "[Settings]\nMainLeft=@Variant(\\0\\0\\0\\x7f\\0garbage)\nShowCPU=1\nList=\"a\", \"b\"\n"},
      {"the section twice", "[Settings]\nShowCPU=0\n[Other]\nX=1\n[Settings]\nShowCPU=1\n"},
      {"no last line end", "[Settings]\nShowCPU=1"},
      {"keys before any section", "ShowCPU=0\nTop=1\n[Settings]\nShowCPU=1\n"},
  };
}

TEST(SettingsFileFaultTest, AMissingFileAndFolderReadAsDefaults) {
  ConfigHome home;
  QtSettingsBackend backend;
  Settings settings(backend);
  EXPECT_FALSE(settings.IsOn("ShowCPU"));
  EXPECT_TRUE(settings.IsOn("ShowSplash", true));
  EXPECT_FALSE(settings.IsDefined());
  EXPECT_EQ(settings.ReadNumber("MainLeft"), std::nullopt);
  EXPECT_FALSE(home.Exists("config/Sysvane")) << "reading creates nothing";
  EXPECT_TRUE(settings.Write("ShowCPU", "1"));
  EXPECT_EQ(home.Text("config/Sysvane/Sysvane.conf"), "[Settings]\nShowCPU=1\n");
}

TEST(SettingsFileFaultTest, AnEmptyFileReadsAsDefaultsAndTakesAWrite) {
  ConfigHome home;
  home.WriteSettings("");
  QtSettingsBackend backend;
  Settings settings(backend);
  EXPECT_FALSE(settings.IsDefined());
  EXPECT_TRUE(settings.IsOn("ShowSplash", true));
  EXPECT_TRUE(settings.Write("Defined", "Yes"));
  EXPECT_EQ(home.Settings(), "[Settings]\nDefined=Yes\n");
}

TEST(SettingsFileFaultTest, ADamagedFileIsReadAsFarAsItGoesAndAWriteKeepsEveryLine) {
  for (const auto& [name, text] : DamagedFiles()) {
    ConfigHome home;
    home.WriteSettings(text);
    QtSettingsBackend backend;
    const auto mainLeft = backend.Read("Sysvane", "Settings", "MainLeft");
    const auto list = backend.Read("Sysvane", "Settings", "List");
    const auto other = backend.Read("Sysvane", "Other", "Key");

    // A key the file does not have: added, and nothing else changes.
    ASSERT_TRUE(backend.Write("Sysvane", "Settings", "ShowSplash", "0")) << name;
    const std::string afterAdd = home.Settings();
    EXPECT_TRUE(KeepsEveryLine(text, afterAdd)) << name << ":\n" << afterAdd;
    EXPECT_EQ(backend.Read("Sysvane", "Settings", "ShowSplash"), "0") << name;
    EXPECT_EQ(backend.Read("Sysvane", "Settings", "MainLeft"), mainLeft) << name;
    EXPECT_EQ(backend.Read("Sysvane", "Settings", "List"), list) << name;
    EXPECT_EQ(backend.Read("Sysvane", "Other", "Key"), other) << name;

    // A key the file has: that one line changes, and only it.
    ASSERT_TRUE(backend.Write("Sysvane", "Settings", "ShowSplash", "1")) << name;
    const auto before = Lines(afterAdd);
    const auto after = Lines(home.Settings());
    ASSERT_EQ(before.size(), after.size()) << name;
    int changed = 0;
    for (size_t i = 0; i < before.size(); ++i) changed += before[i] != after[i];
    EXPECT_EQ(changed, 1) << name;
    EXPECT_EQ(backend.Read("Sysvane", "Settings", "ShowSplash"), "1") << name;
  }
}

TEST(SettingsFileFaultTest, WhatTheFileHoldsIsReadAsTheUserMeantIt) {
  ConfigHome home;
  home.WriteSettings(
      "\xEF\xBB\xBF[Settings\r\nShowCPU = 1 \r\nBroken=\"unterminated\nMainLeft=120\n[Other]\nMainLeft=7\n"
      "[Settings]\nQuoted=\" 1 \"\nEscaped=\"a\\\"b\\\\c\"\n");
  QtSettingsBackend backend;
  EXPECT_EQ(backend.Read("", "Settings", "ShowCPU"), "1");
  EXPECT_EQ(backend.Read("", "Settings", "Broken"), "\"unterminated");
  EXPECT_EQ(backend.Read("", "Settings", "MainLeft"), "120") << "not swallowed by the quote before it";
  EXPECT_EQ(backend.Read("", "Other", "MainLeft"), "7");
  EXPECT_EQ(backend.Read("", "Settings", "Quoted"), " 1 ");
  EXPECT_EQ(backend.Read("", "Settings", "Escaped"), "a\"b\\c");
}

TEST(SettingsFileFaultTest, AnyTextAValueMayHoldComesBackAsWritten) {
  ConfigHome home;
  QtSettingsBackend backend;
  std::mt19937 random(11);
  for (int round = 0; round < 200; ++round) {
    std::string value(random() % 40, '\0');
    for (char& c : value) c = static_cast<char>(random() % 256);
    ASSERT_TRUE(backend.Write("", "Settings", "Value", value));
    ASSERT_TRUE(backend.Write("", "Settings", "After", "still here"));
    EXPECT_EQ(backend.Read("", "Settings", "Value"), value) << round;
    EXPECT_EQ(backend.Read("", "Settings", "After"), "still here") << round;
  }
  EXPECT_EQ(Lines(home.Settings()).size(), 3u) << "one line per key, whatever the values held";
}

TEST(SettingsFileFaultTest, AReadOnlyFileIsLeftAsItIs) {
  ConfigHome home;
  const std::string text = "; mine\n[Settings]\nShowCPU=1\n";
  home.WriteSettings(text);
  ASSERT_EQ(chmod(home.SettingsPath().c_str(), 0444), 0);
  QtSettingsBackend backend;
  Settings settings(backend);
  EXPECT_TRUE(settings.IsOn("ShowCPU"));
  EXPECT_FALSE(settings.Write("ShowCPU", "0"));
  EXPECT_EQ(home.Settings(), text);
  EXPECT_EQ(home.Mode("config/Sysvane/Sysvane.conf"), 0444u);
}

TEST(SettingsFileFaultTest, AFileThatCannotBeReadIsNeverReplaced) {
  ConfigHome home;
  const std::string text = "[Settings]\nShowCPU=1\nMainLeft=100\n";
  home.WriteSettings(text);
  ASSERT_EQ(chmod(home.SettingsPath().c_str(), 0), 0);
  if (access(home.SettingsPath().c_str(), R_OK) == 0)
    GTEST_SKIP() << "this user reads a file of mode 000 (root)";
  QtSettingsBackend backend;
  EXPECT_EQ(backend.Read("", "Settings", "ShowCPU"), std::nullopt);
  EXPECT_FALSE(backend.Write("", "Settings", "ShowSplash", "0")) << "it would lose ShowCPU and MainLeft";
  chmod(home.SettingsPath().c_str(), 0600);
  EXPECT_EQ(home.Settings(), text);
}

TEST(SettingsFileFaultTest, AFolderInPlaceOfTheFileIsNeverReplaced) {
  ConfigHome home;
  home.WriteFile("config/Sysvane/Sysvane.conf/inside", "x");
  QtSettingsBackend backend;
  EXPECT_EQ(backend.Read("", "Settings", "ShowCPU"), std::nullopt);
  EXPECT_FALSE(backend.Write("", "Settings", "ShowCPU", "1"));
  EXPECT_EQ(home.Text("config/Sysvane/Sysvane.conf/inside"), "x");
}

TEST(SettingsFileFaultTest, AnUnwritableFolderFailsTheWriteAndKeepsTheFile) {
  ConfigHome home;
  const std::string text = "[Settings]\nShowCPU=1\n";
  home.WriteSettings(text);
  ASSERT_EQ(chmod(home.Path("config/Sysvane").c_str(), 0500), 0);
  const bool writable = access(home.Path("config/Sysvane").c_str(), W_OK) == 0;
  QtSettingsBackend backend;
  const bool written = backend.Write("", "Settings", "ShowCPU", "0");
  chmod(home.Path("config/Sysvane").c_str(), 0700);
  if (writable) GTEST_SKIP() << "this user writes into a folder of mode 500 (root)";
  EXPECT_FALSE(written);
  EXPECT_EQ(home.Settings(), text);
  EXPECT_EQ(home.Entries("config/Sysvane"), std::vector<std::string>{"Sysvane.conf"})
      << "no file left behind";
}

// The program's own readers over hand-edited values: the switch rule, the Options dialog's boxes
// and the Monitor window's position.
class HandEditedTest : public ::testing::Test {
 protected:
  ConfigHome home;
  QtSettingsBackend backend;
  fake::FakeKernel kernel;
  fake::FakeRegistry registry;
  fake::FakeProcessorLibrary processor;
  fake::FakeResourceMeter resources;
  fake::FakeRuntime runtime;
  fake::FakeDesktop desktop;
  Program program{Platform{kernel, registry, processor, resources, backend, runtime, desktop}};

  HandEditedTest() {
    kernel.version = OSVERSIONINFO{148, 6, 8, 0, VER_PLATFORM_WIN32_NT, ""};
    kernel.memory = MEMORYSTATUS{32, 0, 8ull << 30, 4ull << 30, 0, 0, 128ull << 40, 127ull << 40};
    kernel.SetFixedDrives({{"c:\\", {100ull << 30, 40ull << 30}}});
  }
};

TEST_F(HandEditedTest, SwitchesAreOnExactlyForTheNumberOne) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"abc", false}, {"2", false},   {"yes", false}, {" 1 ", true},    {"\" 1 \"", true},
      {"1e0", true},  {"1.0", true},  {"+1", true},   {"1e400", false}, {"99999999999999999999", false},
      {"-1", false},  {"0x1", false}, {"", false},    {"1 1", false},   {"\t1", true},
      {"1;", false},
  };
  std::string text = "[Settings]\n";
  for (size_t i = 0; i < cases.size(); ++i) text += "Key" + std::to_string(i) + "=" + cases[i].first + "\n";
  home.WriteSettings(text);
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(program.settings.IsOn("Key" + std::to_string(i)), cases[i].second)
        << "'" << cases[i].first << "'";
  }
}

TEST_F(HandEditedTest, TheOptionsDialogLoadsWhatItCanAndItsSaveKeepsTheRest) {
  home.WriteSettings(
      "; edited by hand\n[Settings]\nDefined=yes\nShowCPU= 1 \nShowPhysMem=abc\nShowVirtMem=2\n"
      "ShowBattery=1e0\nShowCdrive=1e400\nShowSplash=99999999999999999999\nMine=keep me\n"
      "Broken=\"unterminated\n\n[Other]\nShowCPU=0\n");
  Options& options = program.options();
  options.Show();
  EXPECT_EQ(options.Check1[0].Value(), 1);
  EXPECT_EQ(options.Check1[1].Value(), 0);
  EXPECT_EQ(options.Check1[2].Value(), 2) << "grey";
  EXPECT_EQ(options.Check1[6].Value(), 1);
  EXPECT_EQ(options.Check1[7].Value(), 0);
  EXPECT_EQ(options.Check0[3].Value(), 0);

  options.Check1[1].NotifyClick();  // the user ticks Physical memory
  ASSERT_EQ(options.Check1[1].Value(), 1);
  options.applyButton.NotifyClick();
  const std::string saved = home.Settings();
  EXPECT_NE(saved.find("; edited by hand\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("\nMine=keep me\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("\nBroken=\"unterminated\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("[Other]\nShowCPU=0\n"), std::string::npos) << saved;
  EXPECT_EQ(backend.Read("", "Settings", "ShowPhysMem"), "1");
  EXPECT_EQ(backend.Read("", "Settings", "Defined"), "Yes");
  EXPECT_EQ(backend.Read("", "Other", "ShowCPU"), "0");
}

TEST_F(HandEditedTest, AMonitorWindowPlacedOffEveryScreenComesBackOntoTheWorkArea) {
  const forms::TwipsRect area = runtime.workArea;
  const std::vector<std::pair<std::string, std::string>> positions = {
      {"1e12", "1e12"},   {"-1e12", "-1e12"}, {"1e300", "-1e300"}, {"99999999999999999999", "5"},
      {"-30000", "500"},  {"500", "40000"},   {"abc", "1e400"},    {"nan", "inf"},
      {"\" 900 \"", "-0"}};
  for (const auto& [left, top] : positions) {
    home.WriteSettings("[Settings]\nDefined=Yes\nShowCPU=1\nMainLeft=" + left + "\nMainTop=" + top + "\n");
    Display& display = program.display();
    display.Show();
    const forms::TwipsRect window{display.Left(), display.Top(), display.Width(), display.Height()};
    EXPECT_GT(std::min(window.Left + window.Width, area.Left + area.Width) - std::max(window.Left, area.Left),
              0)
        << left << ", " << top << ": left " << window.Left;
    EXPECT_GT(std::min(window.Top + window.Height, area.Top + area.Height) - std::max(window.Top, area.Top),
              0)
        << left << ", " << top << ": top " << window.Top;
    program.UnloadDisplay();
    // What it saved is a position a later start reads back as the same.
    const auto savedLeft = program.settings.ReadNumber("MainLeft");
    ASSERT_TRUE(savedLeft) << left;
    EXPECT_EQ(*savedLeft, window.Left) << left;
  }
}

}  // namespace
}  // namespace sysvane::faults
