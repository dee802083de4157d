// The System page of the Options dialog: the machine's facts as the page words them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/forms.h"
#include "platform/kernel.h"
#include "platform/locale.h"
#include "stats/system_info.h"

namespace sysvane {

// Rows 0, 1, 4 and 5 with the version line: computed once per opening of the dialog.
struct SystemFacts {
  std::string processor;       // row 0
  std::string processorCount;  // row 1
  std::string resolution;      // row 4
  std::string systemCaption;   // row 5's caption: "Linux version:", "Windows version:"
  std::string systemName;      // row 5's value
  std::string versionLine;     // the line below it
};

SystemFacts ReadSystemFacts(SystemInfoModule& info, const forms::ScreenInfo& screen,
                            const LocaleInfo& locale);

// The name of the running system's family: "Linux", or "Windows" on Windows itself.
std::string SystemFamilyName(Kernel& kernel);

// The system's name as one line of `width`: a trailing parenthesised part ("Debian GNU/Linux 12
// (bookworm)") goes when the whole name would wrap into the version line below it.
std::string FitSystemName(const std::string& name, forms::Twips width,
                          const std::function<forms::Twips(const std::string&)>& measure);

// "1920 x 1080": the screen's twips over 15, each printed as a single-precision number.
std::string ScreenResolutionText(const forms::ScreenInfo& screen, const LocaleInfo& locale);

// "40,007,729,152 bytes"
std::string ByteCountText(uint64_t bytes, const LocaleInfo& locale);

// "D: drive disk size:" for the root "d:\".
std::string DriveSizeCaption(const std::string& root);

}  // namespace sysvane
