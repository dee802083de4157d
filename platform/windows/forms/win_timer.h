// A window timer on SetTimer, ticking on the runtime's hidden window. Enabling a timer or giving
// it a new interval starts its count afresh.
#pragma once

#include "platform/windows/forms/win_api.h"

#include "platform/forms.h"

namespace sysvane::win {

class TimerPeer : public forms::Peer {
 public:
  explicit TimerPeer(forms::Timer& timer);
  ~TimerPeer() override;
  void Changed(forms::Prop prop) override;

 private:
  forms::Timer& model_;
  UINT_PTR id_;
};

}  // namespace sysvane::win
