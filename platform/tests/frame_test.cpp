// The window manager's frame: a window keeps the client area its layout was drawn for, and the
// outer size it reads back is the real one.
#include <gtest/gtest.h>

#include "platform/fake/fake_forms.h"

namespace sysvane::forms {
namespace {

class Window : public Form {
 public:
  Window(Runtime& runtime, bool titled) : Form(runtime, "Window") {
    SetCaption(titled ? " Sysvane" : "");
    SetControlBox(titled);
    SetClientSize(4020, 1200);
  }
};

TEST(FrameTest, TheClientAreaStaysAndTheOuterSizeFollowsTheRealFrame) {
  const FrameExtents xfwm4{75, 435, 75, 75}, none{}, themed{105, 480, 105, 105};
  for (const FrameExtents& frame : {xfwm4, none, kDesignFrame}) {
    fake::FakeRuntime runtime;
    Window titled(runtime, true);
    titled.NotifyFrame(frame);
    EXPECT_EQ(titled.ScaleHeight(), 1200);
    EXPECT_EQ(titled.Height(), 1200 + frame.top + frame.bottom);
    titled.Move(600, 900, titled.Width(), titled.Height());
    EXPECT_EQ(titled.ScaleWidth(), 4020) << "a size read back is no change";
    titled.SetHeight(870);  // a layout's outer height, drawn around the usual frame
    EXPECT_EQ(titled.ScaleHeight(), 870 - kDesignFrame.top - kDesignFrame.bottom);
    EXPECT_EQ(Window(runtime, true).Frame(), frame) << "a window not yet shown expects the last frame seen";
    titled.NotifyFrame(themed);
    EXPECT_EQ(titled.Height(), titled.ScaleHeight() + themed.top + themed.bottom)
        << "a new frame is followed";
    fake::FakeRuntime first;  // no frame seen yet: one is guessed
    Window atBottom(first, true);
    atBottom.Move(0, 15600 - atBottom.Height(), atBottom.Width(), atBottom.Height());
    atBottom.NotifyFrame(frame);
    EXPECT_EQ(atBottom.Top() + atBottom.Height(), 15600) << "against the work area's bottom it stays";
  }
}

}  // namespace
}  // namespace sysvane::forms
