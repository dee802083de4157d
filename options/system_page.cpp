#include "options/system_page.h"

#include <cstdio>

#include "stats/format.h"

namespace sysvane {

namespace {

constexpr uint32_t kOsVersionInfoSize = 148;

// A single-precision number in its shortest form, with the locale's decimal separator.
std::string SingleText(float value, const LocaleInfo& locale) {
  char text[64];
  std::snprintf(text, sizeof text, "%.7g", static_cast<double>(value));
  std::string result = text;
  const size_t point = result.find('.');
  if (point != std::string::npos) result.replace(point, 1, locale.decimalSeparator);
  return result;
}

}  // namespace

std::string SystemFamilyName(Kernel& kernel) {
  const auto name = kernel.GetSystemName();
  return name && !name->family.empty() ? name->family : "Windows";
}

std::string ScreenResolutionText(const forms::ScreenInfo& screen, const LocaleInfo& locale) {
  // In the display's own pixels: at 144 dots per inch a pixel is 10 twips, not 15, and dividing
  // by 15 there would show a 1280-pixel screen as 853.3333 wide.
  const forms::Twips perX = screen.TwipsPerPixelX > 0 ? screen.TwipsPerPixelX : forms::kTwipsPerPixel;
  const forms::Twips perY = screen.TwipsPerPixelY > 0 ? screen.TwipsPerPixelY : forms::kTwipsPerPixel;
  return SingleText(static_cast<float>(screen.Width / perX), locale) + " x " +
         SingleText(static_cast<float>(screen.Height / perY), locale);
}

std::string FitSystemName(const std::string& name, forms::Twips width,
                          const std::function<forms::Twips(const std::string&)>& measure) {
  // A pixel to spare: the screen rounds the label's width to whole pixels.
  const auto fits = [&](const std::string& text) { return measure(text) <= width - forms::kTwipsPerPixel; };
  if (fits(name) || name.empty() || name.back() != ')') return name;
  const size_t open = name.rfind(" (");
  if (open == std::string::npos || open == 0) return name;
  return name.substr(0, open);
}

std::string ByteCountText(uint64_t bytes, const LocaleInfo& locale) {
  return FormatGrouped(bytes, locale) + " bytes";
}

std::string DriveSizeCaption(const std::string& root) {
  return DriveLetter(root) + ": drive disk size:";
}

SystemFacts ReadSystemFacts(SystemInfoModule& info, const forms::ScreenInfo& screen,
                            const LocaleInfo& locale) {
  SystemFacts facts;
  Kernel& kernel = info.kernel();
  facts.processor = info.GetProcessorDescription(locale);
  facts.processorCount = std::to_string(kernel.GetNumberOfProcessors());
  facts.resolution = ScreenResolutionText(screen, locale);
  facts.systemCaption = SystemFamilyName(kernel) + " version:";
  if (const auto name = kernel.GetSystemName()) {
    facts.systemName = name->prettyName.empty() ? name->family : name->prettyName;
    facts.versionLine = "Version " + std::to_string(name->kernelMajor) + "." +
                        std::to_string(name->kernelMinor) + " Build " + std::to_string(name->kernelPatch);
  } else {
    OSVERSIONINFO version;
    version.dwOSVersionInfoSize = kOsVersionInfoSize;
    if (kernel.GetVersionEx(version)) {
      facts.systemName = WindowsVersionName(version);
      facts.versionLine = WindowsVersionLine(version);
    }
  }
  return facts;
}

}  // namespace sysvane
