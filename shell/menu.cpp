#include "shell/menu.h"

#include "shell/program.h"

namespace sysvane {

Menu::Menu(Program& program) : forms::Form(program.runtime(), "Menu"), program_(program) {}

Menu::~Menu() = default;

}  // namespace sysvane
