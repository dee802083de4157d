#pragma once

#include "platform/forms.h"

namespace sysvane {

class Program;

class DetailDisplay : public forms::Form {
 public:
  explicit DetailDisplay(Program& program);

 private:
  Program& program_;
};

}  // namespace sysvane
