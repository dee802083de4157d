#pragma once

#include "platform/forms.h"

namespace sysvane {

class Program;

class Popup : public forms::Form {
 public:
  explicit Popup(Program& program);

 private:
  Program& program_;
};

}  // namespace sysvane
