#pragma once

#include "platform/forms.h"

namespace sysvane {

class Program;

class frmAbout : public forms::Form {
 public:
  explicit frmAbout(Program& program);

 private:
  Program& program_;
};

}  // namespace sysvane
