#include "platform/windows/windows_outside.h"

#include "platform/windows/win32.h"

#include <algorithm>

#include "platform/windows/windows_registry.h"

namespace sysvane::windows {

namespace {

// Writes `text` over the start of a NUL-filled buffer without growing it; a NUL stays after it.
void WriteIntoBuffer(std::string& buffer, const std::string& text) {
  if (buffer.empty()) return;
  const size_t length = std::min(text.size(), buffer.size() - 1);
  std::copy_n(text.begin(), length, buffer.begin());
  buffer[length] = '\0';
}

}  // namespace

void WindowsProcessorLibrary::GetProcessor(std::string& name, std::string&, std::string&) {
  const auto text =
      ReadRegistryString(SystemRoot(HKEY_LOCAL_MACHINE), kCentralProcessorKey, "ProcessorNameString");
  if (!text) return;
  const size_t first = text->find_first_not_of(' ');
  if (first == std::string::npos) return;
  WriteIntoBuffer(name, text->substr(first, text->find_last_not_of(' ') - first + 1));
}

void WindowsProcessorLibrary::GetProcessorRawSpeed(std::string& speed) {
  const auto megahertz = ReadRegistryNumber(SystemRoot(HKEY_LOCAL_MACHINE), kCentralProcessorKey, "~MHz");
  if (megahertz && *megahertz > 0) WriteIntoBuffer(speed, std::to_string(*megahertz) + "M");
}

}  // namespace sysvane::windows
