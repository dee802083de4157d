// Power status from the kernel's power-supply class (sys/class/power_supply): the mains adapter
// and the machine's own batteries, combined into the Windows power record.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/kernel.h"
#include "platform/linux/kept_open_file.h"
#include "platform/linux/proc_parsers.h"

namespace sysvane {

// What one supply says about itself; a field the supply does not publish stays empty.
struct PowerSupplyReading {
  std::string type;    // "Mains", "USB", "Battery" ...
  std::string scope;   // "Device" for a peripheral's own battery (a mouse), else "System" or empty
  std::string status;  // "Charging", "Discharging", "Full", "Not charging", "Unknown"
  std::optional<bool> online;
  std::optional<bool> present;
  std::optional<uint64_t> energyNow, energyFull, powerNow;    // µWh, µWh, µW
  std::optional<uint64_t> chargeNow, chargeFull, currentNow;  // µAh, µAh, µA
  std::optional<uint64_t> capacity;                           // percent
};
PowerSupplyReading ReadingFromUevent(const UeventFields& fields);

// The Windows power record for a set of supplies: the line status, and the system batteries
// summed by energy (or charge) into one charge, one flag set and the times left and of a full charge.
// The line is online when an adapter says so or a battery charges; with no adapter at all, a
// battery that is full or not charging is on external power too, one that discharges is not, and
// one that tells nothing leaves the line unknown.
SYSTEM_POWER_STATUS ComputePowerStatus(const std::vector<PowerSupplyReading>& supplies);

// Reads every supply of a power-supply folder. The folder's layout is cached and scanned again
// every ten seconds, or at once when a supply cannot be read, so that batteries that come and go
// (docking) are noticed.
class PowerSupplies {
 public:
  static constexpr uint64_t kRescanMs = 10'000;

  explicit PowerSupplies(std::string folder) : folder_(std::move(folder)) {}
  // The current status; `nowMs` is a monotonic time that decides when to scan again.
  SYSTEM_POWER_STATUS Read(uint64_t nowMs);

 private:
  struct Supply {
    std::string path;
    KeptOpenFile uevent;
    std::string type;  // from the "type" file, for kernels before 5.8 whose uevent lacks it
  };
  void Scan(uint64_t nowMs);
  bool ReadAll();
  bool ReadSupply(Supply& supply, PowerSupplyReading& reading);

  std::string folder_;
  std::vector<Supply> supplies_;
  std::optional<uint64_t> lastScanMs_;
  std::vector<PowerSupplyReading> readings_;
  std::string text_;
};

}  // namespace sysvane
