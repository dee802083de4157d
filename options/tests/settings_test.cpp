#include "options/settings.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"

namespace sysvane {
namespace {

TEST(SwitchIsOn, OnlyTheNumberOneIsOn) {
  for (const char* text : {"1", " 1 ", "1.0", "1e0", "+1", "\t1\r\n", "01"}) {
    EXPECT_TRUE(SwitchIsOn(text)) << '"' << text << '"';
  }
  for (const char* text :
       {"0", "2", "-1", "abc", "yes", "", " ", "0x1", "inf", "nan", "1,0", "1 1", "1abc", "+-1", "++1"}) {
    EXPECT_FALSE(SwitchIsOn(text)) << '"' << text << '"';
  }
}

TEST(ParseNumber, WholeTextMustBeAFiniteDecimal) {
  EXPECT_EQ(ParseNumber(" 9360 "), 9360.0);
  EXPECT_EQ(ParseNumber("-120.5"), -120.5);
  EXPECT_EQ(ParseNumber("1e999"), std::nullopt);
  EXPECT_EQ(ParseNumber("-inf"), std::nullopt);
  EXPECT_EQ(ParseNumber("12px"), std::nullopt);
}

struct SettingsTest : testing::Test {
  fake::FakeSettingsBackend backend;
  Settings settings{backend};
};

TEST_F(SettingsTest, MissingKeysGiveTheReadersDefault) {
  EXPECT_TRUE(settings.IsOn("ShowSplash", true));
  EXPECT_FALSE(settings.IsOn("ShowCPU"));
  EXPECT_EQ(settings.Read("FirstTimePosition", "No"), "No");
  EXPECT_EQ(settings.Read("Defined"), "");
  EXPECT_EQ(settings.ReadNumber("MainLeft"), std::nullopt);

  backend.values = {{"ShowSplash", "0"}, {"ShowCPU", "1"}, {"MainLeft", "9360"}};
  EXPECT_FALSE(settings.IsOn("ShowSplash", true));
  EXPECT_TRUE(settings.IsOn("ShowCPU"));
  EXPECT_EQ(settings.ReadNumber("MainLeft"), 9360.0);
}

TEST_F(SettingsTest, DefinedMeansExactlyYes) {
  EXPECT_FALSE(settings.IsDefined());
  for (const char* text : {"yes", "YES", "Yes ", "1"}) {
    backend.values["Defined"] = text;
    EXPECT_FALSE(settings.IsDefined()) << text;
  }
  backend.values["Defined"] = "Yes";
  EXPECT_TRUE(settings.IsDefined());
}

TEST_F(SettingsTest, WritesReachTheSettingsSectionAndReportRefusal) {
  EXPECT_TRUE(settings.Write("ShowCdrive", "1"));
  EXPECT_EQ(backend.values.at("ShowCdrive"), "1");
  EXPECT_TRUE(settings.IsOn("ShowCdrive"));
  backend.refuseWrites = true;
  EXPECT_FALSE(settings.Write("ShowCdrive", "0"));
  EXPECT_TRUE(settings.IsOn("ShowCdrive"));
}

}  // namespace
}  // namespace sysvane
