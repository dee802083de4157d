// The menu entry the package installs and the start-up entry the Options dialog writes show the
// same program in a desktop's lists: with two names or two icons it would look like two programs.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "options/tests/desktop_entry_reader.h"
#include "options/tests/options_fixture.h"

namespace sysvane {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class EntryAgreementTest : public testing::OptionsFixture {};

TEST_F(EntryAgreementTest, TheStartUpEntryShowsTheMenuEntrysNameAndIcon) {
  const auto menu = testing::ReadEntryGroup(ReadFile(SYSVANE_MENU_ENTRY));
  ASSERT_FALSE(menu.empty()) << "cannot read " << SYSVANE_MENU_ENTRY;

  fp.desktop.executablePath = "/usr/bin/sysvane";
  Options& o = Open();
  o.Check0[0].NotifyClick();
  o.applyButton.NotifyClick();
  const std::string autostart = "/home/user/.config/autostart/Sysvane.desktop";
  ASSERT_TRUE(fp.desktop.FileExists(autostart));
  auto startup = testing::ReadEntryGroup(fp.desktop.files[autostart]);

  for (const char* key : {"Type", "Name", "Icon", "Comment", "Terminal"}) {
    ASSERT_TRUE(menu.count(key)) << "the menu entry has no " << key;
    EXPECT_EQ(startup[key], menu.at(key)) << key;
  }
}

}  // namespace
}  // namespace sysvane
