#pragma once

#include "platform/forms.h"

namespace sysvane {

class Program;

class Menu : public forms::Form {
 public:
  explicit Menu(Program& program);

 private:
  Program& program_;
};

}  // namespace sysvane
