#include "platform/linux/process_count.h"

#include <dirent.h>

#include "platform/linux/kept_open_file.h"
#include "platform/linux/proc_parsers.h"

namespace sysvane {

namespace {

bool IsProcessId(const char* name) {
  if (*name == '\0') return false;
  for (; *name != '\0'; ++name) {
    if (*name < '0' || *name > '9') return false;
  }
  return true;
}

// Threads of one process: field 20 of its stat file, else the "Threads:" line of its status.
std::optional<uint32_t> ThreadsOf(const std::string& processFolder, std::string& text) {
  if (ReadWholeFile(processFolder + "/stat", text)) {
    if (auto threads = ParseProcessThreads(text)) return threads;
  }
  if (!ReadWholeFile(processFolder + "/status", text)) return std::nullopt;
  constexpr std::string_view kKey = "Threads:";
  const size_t at = text.find(kKey);
  if (at == std::string::npos) return std::nullopt;
  const size_t end = text.find('\n', at);
  const auto threads = ParseUnsigned(std::string_view(text).substr(at + kKey.size(), end - at - kKey.size()));
  if (!threads || *threads > UINT32_MAX) return std::nullopt;
  return static_cast<uint32_t>(*threads);
}

}  // namespace

std::optional<Kernel::ProcessCounts> CountProcessesIn(const std::string& procFolder) {
  DIR* dir = opendir(procFolder.c_str());
  if (dir == nullptr) return std::nullopt;
  Kernel::ProcessCounts counts;
  std::string text;
  while (const dirent* entry = readdir(dir)) {
    if (!IsProcessId(entry->d_name)) continue;
    const auto threads = ThreadsOf(procFolder + "/" + entry->d_name, text);
    if (!threads) continue;
    ++counts.processes;
    counts.threads += *threads;
  }
  closedir(dir);
  return counts;
}

}  // namespace sysvane
