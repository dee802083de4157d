// The user's number conventions, as the user-interface runtime reports them.
#pragma once

#include <string>

namespace sysvane {

struct LocaleInfo {
  std::string thousandsSeparator = ",";
  std::string decimalSeparator = ".";
};

}  // namespace sysvane
