// The roll-up window's text lines: which statistics get one, and their texts every 900 ms.
#include <algorithm>
#include <cctype>

#include "monitor/popup.h"
#include "shell/menu.h"
#include "shell/program.h"
#include "stats/format.h"

namespace sysvane {

namespace {

struct FixedLine {
  const char* key;
  const char* setting;
  bool resources;  // the Windows 95 family only
};
constexpr FixedLine kFixedLines[] = {
    {"CPU", "ShowCPU", false},         {"PMem", "ShowPhysMem", false}, {"VMem", "ShowVirtMem", false},
    {"SRsrc", "ShowSysRsrc", true},    {"GRsrc", "ShowGDIRsrc", true}, {"URsrc", "ShowUserRsrc", true},
    {"Battery", "ShowBattery", false}, {"C:", "ShowCdrive", false},
};

constexpr forms::Twips kLineSpacing = 210;
constexpr forms::Twips kHeightBelowLastLine = 285;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

void Popup::PrepareStatLines() {
  StatCount = 0;
  NothingToShow = false;
  StatKeys.clear();
  SystemInfoModule& info = program_.info;
  for (const FixedLine& line : kFixedLines) {
    if (line.resources && info.WindowsFamily != 95) continue;
    if (!program_.settings.IsOn(line.setting)) continue;
    StatKeys.push_back(line.key);
  }
  info.ListFixedDrives();
  for (int i = 0; i < info.FixedDriveCount && i < int(info.FixedDrives.size()); ++i) {
    const std::string& root = info.FixedDrives[i];
    if (program_.settings.IsOn(DriveKey(root))) StatKeys.push_back(Upper(root.substr(0, 2)));
  }
  StatCount = int(StatKeys.size());
  if (StatCount == 0) {
    NothingToShow = true;
    return;
  }
  for (int k = 1; k < StatCount; ++k) {
    if (!Stat.Load(k)) continue;
    Stat[k].SetTop(Stat[k - 1].Top() + kLineSpacing);
    Stat[k].SetVisible(true);
  }
  FullHeight = int(RoundHalfEven(Stat[Stat.UBound()].Top() + kHeightBelowLastLine));
}

void Popup::RefreshStatLines() {
  program_.info.RefreshMemoryAndPower();
  for (int i = 0; i < StatCount && Stat.Exists(i); ++i) {
    if (const auto text = LineText(StatKeys[i])) Stat[i].SetCaption(*text);
  }
}

std::optional<std::string> Popup::LineText(const std::string& key) {
  SystemInfoModule& info = program_.info;
  const MEMORYSTATUS& memory = info.MemStatus;
  if (key == "CPU") {
    if (!CPUMeter) return std::nullopt;
    const int32_t percent = CPUMeter->Query();
    return "CPU: " + FormatPercent(percent == -1 ? 0 : percent);  // -1: the sampler could not tell
  }
  if (key == "PMem" || key == "VMem") {
    const bool physical = key == "PMem";
    const auto percent = physical ? UsedPercent(memory.dwTotalPhys, memory.dwAvailPhys)
                                  : UsedPercent(memory.dwTotalVirtual, memory.dwAvailVirtual);
    if (!percent) return std::nullopt;
    return (physical ? "Physical memory: " : "Virtual memory: ") + FormatPercent(*percent);
  }
  if (key == "SRsrc") return "System resources: " + FormatPercent(info.FreeResources(0));
  if (key == "GRsrc") return "GDI resources: " + FormatPercent(info.FreeResources(1));
  if (key == "URsrc") return "User resources: " + FormatPercent(info.FreeResources(2));
  if (key == "Battery") return BatteryLine();
  return DriveLine(key);
}

std::optional<std::string> Popup::BatteryLine() {
  if (!program_.menu().HasBattery) return std::nullopt;
  const BatteryState battery = ClassifyBattery(program_.info.PowerStatus);
  if (!battery.present) return std::nullopt;
  const char* label = "Battery: ";
  if (battery.kind == BatteryState::Kind::Unplugged) label = "Battery (unplugged): ";
  if (battery.kind == BatteryState::Kind::Charging) label = "Battery (charging): ";
  return label + FormatBatteryPercent(battery.percent);
}

// A drive line asks about the drive its key names ("D:" is d:\), whatever the shared list holds now.
std::optional<std::string> Popup::DriveLine(const std::string& key) {
  if (key.size() != 2 || key[1] != ':') return std::nullopt;
  const auto space = program_.info.DiskFreeSpace(Lower(key) + "\\");
  if (!space) return std::nullopt;
  const auto percent = UsedPercent(space->TotalNumberOfBytes, space->FreeBytesAvailableToCaller);
  if (!percent) return std::nullopt;
  return key + " drive usage: " + FormatPercent(*percent);
}

}  // namespace sysvane
