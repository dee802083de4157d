// The icon record's tip field: the text, or the owner's caption, then one NUL, then spaces.
#include "shell/tray_icon.h"

#include <gtest/gtest.h>

namespace sysvane {
namespace {

TEST(TrayIconTest, TipFieldIsTheTextOrCaptionThenOneNulThenSpacesCutAtSixtyFour) {
  const std::string nul(1, '\0'), pad(64, ' '), y63(63, 'y'), x70(70, 'x');
  // clang-format off
  for (auto [tip, caption, field] : {std::tuple{"Sysvane Monitor", "Form1", "Sysvane Monitor" + nul + pad.substr(16)},
       {"", "Form1", "Form1" + nul + pad.substr(6)}, {"", "", nul + pad.substr(1)}, {y63.c_str(), "", y63 + nul},
       {x70.c_str(), "", x70.substr(6)}}) {
    // clang-format on
    const auto filled = FillTipField(tip, caption);
    EXPECT_EQ(std::string(filled.data(), filled.size()), field) << tip << "|" << caption;
  }
}

}  // namespace
}  // namespace sysvane
