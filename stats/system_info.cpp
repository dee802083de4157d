#include "stats/system_info.h"

namespace sysvane {

SystemInfoModule::SystemInfoModule(Kernel& kernel, ProcessorLibrary& processor, ResourceMeter& resources)
    : kernel_(kernel), processor_(processor), resources_(resources) {}

}  // namespace sysvane
