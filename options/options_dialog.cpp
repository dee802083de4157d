#include "options/options_dialog.h"

#include "shell/program.h"

namespace sysvane {

Options::Options(Program& program) : forms::Form(program.runtime(), "Options"), program_(program) {}

}  // namespace sysvane
