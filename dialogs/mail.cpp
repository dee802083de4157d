#include "dialogs/mail.h"

namespace sysvane {

bool MailSession::SignOn() {
  // The desktop's mail handler needs no log-on: a session is only our own bookkeeping.
  sessionId_ = ++lastId_;
  return true;
}

bool MailMessages::Compose() {
  if (SessionID == 0) return false;
  RecipAddress.clear();
  MsgSubject.clear();
  composing_ = true;
  return true;
}

bool MailMessages::Send(bool /*showDialog*/) {
  // Without a dialog the message would go out unseen; the desktop's handler always shows it.
  if (SessionID == 0 || !composing_) return false;
  composing_ = false;
  return desktop_.ComposeMail(RecipAddress, MsgSubject);
}

}  // namespace sysvane
