#pragma once

#include "platform/forms.h"

namespace sysvane {

class Program;

class MessageBox : public forms::Form {
 public:
  explicit MessageBox(Program& program);

 private:
  Program& program_;
};

}  // namespace sysvane
