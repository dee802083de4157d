// The standard message box on QMessageBox: the style word chooses the buttons (low four bits),
// the icon (16 stop, 32 question, 48 exclamation, 64 information) and the default button
// (256 the second, 512 the third); the answer is the code of the button pressed (vbOK ... vbNo).
#pragma once

#include <string>

namespace sysvane::qt {

int ShowStandardMessageBox(const std::string& prompt, int style, const std::string& title);

}  // namespace sysvane::qt
