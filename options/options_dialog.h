// Options: the dialog that chooses the statistics and the start-up behaviour, with live preview
// bars and the System page.
#pragma once

#include "platform/forms.h"

namespace sysvane {

class Program;

class Options : public forms::Form {
 public:
  explicit Options(Program& program);

  forms::TabStrip SSTab1{*this, "SSTab1"};
  forms::ControlArray<forms::CheckBox> Check0{*this, "Check0"};  // start-up choices, page 0
  forms::ControlArray<forms::CheckBox> Check1{*this, "Check1"};  // statistic choices, page 1

 private:
  Program& program_;
};

}  // namespace sysvane
