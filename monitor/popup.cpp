#include "monitor/popup.h"

#include "shell/program.h"

namespace sysvane {

Popup::Popup(Program& program) : forms::Form(program.runtime(), "Popup"), program_(program) {}

}  // namespace sysvane
