#include "monitor/display.h"

#include "shell/program.h"

namespace sysvane {

Display::Display(Program& program) : forms::Form(program.runtime(), "Display"), program_(program) {}

}  // namespace sysvane
