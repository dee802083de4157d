#include "shell/logo.h"

#include "shell/program.h"

namespace sysvane {

Logo::Logo(Program& program) : forms::Form(program.runtime(), "Logo"), program_(program) {}

}  // namespace sysvane
