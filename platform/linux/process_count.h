// The process snapshot of Linux: every numeric folder of /proc is a process.
#pragma once

#include <optional>
#include <string>

#include "platform/kernel.h"

namespace sysvane {

// Processes and the sum of their threads below a proc folder; nullopt when it cannot be listed.
// A process that ends while it is being counted is left out.
std::optional<Kernel::ProcessCounts> CountProcessesIn(const std::string& procFolder);

}  // namespace sysvane
