#include "shell/logo.h"

#include <cmath>

#include "shell/program.h"
#include "stats/format.h"

namespace sysvane {

namespace {
constexpr int kCornerEllipse = 40;  // pixels
constexpr int kShowMilliseconds = 3000;
constexpr int kStillMilliseconds = 1000;
const forms::Color kBackground = forms::Color::FromBGR(0x00FF00FF);

forms::Font TitleFont() {
  forms::Font font;
  font.name = "Times New Roman";
  font.size = 18;
  font.italic = true;
  return font;
}

void PlaceLabel(forms::Label& label, forms::Twips left, forms::Twips top, forms::Twips width,
                forms::Twips height, const std::string& caption, forms::Alignment alignment) {
  label.Move(left, top, width, height);
  label.SetCaption(caption);
  label.SetAlignment(alignment);
  label.SetBackColor(kBackground);
  label.SetVisible(true);
}
}  // namespace

Logo::Logo(Program& program) : forms::Form(program.runtime(), "Logo") {
  Timer1.Tick = [this] { Timer1_Timer(); };
}

void Logo::Design() {
  SetBorderStyle(forms::BorderStyle::FixedSingle);
  SetControlBox(false);
  SetCaption("");  // with no control box: no title bar at all
  SetShowInTaskbar(false);
  SetBackColor(kBackground);
  SetClientSize(3975, 2955);
  // Centred on the screen, on whole pixels.
  const forms::ScreenInfo screen = runtime().Screen();
  const double left =
      std::floor((screen.Width - Width()) / 2 / screen.TwipsPerPixelX) * screen.TwipsPerPixelX;
  const double top =
      std::floor((screen.Height - Height()) / 2 / screen.TwipsPerPixelY) * screen.TwipsPerPixelY;
  Move(screen.Left + left, screen.Top + top, Width(), Height());

  Label.Reset();
  Label.Load(2);
  Label.Load(3);
  PlaceLabel(Label[0], 300, 240, 3375, 495, "Sysvane", forms::Alignment::Center);
  Label[0].SetFont(TitleFont());
  PlaceLabel(Label1, 1440, 960, 1335, 375, "Display", forms::Alignment::Left);
  Label1.SetFont(TitleFont());
  PlaceLabel(Label[2], 1500, 1920, 975, 255, "Version 2.0", forms::Alignment::Center);
  Label[2].SetFont(forms::Font{});
  PlaceLabel(Label[3], 0, 2160, 4005, 255, "", forms::Alignment::Center);
  Label[3].SetFont(forms::Font{});

  PlaceLabel(Message, 135, 2640, 3735, 285, "PLEASE WAIT...Setting up display data",
             forms::Alignment::Center);
  forms::Font bold;
  bold.bold = true;
  Message.SetFont(bold);
  Message.SetForeColor(forms::Color::FromBGR(0x0080FFFF));

  Image2.Move(120, 900, 1200, 1080);
  Image2.SetPicture("splash-bars");
  Image1.Move(3000, 840, 840, 1140);
  Image1.SetPicture("splash-gauge");

  Timer1.SetInterval(kShowMilliseconds);
  Timer1.SetEnabled(true);
}

void Logo::Form_Load() {
  Label[3].SetCaption(kNotice);
  MakeRoundedWindow(*this);
}

void Logo::Form_Activate() {
  // Fully drawn first, then held still for a second while the start-up waits behind it.
  Refresh();
  runtime().PauseWithoutMessages(kStillMilliseconds);
}

void Logo::Timer1_Timer() {
  Unload();
}

void MakeRoundedWindow(forms::Form& window) {
  const forms::ScreenInfo screen = window.runtime().Screen();
  if (screen.TwipsPerPixelX <= 0 || screen.TwipsPerPixelY <= 0) return;  // keeps its rectangle
  const int w = int(RoundHalfEven(window.Width() / screen.TwipsPerPixelX));
  const int h = int(RoundHalfEven(window.Height() / screen.TwipsPerPixelY));
  window.SetRegion(forms::RoundRectRegion{1, 1, w, h, kCornerEllipse, kCornerEllipse});
}

}  // namespace sysvane
