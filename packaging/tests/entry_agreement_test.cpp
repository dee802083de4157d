// The menu entry the package installs and the start-up entry the Options dialog writes show the
// same program in a desktop's lists: with two names or two icons it would look like two programs.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "options/tests/options_fixture.h"

namespace sysvane {
namespace {

// The line of `key` in an entry's text, "" when it has none.
std::string LineOf(const std::string& text, const std::string& key) {
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line) && !line.starts_with(key + "=")) line.clear();
  return line;
}

class EntryAgreementTest : public testing::OptionsFixture {};

TEST_F(EntryAgreementTest, TheStartUpEntryShowsTheMenuEntrysNameAndIcon) {
  std::stringstream menu;
  menu << std::ifstream(SYSVANE_MENU_ENTRY).rdbuf();
  Options& o = Open();
  o.Check0[0].NotifyClick();
  o.applyButton.NotifyClick();
  const std::string startup = fp.desktop.files["/home/user/.config/autostart/Sysvane.desktop"];
  for (const char* key : {"Name", "Icon"}) {
    EXPECT_NE(LineOf(menu.str(), key), "") << "the menu entry " << SYSVANE_MENU_ENTRY << " has no " << key;
    EXPECT_EQ(LineOf(startup, key), LineOf(menu.str(), key));
  }
}

}  // namespace
}  // namespace sysvane
