#include "monitor/detail_display.h"

#include "shell/program.h"

namespace sysvane {

DetailDisplay::DetailDisplay(Program& program)
    : forms::Form(program.runtime(), "DetailDisplay"), program_(program) {}

}  // namespace sysvane
