// The Qt floor: the cheapest honest Qt 6 program doing the Monitor window's job, the yardstick
// of the comparison. With --drives it prints the fixed drives instead ("C /" a line), so that
// the comparison script letters the drives exactly as the program does.
#include <QApplication>
#include <cstdio>
#include <cstring>

#include "bench/qt_floor/floor_sources.h"
#include "bench/qt_floor/floor_window.h"
#include "platform/linux/linux_kernel.h"
#include "stats/format.h"

namespace {

void PrintRows(const sysvane::floor::Sources& sources, sysvane::Kernel& kernel) {
  using sysvane::floor::RowKind;
  for (const auto& row : sources.Rows()) {
    switch (row.kind) {
      case RowKind::Cpu:
        std::puts("cpu");
        break;
      case RowKind::PhysicalMemory:
        std::puts("physical");
        break;
      case RowKind::VirtualMemory:
        std::puts("virtual");
        break;
      case RowKind::Battery:
        std::puts("battery");
        break;
      case RowKind::Drive:
        std::printf("drive %s %s\n", sysvane::DriveLetter(row.root).c_str(),
                    kernel.DriveMountPoint(row.root).c_str());
        break;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  sysvane::LinuxKernel kernel;
  sysvane::floor::Sources sources(kernel);
  if (argc > 1 && std::strcmp(argv[1], "--rows") == 0) {
    PrintRows(sources, kernel);
    return 0;
  }
  QApplication app(argc, argv);
  sysvane::floor::FloorWindow window(sources);
  window.show();
  return app.exec();
}
