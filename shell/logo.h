// Logo: the splash screen. A small rounded panel, centred on the screen, that shows the program's
// name and version while the start-up waits, and closes itself after three seconds.
#pragma once

#include <string>

#include "platform/forms.h"

namespace sysvane {

class Program;

class Logo : public forms::Form {
 public:
  explicit Logo(Program& program);

  forms::ControlArray<forms::Label> Label{*this, "Label"};  // elements 0, 2 and 3
  forms::Label Label1{*this, "Label1"};
  forms::Label Message{*this, "Message"};
  forms::Image Image2{*this, "Image2"};
  forms::Image Image1{*this, "Image1"};
  forms::Timer Timer1{*this, "Timer1"};

  static constexpr const char* kNotice = "\u00A9 2026 Quorvale. All rights reserved.";

  void Timer1_Timer();

 protected:
  void Design() override;
  void Form_Load() override;
  void Form_Activate() override;
};

// Cuts a window to a rectangle with corners rounded by a 40 x 40 pixel ellipse, computed from its
// outer size in pixels at the screen's own resolution.
void MakeRoundedWindow(forms::Form& window);

}  // namespace sysvane
