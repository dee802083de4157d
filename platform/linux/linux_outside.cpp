#include "platform/linux/linux_outside.h"

#include <algorithm>

#include "platform/linux/kept_open_file.h"
#include "platform/linux/proc_parsers.h"

namespace sysvane {

std::string KilohertzAsMegahertz(uint64_t kilohertz) {
  std::string text = std::to_string(kilohertz / 1000);
  if (const uint64_t rest = kilohertz % 1000; rest != 0) {
    std::string fraction = std::to_string(1000 + rest).substr(1);  // three digits, leading zeros kept
    while (fraction.back() == '0') fraction.pop_back();
    text += "." + fraction;
  }
  return text;
}

void WriteIntoBuffer(std::string& buffer, const std::string& text) {
  if (buffer.empty()) return;
  const size_t length = std::min(text.size(), buffer.size() - 1);
  std::copy_n(text.begin(), length, buffer.begin());
  buffer[length] = '\0';
}

void LinuxProcessorLibrary::GetProcessor(std::string& name, std::string&, std::string&) {
  std::string cpuinfo, deviceTree;
  if (!ReadWholeFile(JoinRoot(root_, "/proc/cpuinfo"), cpuinfo)) return;
  ReadWholeFile(JoinRoot(root_, "/proc/device-tree/model"), deviceTree);  // ARM boards only
  const std::string model = ParseProcessorName(cpuinfo, deviceTree);
  if (!model.empty()) WriteIntoBuffer(name, model);
}

void LinuxProcessorLibrary::GetProcessorRawSpeed(std::string& speed) {
  std::string text;
  // The highest speed the processor reaches, rather than the speed it idles at this moment.
  if (ReadWholeFile(JoinRoot(root_, "/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq"), text)) {
    if (const auto kilohertz = ParseUnsigned(text); kilohertz && *kilohertz > 0) {
      WriteIntoBuffer(speed, KilohertzAsMegahertz(*kilohertz) + "M");
      return;
    }
  }
  if (!ReadWholeFile(JoinRoot(root_, "/proc/cpuinfo"), text)) return;
  const std::string megahertz = ParseCpuinfoMHz(text);
  if (!megahertz.empty()) WriteIntoBuffer(speed, megahertz + "M");
}

}  // namespace sysvane
