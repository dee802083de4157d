// The program's message loop and the nested loop of a modal window. Keys reach the form first
// when its KeyPreview is on (or when the form itself has the focus), then the dialog keys work as
// in a dialog: Tab moves between controls, Enter presses the default button, Escape the cancel
// button.
#pragma once

#include <functional>

#include "platform/windows/forms/win_api.h"

namespace sysvane::win {

// Handles messages until `done` answers true or the program ends (WM_QUIT, which is kept for
// the loops outside). False when the program ended.
bool RunMessages(const std::function<bool()>& done);

}  // namespace sysvane::win
