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
  const size_t at = ("\n" + text).find("\n" + key + "=");  // where the line starts in `text`
  return at == std::string::npos ? "" : text.substr(at, text.find('\n', at) - at);
}

class EntryAgreementTest : public testing::OptionsFixture {};

TEST_F(EntryAgreementTest, TheStartUpEntryShowsTheMenuEntrysNameAndIcon) {
  const std::string menu = (std::ostringstream() << std::ifstream(SYSVANE_MENU_ENTRY).rdbuf()).str();
  Options& o = Open();
  o.Check0[0].NotifyClick();
  o.applyButton.NotifyClick();
  const std::string startup = fp.desktop.files["/home/user/.config/autostart/Sysvane.desktop"];
  for (const char* key : {"Name", "Icon"})  // the menu entry has each, and the start-up entry the same
    EXPECT_EQ(LineOf(startup, key), LineOf(menu, key).empty() ? "none in the menu entry" : LineOf(menu, key));
}

}  // namespace
}  // namespace sysvane
