#include "stats/system_info.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace sysvane {

namespace {

constexpr uint32_t kOsVersionInfoSize = 148;
constexpr uint32_t kMemoryStatusLength = 32;
constexpr size_t kDriveBufferSize = 2048;
constexpr size_t kDriveBufferLength = 2047;
constexpr size_t kProcessorBufferSize = 255;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The leading number of a text the way the speed texts were always read: leading spaces
// skipped, an optional sign, digits with at most one point, an optional exponent; reading stops
// at the first character that cannot continue the number, and no number at all is 0.
double LeadingNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::string number;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') number += '-';
    ++i;
  }
  bool digits = false;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
    number += c;
  }
  if (!digits) return 0.0;
  // An exponent counts only when digits follow it ("2E3" is 2000; the "E" of "2Eh" is not).
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
    const size_t first = j;
    while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) exponent += text[j++];
    if (j > first) number += exponent;
  }
  double value = 0.0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec != std::errc()) return 0.0;  // out of range
  return value;
}

// Rounds a speed up to the next multiple of 10 unless it already rounds to one.
float RoundUpToTen(float speed) {
  const double n = RoundHalfEven(static_cast<double>(speed));
  if (!std::isfinite(n) || std::fabs(n) > 1e15) return speed;  // no sensible speed: leave it
  const auto whole = static_cast<int64_t>(n);
  if (whole % 10 > 0) return static_cast<float>((whole / 10 + 1) * 10);
  return speed;
}

std::string FormatWhole(double value) {
  char text[400];
  std::snprintf(text, sizeof text, "%.0f", RoundHalfEven(value));
  return text;
}

}  // namespace

SystemInfoModule::SystemInfoModule(Kernel& kernel, ProcessorLibrary& processor, ResourceMeter& resources)
    : kernel_(kernel), processor_(processor), resources_(resources) {}

void SystemInfoModule::ListFixedDrives() {
  FixedDriveCount = 0;
  FixedDrives.clear();

  std::string buffer(kDriveBufferSize, '\0');
  const std::string roots = kernel_.GetLogicalDriveStrings();
  // A list that does not fit is not written at all, as with a too short buffer.
  if (roots.size() <= kDriveBufferLength) std::copy(roots.begin(), roots.end(), buffer.begin());

  for (;;) {
    const size_t end = buffer.find('\0');
    if (end == 0 || end == std::string::npos) break;
    const std::string root = Lower(buffer.substr(0, end));
    // Drive C is always its own statistic, so it never enters the list.
    if (kernel_.GetDriveType(root) == DRIVE_FIXED && root != "c:\\") {
      FixedDrives.push_back(root);
      ++FixedDriveCount;
    }
    buffer.erase(0, end + 1);
  }
}

void SystemInfoModule::RefreshMemoryAndPower() {
  // A failed call leaves the last sample in place: the windows go on showing it.
  MemStatus.dwLength = kMemoryStatusLength;
  kernel_.GlobalMemoryStatus(MemStatus);
  kernel_.GetSystemPowerStatus(PowerStatus);
}

