#pragma once

#include "platform/forms.h"

namespace sysvane {

class Program;

class Logo : public forms::Form {
 public:
  explicit Logo(Program& program);

 private:
  Program& program_;
};

}  // namespace sysvane
