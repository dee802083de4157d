#pragma once

#include "platform/forms.h"

namespace sysvane {

class Program;

class Options : public forms::Form {
 public:
  explicit Options(Program& program);

 private:
  Program& program_;
};

}  // namespace sysvane