bool SystemInfoModule::IsWindowsNT() {
  OSVERSIONINFO info;
  info.dwOSVersionInfoSize = kOsVersionInfoSize;
  if (!kernel_.GetVersionEx(info)) return false;
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

int16_t SystemInfoModule::GetWindowsVersionCode() {
  OSVERSIONINFO info;
  info.dwOSVersionInfoSize = kOsVersionInfoSize;
  if (!kernel_.GetVersionEx(info)) return 0;
  const uint32_t platform = info.dwPlatformId;
  const uint32_t major = info.dwMajorVersion;
  const uint32_t minor = info.dwMinorVersion;
  if (platform == VER_PLATFORM_WIN32_WINDOWS && major == 4 && minor == 0) return 3;   // Windows 95
  if (platform == VER_PLATFORM_WIN32_WINDOWS && major == 4 && minor == 10) return 4;  // Windows 98
  if (platform == VER_PLATFORM_WIN32_NT && major == 3 && minor == 51) return 1;       // NT 3.51
  if (platform == VER_PLATFORM_WIN32_NT && major == 4 && minor == 0) return 2;        // NT 4.0
  return 0;
}

void SystemInfoModule::CountProcessesAndThreads() {
  ProcessCount = 0;
  ThreadCount = 0;
  const auto counts = kernel_.CountProcesses();
  if (!counts) return;
  ProcessCount = counts->processes;
  ThreadCount = counts->threads;
}

std::string SystemInfoModule::GetProcessorDescription(const LocaleInfo& locale) {
  std::string first(kProcessorBufferSize, '\0');
  std::string second(kProcessorBufferSize, '\0');
  std::string third(kProcessorBufferSize, '\0');
  std::string fourth(kProcessorBufferSize, '\0');
  processor_.GetProcessor(first, second, third);
  processor_.GetProcessorRawSpeed(fourth);
  first = TrimAtNull(first);
  fourth = TrimAtNull(fourth);

  // The library may append a quoted nickname after a space: the name is what comes before.
  std::string name = first;
  const size_t quote = first.find('"');
  if (quote != std::string::npos) name = quote == 0 ? "" : first.substr(0, quote - 1);

  const size_t mega = fourth.find('M');
  const size_t giga = mega == std::string::npos ? fourth.find('G') : std::string::npos;
  if (mega == std::string::npos && giga == std::string::npos) return name;

  float speed = 0;
  if (mega != std::string::npos) {
    speed = static_cast<float>(LeadingNumber(fourth.substr(0, mega)));
  } else {
    speed = static_cast<float>(LeadingNumber(fourth.substr(0, giga)) * 100.0);  // hundredths of GHz
  }
  speed = RoundUpToTen(speed);

  if (giga != std::string::npos) return name + " (" + FormatFixed2(speed / 100.0, locale) + " GHz)";
  if (speed >= 1000) return name + " (" + FormatFixed2(speed / 1000.0, locale) + " GHz)";
  return name + " (" + FormatWhole(speed) + " MHz)";
}

int16_t SystemInfoModule::FreeResources(int kind) {
  return static_cast<int16_t>(resources_.MyGetFreeSystemResources32(kind));
}

std::optional<DiskSpace> SystemInfoModule::DiskFreeSpace(const std::string& root) {
  return kernel_.GetDiskFreeSpaceEx(root);
}

std::string TrimAtNull(const std::string& text) {
  const size_t end = text.find('\0');
  return end == std::string::npos ? text : text.substr(0, end);
}

std::string WindowsVersionName(const OSVERSIONINFO& info) {
  const uint32_t build = info.dwBuildNumber & 0xFFFF;
  switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
      return "WIN32S";
    case VER_PLATFORM_WIN32_WINDOWS:
      if (build >= 3000) return "Windows ME";
      if (build >= 1998) return "Windows 98";
      return "Windows 95";
    case VER_PLATFORM_WIN32_NT:
      // Version 5.1 and 5.2 are XP whatever the build: XP itself reports build 2600.
      if (info.dwMajorVersion == 5 && (info.dwMinorVersion == 1 || info.dwMinorVersion == 2)) {
        return "Windows XP";
      }
      // Later systems by their version: by build alone every one of them would read "Windows XP".
      if (info.dwMajorVersion >= 10) return build >= 22000 ? "Windows 11" : "Windows 10";
      if (info.dwMajorVersion == 6) {
        static constexpr const char* kSixes[] = {"Windows Vista", "Windows 7", "Windows 8", "Windows 8.1"};
        return kSixes[std::min<uint32_t>(info.dwMinorVersion, 3)];
      }
      if (build >= 3000) return "Windows XP";
      if (build >= 2000) return "Windows 2000";
      return "Windows NT";
    default:
      return "";
  }
}

std::string WindowsVersionLine(const OSVERSIONINFO& info) {
  return "Version " + std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) +
         " Build " + std::to_string(info.dwBuildNumber & 0xFFFF);
}

}  // namespace sysvane
