#include "monitor/detail_display.h"

#include "shell/program.h"

namespace sysvane {

namespace {
constexpr forms::Color kYellow = forms::Color::Rgb(255, 255, 192);
constexpr forms::Color kBlue = forms::Color::Rgb(0, 0, 255);
}  // namespace

// It shows what the Monitor window hands it and asks the program for nothing of its own.
DetailDisplay::DetailDisplay(Program& program) : forms::Form(program.runtime(), "DetailDisplay") {}

void DetailDisplay::Design() {
  SetCaption("");
  SetControlBox(false);  // no caption bar, only the thin border
  SetBorderStyle(forms::BorderStyle::FixedSingle);
  SetClientSize(1830, 945);
  SetBackColor(kYellow);
  // Shown beside the Monitor window while the pointer rests there: no taskbar entry, no focus.
  SetShowInTaskbar(false);
  SetOnTop(true);

  struct Design {
    forms::Label& label;
    forms::Twips top, height;
    const char* text;
  };
  const Design lines[] = {
      {Label0, 45, 195, "Physical Memory"},
      {Label1, 285, 195, "999,999,999,999 of"},
      {Label2, 495, 195, "999,999,999,999 bytes"},
      {Label3, 690, 255, "are currently being used"},
  };
  for (const auto& line : lines) {
    line.label.Move(45, line.top, 1740, line.height);
    line.label.SetAlignment(forms::Alignment::Center);
    line.label.SetBackColor(kYellow);
    line.label.SetForeColor(kBlue);
    line.label.SetCaption(line.text);
    line.label.SetVisible(true);
  }
  Label0.SetBackColor(kBlue);
  Label0.SetForeColor(forms::Color::System(forms::SystemColor::HighlightText));
}

void DetailDisplay::SetLines(const std::string& title, const std::string& second, const std::string& third,
                             const std::string& fourth) {
  Label0.SetCaption(title);
  Label1.SetCaption(second);
  Label2.SetCaption(third);
  Label3.SetCaption(fourth);
}

}  // namespace sysvane
