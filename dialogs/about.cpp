#include "dialogs/about.h"

#include "dialogs/key_value.h"
#include "options/settings.h"
#include "shell/program.h"

namespace sysvane {

namespace {

constexpr int kVersionMajor = 2;
constexpr int kVersionMinor = 0;
constexpr const char* kDescription =
    "The Sysvane program is designed to display various types of information about your computer system, "
    "including CPU, memory, and resource usage, battery charge status and level (if applicable), and disk "
    "usage.";
constexpr const char* kWebSite = "https://www.quorvale.example/";
constexpr const char* kEmailAddress = "support@quorvale.example";

constexpr const char* kSysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kSysInfoFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

forms::Font LinkFont() {
  forms::Font font;
  font.underline = true;
  return font;
}

}  // namespace

frmAbout::frmAbout(Program& program)
    : forms::Form(program.runtime(), "frmAbout"), MAPIMessages1(program.platform.desktop), program_(program) {
  WebLink.Click = [this] { WebLink_Click(); };
  EmailLink.Click = [this] { EmailLink_Click(); };
  cmdOK.Click = [this] { cmdOK_Click(); };
  cmdSysInfo.Click = [this] { cmdSysInfo_Click(); };
}

void frmAbout::Design() {
  SetCaption(" About");
  SetBorderStyle(forms::BorderStyle::FixedDialog);
  SetKeyPreview(true);
  SetClientSize(6045, 4455);

  forms::Font titleFont;
  titleFont.size = 12;
  titleFont.bold = true;
  lblTitle.Move(240, 240, 5565, 420);
  lblTitle.SetFont(titleFont);
  lblTitle.SetCaption("");
  lblVersion.Move(240, 720, 5565, 255);
  lblVersion.SetCaption("");
  lblDescription.Move(240, 1080, 5565, 1020);
  lblDescription.SetCaption("");

  // Two lines a pixel apart draw an etched groove.
  Line1.Reset();
  Line1.Load(1);
  Line1[0].SetPoints(240, 2280, 5805, 2280);
  Line1[0].SetForeColor(forms::Color::Rgb(128, 128, 128));
  Line1[1].SetPoints(240, 2295, 5805, 2295);
  Line1[1].SetForeColor(forms::Color::Rgb(255, 255, 255));
  Line1[1].SetVisible(true);

  lblDisclaimer.Move(240, 2520, 4155, 255);
  lblDisclaimer.SetCaption("Please send any comments or suggestions to:");
  EmailLink.Move(240, 2820, 4155, 255);
  EmailLink.SetFont(LinkFont());
  EmailLink.SetForeColor(forms::Color::Rgb(0, 0, 255));
  EmailLink.SetCaption(kEmailAddress);
  EmailLink.SetToolTipText(" Send an e-mail to Quorvale ");
  Label1.Move(240, 3261, 855, 255);
  Label1.SetCaption("Web site:");
  WebLink.Move(1140, 3261, 3255, 255);
  WebLink.SetFont(LinkFont());
  WebLink.SetForeColor(forms::Color::Rgb(0, 0, 255));
  WebLink.SetCaption(kWebSite);
  WebLink.SetToolTipText(" Visit the Quorvale web site ");

  cmdOK.Move(4579, 3216, 1260, 345);
  cmdOK.SetCaption("OK");
  cmdOK.SetDefault(true);
  cmdOK.SetCancel(true);
  cmdSysInfo.Move(4579, 3651, 1245, 345);
  cmdSysInfo.SetCaption("&System Info...");
}

void frmAbout::Form_Load() {
  SetCaption(std::string(" About ") + kAppTitle);
  lblVersion.SetCaption("Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor));
  lblDescription.SetCaption(kDescription);
  lblTitle.SetCaption(kAppTitle);
  const forms::ScreenInfo screen = runtime().Screen();
  Move(screen.Left + (screen.Width - Width()) / 2, screen.Top + (screen.Height - Height()) / 2, Width(),
       Height());
}

void frmAbout::WebLink_Click() {
  // A browser that does not start says so itself; nothing to add here.
  program_.platform.desktop.OpenUrl(WebLink.Caption());
}

void frmAbout::EmailLink_Click() {
  bool ok = true;
  // One session serves every click until the box unloads.
  if (MAPIMessages1.SessionID == 0) {
    ok = MAPISession1.SignOn();
    if (ok) MAPIMessages1.SessionID = MAPISession1.SessionID();
  }
  ok = ok && MAPIMessages1.Compose();
  if (ok) {
    MAPIMessages1.RecipAddress = EmailLink.Caption();
    MAPIMessages1.MsgSubject = std::string(kAppTitle) + ", " + lblVersion.Caption();
    ok = MAPIMessages1.Send(true);
  }
  if (!ok)
    runtime().MsgBox("A problem has occurred while trying to send an e-mail.", forms::vbOKOnly, kAppTitle);
}

void frmAbout::cmdOK_Click() {
  Unload();
}

void frmAbout::cmdSysInfo_Click() {
  StartSysInfo();
}

void frmAbout::StartSysInfo() {
  Registry& registry = program_.platform.registry;
  Desktop& desktop = program_.platform.desktop;
  std::string path;
  std::string folder;
  if (GetKeyValue(registry, HKEY_LOCAL_MACHINE, kSysInfoKey, "PATH", path)) {
    if (desktop.StartProgram(path)) return;
  } else if (GetKeyValue(registry, HKEY_LOCAL_MACHINE, kSysInfoFolderKey, "MSINFO", folder)) {
    const std::string program = folder + "\\MSINFO32.EXE";
    if (desktop.FileExists(program) && desktop.StartProgram(program)) return;
  }
  runtime().MsgBox("System Information Is Unavailable At This Time", forms::vbOKOnly, kAppTitle);
}

void frmAbout::Form_KeyDown(int KeyCode, int /*Shift*/) {
  if (KeyCode == forms::vbKeyEscape) Unload();
}

void frmAbout::Form_Unload() {
  if (MAPIMessages1.SessionID > 0) MAPISession1.SignOff();
  // The next About command starts from a fresh box, without a session.
  MAPIMessages1.SessionID = 0;
}

}  // namespace sysvane
