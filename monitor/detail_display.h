// DetailDisplay: the small light-yellow window that spells out the figures behind the Monitor
// window's hovered bar. It floats over the Monitor window without taking the focus from it.
#pragma once

#include <string>

#include "platform/forms.h"

namespace sysvane {

class Program;

class DetailDisplay : public forms::Form {
 public:
  explicit DetailDisplay(Program& program);

  forms::Label Label0{*this, "Label0"};  // title line, white on blue
  forms::Label Label1{*this, "Label1"};
  forms::Label Label2{*this, "Label2"};
  forms::Label Label3{*this, "Label3"};

  void SetLines(const std::string& title, const std::string& second, const std::string& third,
                const std::string& fourth);

 protected:
  void Design() override;
};

}  // namespace sysvane
