// The test main of every test executable. Test discovery runs the binaries at build time, often
// without a display: Qt's offscreen platform stands in unless the caller chose another.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
