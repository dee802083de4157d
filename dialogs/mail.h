// The About box's mail layer, in the shape of a mail session and its message: sign on once, then
// compose, address and send through the desktop's mail handler; sign off when done.
#pragma once

#include <cstdint>
#include <string>

#include "platform/desktop.h"

namespace sysvane {

// MAPISession1: the session. Its id is 0 while signed off.
class MailSession {
 public:
  // Opens a session and gives it a new id; false when no session could be opened.
  bool SignOn();
  void SignOff() { sessionId_ = 0; }
  int32_t SessionID() const { return sessionId_; }

 private:
  int32_t sessionId_ = 0;
  int32_t lastId_ = 0;
};

// MAPIMessages1: the message being written. It works only within a session (SessionID set).
class MailMessages {
 public:
  explicit MailMessages(Desktop& desktop) : desktop_(desktop) {}

  int32_t SessionID = 0;
  std::string RecipAddress;
  std::string MsgSubject;

  // Starts a new, empty message; false without a session.
  bool Compose();
  // Hands the message to the mail handler for the user to finish and send (`showDialog`: the
  // handler's window shows it); false without a session or when no handler took it.
  bool Send(bool showDialog);

 private:
  Desktop& desktop_;
  bool composing_ = false;
};

}  // namespace sysvane
