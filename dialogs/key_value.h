// Reading one value of the registry as text, the way the About box finds the system information
// program.
#pragma once

#include <string>

#include "platform/registry.h"

namespace sysvane {

// KeyVal receives the value named SubKeyRef of the key KeyName under KeyRoot: a string without
// its terminating NUL, a 32-bit number as decimal text; any other type leaves it as it was.
// False (and KeyVal empty) when the key cannot be opened or the value read.
bool GetKeyValue(Registry& registry, HKEY KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                 std::string& KeyVal);

}  // namespace sysvane
