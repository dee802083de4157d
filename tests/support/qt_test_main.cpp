// The test main of the Qt runtime's tests: one QApplication for every test, on Qt's offscreen
// platform unless the caller chose another. The platform is chosen before the application
// exists, because test discovery runs the binary at build time, often without a display.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
