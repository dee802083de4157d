// frmAbout: the About box. Names the program and its version, describes it, and opens the
// maker's web site, an e-mail to the maker or the system information program.
#pragma once

#include "dialogs/mail.h"
#include "platform/forms.h"

namespace sysvane {

class Program;

class frmAbout : public forms::Form {
 public:
  explicit frmAbout(Program& program);

  forms::Label lblTitle{*this, "lblTitle"};
  forms::Label lblVersion{*this, "lblVersion"};
  forms::Label lblDescription{*this, "lblDescription"};
  forms::ControlArray<forms::Line> Line1{*this, "Line1"};  // an etched separator: shadow, then light
  forms::Label lblDisclaimer{*this, "lblDisclaimer"};
  forms::Label Label1{*this, "Label1"};
  forms::Label WebLink{*this, "WebLink"};
  forms::Label EmailLink{*this, "EmailLink"};
  forms::CommandButton cmdOK{*this, "cmdOK"};
  forms::CommandButton cmdSysInfo{*this, "cmdSysInfo"};
  MailSession MAPISession1;
  MailMessages MAPIMessages1;

  void WebLink_Click();
  void EmailLink_Click();
  void cmdOK_Click();
  void cmdSysInfo_Click();
  // Starts the system information program the registry names, or says that there is none.
  void StartSysInfo();

 protected:
  void Design() override;
  void Form_Load() override;
  void Form_KeyDown(int KeyCode, int Shift) override;
  void Form_Unload() override;

 private:
  Program& program_;
};

}  // namespace sysvane
