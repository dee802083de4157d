#include "dialogs/about.h"

#include "shell/program.h"

namespace sysvane {

frmAbout::frmAbout(Program& program) : forms::Form(program.runtime(), "frmAbout"), program_(program) {}

}  // namespace sysvane
