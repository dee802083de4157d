#include "dialogs/message_box.h"

#include "shell/program.h"

namespace sysvane {

MessageBox::MessageBox(Program& program) : forms::Form(program.runtime(), "MessageBox"), program_(program) {}

}  // namespace sysvane
