#pragma once

#include "platform/forms.h"

namespace sysvane {

class Program;

class Display : public forms::Form {
 public:
  explicit Display(Program& program);

 private:
  Program& program_;
};

}  // namespace sysvane
