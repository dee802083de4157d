#include "platform/linux/power.h"

#include <dirent.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <initializer_list>
#include <string_view>

#include "stats/format.h"

namespace sysvane {

namespace {

constexpr uint64_t kSecondsPerHour = 3600;

std::optional<uint64_t> UnsignedField(const UeventFields& fields, std::string_view key) {
  const auto value = FindUevent(fields, key);
  if (!value) return std::nullopt;
  // Some drivers report the discharge rate as a negative number. The magnitude is taken in
  // unsigned arithmetic: the most negative number has no positive counterpart to negate into.
  const auto number = ParseSigned(*value);
  if (!number) return std::nullopt;
  const auto bits = static_cast<uint64_t>(*number);
  return *number < 0 ? 0 - bits : bits;
}

std::optional<bool> FlagField(const UeventFields& fields, std::string_view key) {
  const auto number = UnsignedField(fields, key);
  if (!number) return std::nullopt;
  return *number != 0;
}

bool IsLinePower(const PowerSupplyReading& supply) {
  return supply.scope != "Device" && (supply.type == "Mains" || supply.type.starts_with("USB"));
}

bool IsSystemBattery(const PowerSupplyReading& supply) {
  return supply.type == "Battery" && supply.scope != "Device" && supply.present.value_or(true);
}

// Seconds to drain `amount` at `rate` per hour, rounded; unknown when it does not fit. Whole hours
// first, then the rest of an hour, so that wild figures cannot overflow the product into a
// short time.
uint32_t HoursToSeconds(uint64_t amount, uint64_t rate) {
  const uint64_t hours = amount / rate;
  if (hours > BATTERY_LIFE_UNKNOWN / kSecondsPerHour) return BATTERY_LIFE_UNKNOWN;
  const uint64_t rest = amount % rate;
  const uint64_t restSeconds =
      rate <= UINT64_MAX / (2 * kSecondsPerHour)
          ? (rest * kSecondsPerHour + rate / 2) / rate
          : static_cast<uint64_t>(std::llround(static_cast<long double>(rest) * kSecondsPerHour / rate));
  const uint64_t seconds = hours * kSecondsPerHour + restSeconds;
  return seconds >= BATTERY_LIFE_UNKNOWN ? BATTERY_LIFE_UNKNOWN : static_cast<uint32_t>(seconds);
}

// The combined figures of the system batteries, by energy when every battery tells its energy,
// else by charge when every battery tells its charge.
struct Combined {
  uint64_t now = 0;
  uint64_t full = 0;
  std::optional<uint64_t> rate;
};
std::optional<Combined> CombineBatteries(const std::vector<const PowerSupplyReading*>& batteries) {
  const bool energy =
      std::all_of(batteries.begin(), batteries.end(), [](auto* b) { return b->energyNow && b->energyFull; });
  const bool charge =
      std::all_of(batteries.begin(), batteries.end(), [](auto* b) { return b->chargeNow && b->chargeFull; });
  if (!energy && !charge) return std::nullopt;
  Combined combined;
  combined.rate = 0;
  for (const PowerSupplyReading* battery : batteries) {
    combined.now += energy ? *battery->energyNow : *battery->chargeNow;
    combined.full += energy ? *battery->energyFull : *battery->chargeFull;
    const auto& rate = energy ? battery->powerNow : battery->currentNow;
    if (rate && combined.rate) {
      *combined.rate += *rate;
    } else {
      combined.rate.reset();
    }
  }
  return combined;
}

std::optional<int> BatteryPercent(const std::vector<const PowerSupplyReading*>& batteries,
                                  const std::optional<Combined>& combined) {
  if (combined && combined->full > 0) {
    const double percent = 100.0 * static_cast<double>(combined->now) / static_cast<double>(combined->full);
    // Capped before the conversion: a wild charge (far above the full one) does not fit an int.
    return static_cast<int>(std::min(100.0, RoundHalfEven(percent)));
  }
  // No energy or charge figures: the mean of what each battery says of itself.
  uint64_t sum = 0;
  for (const PowerSupplyReading* battery : batteries) {
    if (!battery->capacity) return std::nullopt;
    sum += std::min<uint64_t>(*battery->capacity, 100);
  }
  return static_cast<int>(RoundHalfEven(static_cast<double>(sum) / static_cast<double>(batteries.size())));
}

}  // namespace

PowerSupplyReading ReadingFromUevent(const UeventFields& fields) {
  PowerSupplyReading reading;
  reading.type = FindUevent(fields, "POWER_SUPPLY_TYPE").value_or("");
  reading.scope = FindUevent(fields, "POWER_SUPPLY_SCOPE").value_or("");
  reading.status = FindUevent(fields, "POWER_SUPPLY_STATUS").value_or("");
  reading.online = FlagField(fields, "POWER_SUPPLY_ONLINE");
  reading.present = FlagField(fields, "POWER_SUPPLY_PRESENT");
  reading.energyNow = UnsignedField(fields, "POWER_SUPPLY_ENERGY_NOW");
  reading.energyFull = UnsignedField(fields, "POWER_SUPPLY_ENERGY_FULL");
  reading.powerNow = UnsignedField(fields, "POWER_SUPPLY_POWER_NOW");
  reading.chargeNow = UnsignedField(fields, "POWER_SUPPLY_CHARGE_NOW");
  reading.chargeFull = UnsignedField(fields, "POWER_SUPPLY_CHARGE_FULL");
  reading.currentNow = UnsignedField(fields, "POWER_SUPPLY_CURRENT_NOW");
  reading.capacity = UnsignedField(fields, "POWER_SUPPLY_CAPACITY");
  return reading;
}

SYSTEM_POWER_STATUS ComputePowerStatus(const std::vector<PowerSupplyReading>& supplies) {
  SYSTEM_POWER_STATUS status;
  status.BatteryLifeTime = BATTERY_LIFE_UNKNOWN;
  status.BatteryFullLifeTime = BATTERY_LIFE_UNKNOWN;

  std::vector<const PowerSupplyReading*> batteries;
  bool lineOnline = false;
  for (const PowerSupplyReading& supply : supplies) {
    if (IsLinePower(supply) && supply.online.value_or(false)) lineOnline = true;
    if (IsSystemBattery(supply)) batteries.push_back(&supply);
  }
  const auto anyStatus = [&](std::initializer_list<std::string_view> states) {
    return std::any_of(batteries.begin(), batteries.end(), [&](auto* b) {
      return std::find(states.begin(), states.end(), b->status) != states.end();
    });
  };
  const bool charging = anyStatus({"Charging"});
  const bool adapter = std::any_of(supplies.begin(), supplies.end(), IsLinePower);

  // A charging battery proves the machine is on external power even when no adapter says so.
  if (lineOnline || charging || (!adapter && anyStatus({"Full", "Not charging"}))) {
    status.ACLineStatus = AC_LINE_ONLINE;
  } else if (!batteries.empty() && (adapter || anyStatus({"Discharging"}))) {
    status.ACLineStatus = AC_LINE_OFFLINE;
  } else {
    status.ACLineStatus = AC_LINE_UNKNOWN;  // a desktop's USB ports may say offline: that tells nothing
  }

  if (batteries.empty()) {
    status.BatteryFlag = BATTERY_FLAG_NO_BATTERY;
    status.BatteryLifePercent = BATTERY_PERCENTAGE_UNKNOWN;
    return status;
  }

  const auto combined = CombineBatteries(batteries);
  const auto percent = BatteryPercent(batteries, combined);
  if (!percent) {
    status.BatteryFlag = BATTERY_FLAG_UNKNOWN;
    status.BatteryLifePercent = BATTERY_PERCENTAGE_UNKNOWN;
    return status;
  }
  status.BatteryLifePercent = static_cast<uint8_t>(*percent);
  uint8_t flag = 0;
  if (*percent > 66) flag |= BATTERY_FLAG_HIGH;
  if (*percent < 33) flag |= BATTERY_FLAG_LOW;
  if (*percent < 5) flag |= BATTERY_FLAG_CRITICAL;
  if (charging) flag |= BATTERY_FLAG_CHARGING;
  status.BatteryFlag = flag;

  if (status.ACLineStatus == AC_LINE_OFFLINE && combined && combined->rate && *combined->rate > 0) {
    status.BatteryLifeTime = HoursToSeconds(combined->now, *combined->rate);
    status.BatteryFullLifeTime = HoursToSeconds(combined->full, *combined->rate);
  }
  return status;
}

SYSTEM_POWER_STATUS PowerSupplies::Read(uint64_t nowMs) {
  if (!lastScanMs_ || nowMs - *lastScanMs_ >= kRescanMs) Scan(nowMs);
  // A supply that vanished (undocked) cannot be read: look at the folder again at once.
  if (!ReadAll()) {
    Scan(nowMs);
    ReadAll();
  }
  return ComputePowerStatus(readings_);
}

void PowerSupplies::Scan(uint64_t nowMs) {
  lastScanMs_ = nowMs;
  supplies_.clear();
  DIR* dir = opendir(folder_.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> names;
  while (const dirent* entry = readdir(dir)) {
    if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    const std::string path = folder_ + "/" + name;
    supplies_.push_back({path, KeptOpenFile(path + "/uevent"), {}});
  }
}

bool PowerSupplies::ReadAll() {
  readings_.resize(supplies_.size());
  size_t read = 0;
  bool all = true;
  for (Supply& supply : supplies_) {
    if (ReadSupply(supply, readings_[read])) {
      ++read;
    } else {
      all = false;
    }
  }
  readings_.resize(read);
  return all;
}

bool PowerSupplies::ReadSupply(Supply& supply, PowerSupplyReading& reading) {
  if (!supply.uevent.Read(text_)) {
    // A driver without a uevent file: the same facts from one file each.
    static constexpr const char* kAttributes[] = {"type",       "scope",       "status",      "online",
                                                  "present",    "energy_now",  "energy_full", "power_now",
                                                  "charge_now", "charge_full", "current_now", "capacity"};
    std::string composed, value;
    for (const char* attribute : kAttributes) {
      if (!ReadWholeFile(supply.path + "/" + attribute, value)) continue;
      std::string key = attribute;
      std::transform(key.begin(), key.end(), key.begin(),
                     [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
      composed += "POWER_SUPPLY_" + key + "=" + std::string(Trim(value)) + "\n";
    }
    if (composed.empty()) return false;
    text_ = std::move(composed);
  }
  reading = ReadingFromUevent(ParseUevent(text_));
  if (reading.type.empty()) {
    if (supply.type.empty() && ReadWholeFile(supply.path + "/type", supply.type)) {
      supply.type = std::string(Trim(supply.type));
    }
    reading.type = supply.type;
  }
  return true;
}

}  // namespace sysvane
