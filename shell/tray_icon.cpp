#include "shell/tray_icon.h"

#include <algorithm>

namespace sysvane {

std::array<char, 64> FillTipField(const std::string& tip, const std::string& ownerCaption) {
  const std::string& text = tip.empty() ? ownerCaption : tip;
  std::array<char, 64> field;
  field.fill(' ');
  const size_t copied = std::min(text.size(), field.size());
  std::copy_n(text.begin(), copied, field.begin());
  if (copied < field.size()) field[copied] = '\0';
  return field;
}

void TrayIcon::AddTrayIcon(forms::Form& owner, const std::string& tip, forms::MenuList* menu) {
  data_.cbSize = kRecordSize;
  data_.hWnd = &owner;
  data_.uID = kIconId;
  data_.uFlags = forms::NIF_MESSAGE | forms::NIF_ICON | forms::NIF_TIP;
  data_.uCallbackMessage = forms::WM_MOUSEMOVE;
  data_.hIcon = owner.Icon();
  data_.szTip = FillTipField(tip, owner.Caption());
  data_.menu = menu;
  // A refusal by the shell is not reported: the program runs on without its icon.
  runtime_.ShellNotifyIcon(forms::NIM_ADD, data_);
  added_ = true;
  owner.Hide();
}

void TrayIcon::ModifyTrayIcon(forms::Form& owner, const std::string& tip) {
  if (!added_) return;
  const std::array<char, 64> field = FillTipField(tip, owner.Caption());
  if (field == data_.szTip) return;
  data_.szTip = field;
  runtime_.ShellNotifyIcon(forms::NIM_MODIFY, data_);
}

void TrayIcon::ModifyTrayIconPicture(std::shared_ptr<const forms::LiveIcon> icon, const std::string& label) {
  data_.liveIcon = std::move(icon);
  data_.label = label;
  if (added_) runtime_.ShellNotifyIcon(forms::NIM_MODIFY, data_);
}

void TrayIcon::DeleteTrayIcon() {
  if (!added_) return;
  runtime_.ShellNotifyIcon(forms::NIM_DELETE, data_);
  added_ = false;
}

}  // namespace sysvane
