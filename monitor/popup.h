// Popup: the roll-up window. A light-yellow panel that slides up above the notification area
// when the tray icon is clicked, shows one live line per selected statistic, stays five seconds
// and slides away again.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/forms.h"
#include "stats/cpu_usage.h"

namespace sysvane {

class Program;

class Popup : public forms::Form {
 public:
  explicit Popup(Program& program);
  ~Popup() override;

  static constexpr forms::Twips kStripHeight = 30;  // the 2-pixel strip it grows from
  static constexpr forms::Twips kStep = 15;         // one pixel per animation tick

  forms::ControlArray<forms::Label> Stat{*this, "Stat"};
  forms::Timer StatTimer{*this, "StatTimer"};
  forms::Timer RollupTimer{*this, "RollupTimer"};
  forms::Timer RolldownTimer{*this, "RolldownTimer"};
  forms::Timer UnloadTimer{*this, "UnloadTimer"};

  std::unique_ptr<CPUSampler> CPUMeter;
  std::vector<std::string>
      StatKeys;  // "CPU", "PMem", "VMem", "SRsrc", "GRsrc", "URsrc", "Battery", "C:", "D:"...
  int StatCount = 0;
  int FullHeight = 0;
  bool NothingToShow = false;

  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload() override;
  void RollupTimer_Timer();
  void UnloadTimer_Timer();
  void RolldownTimer_Timer();
  void StatTimer_Timer();
  void PrepareStatLines();
  void RefreshStatLines();

 protected:
  void Design() override;

 private:
  void PlaceAboveTray();
  // The text of one line, or nullopt when its figure cannot be had and the line keeps its text.
  std::optional<std::string> LineText(const std::string& key);
  std::optional<std::string> BatteryLine();
  std::optional<std::string> DriveLine(const std::string& key);

  bool rollupStarted_ = false;
  bool growsDown_ = false;  // below a top panel, or beside a side panel
  Program& program_;
};

}  // namespace sysvane
