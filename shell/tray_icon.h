// TrayIcon: the program's one notification-area icon. It keeps the icon record for the whole run
// and hands it to the shell to add the icon, change its tip and remove it again.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "platform/forms.h"

namespace sysvane {

class TrayIcon {
 public:
  explicit TrayIcon(forms::Runtime& runtime) : runtime_(runtime) {}

  // Fills the whole record from the owner (its window, its icon), sends it to the shell and
  // hides the owner: from now on the window lives only behind its icon.
  // `menu` is what a tray host that shows menus by itself offers on a right click.
  void AddTrayIcon(forms::Form& owner, const std::string& tip, forms::MenuList* menu = nullptr);
  // Changes only the tip; the owner is used for the caption fallback of an empty tip. Nothing is
  // sent when the tip is the one the shell already has, so that moving the mouse over an icon
  // whose figures did not change does not wake the tray host.
  void ModifyTrayIcon(forms::Form& owner, const std::string& tip);
  // Shows a picture the program draws (null: the owner's icon again) and a label beside it, and
  // sends them with the tip as it stands. The caller sends only what changed.
  void ModifyTrayIconPicture(std::shared_ptr<const forms::LiveIcon> icon, const std::string& label);
  // Removes the icon; does nothing when no icon was added (or it is already gone).
  void DeleteTrayIcon();

  const forms::NOTIFYICONDATA& TrayIconData() const { return data_; }
  bool Added() const { return added_; }

  static constexpr uint32_t kRecordSize = 88;
  static constexpr uint32_t kIconId = 1;

 private:
  forms::Runtime& runtime_;
  forms::NOTIFYICONDATA data_;
  bool added_ = false;
};

// The tip field as the shell reads it: the text and one NUL copied from the start, the rest of
// the 64 characters spaces, anything beyond 64 cut. A tip of 64 characters or more has no NUL,
// and the shell shows its first 63. An empty tip takes the owner's caption.
std::array<char, 64> FillTipField(const std::string& tip, const std::string& ownerCaption);

}  // namespace sysvane
