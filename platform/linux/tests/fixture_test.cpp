// The backend read against captured machines (fixtures/*/EXPECTED.md tells what each holds and why).
#include <gtest/gtest.h>

#include "linux_test_support.h"

namespace sysvane {
namespace {

TEST(FixtureMachineTest, EachMachineAnswersAsCaptured) {
  const std::pair<const char*, std::string> rows[] = {
      {"laptop-two-batteries",
       "c:\\ / 3|d:\\ /boot/efi 3|e:\\ /home 3|f:\\ /mnt/Backup Disk 3|g:\\ /media/alex/USB STICK 2|h:\\ /"
       "mnt/media 4|i:\\ /media/alex/DVD 5|j:\\ /media/alex/SDCARD 2|k:\\ /media/alex/PHONE 2|l:\\ /var/ca"
       "che/ram 6|\n16624758784/10108112896/0\n0 1 75 20332 27276\nIntel(R) Core(TM) i7-8650U CPU @ 1.90GH"
       "z (4.20 GHz)\n4 36685833 Version 6.8 Build 0 Ubuntu 24.04.1 LTS 0/0"},
      {"raspberry-pi",
       "c:\\ / 3|d:\\ /boot/firmware 3|e:\\ /srv/data 3|\n3977351168/3187097600/0\n255 128 255 ? ?\nRaspbe"
       "rry Pi 4 Model B Rev 1.1 (1.50 GHz)\n4 800400 Version 6.6 Build 51 Debian GNU/Linux 12 (bookworm) "
       "0/0"},
      {"arm64-mainline",
       "c:\\ / 3|\n-\n255 128 255 ? ?\nRadxa ROCK 5 Model B (1.80 GHz)\n8 - Version 0.0 Build 0 Linux 0/0"},
      {"kernel-4.19-laptop",
       "c:\\ / 3|\n-\n1 0 50 ? ?\n\n1 - Version 4.19 Build 0 Debian GNU/Linux 10 (buster) 0/0"},
      {"not-charging-laptop", "c:\\ / 3|\n-\n1 1 80 ? ?\n\n1 - Version 0.0 Build 0 Linux -"},
      {"container", "c:\\ / 3|\n-\n255 128 255 ? ?\n\n1 - Version 0.0 Build 0 Linux 0/0"},
      {"fault-laptop",
       "c:\\ / 3|d:\\ /home 3|e:\\ /mnt/win 3|\n16384000000/8192000000/1000\n0 0 60 10800 18000\nTest CPU "
       "3000 (4.20 GHz)\n4 40500 Version 6.1 Build 0 Test Linux 1 3/10"},
      {"many-disks",
       "c:\\ / 3|d:\\ /srv/disk00 3|e:\\ /srv/disk01 3|f:\\ /srv/disk02 3|g:\\ /srv/disk03 3|h:\\ /srv/dis"
       "k04 3|i:\\ /srv/disk05 3|j:\\ /srv/disk06 3|k:\\ /srv/disk07 3|l:\\ /srv/disk08 3|m:\\ /srv/disk09"
       " 3|n:\\ /srv/disk10 3|o:\\ /srv/disk11 3|p:\\ /srv/disk12 3|q:\\ /srv/disk13 3|r:\\ /srv/disk14 3|"
       "s:\\ /srv/disk15 3|t:\\ /srv/disk16 3|u:\\ /srv/disk17 3|v:\\ /srv/disk18 3|w:\\ /srv/disk19 3|x:"
       "\\ /srv/disk20 3|y:\\ /srv/disk21 3|z:\\ /srv/disk22 3|\n-\n255 128 255 ? ?\n\n1 - Version 0.0 Bui"
       "ld 0 Linux 0/0"},
      {"btrfs-workstation",
       "c:\\ / 3|d:\\ /data 3|e:\\ /pool 3|\n-\n255 128 255 ? ?\n\n1 - Version 0.0 Build 0 Linux 0/0"},
      {"zfs",
       "c:\\ / 3|d:\\ /boot 3|e:\\ /boot/efi 3|f:\\ /srv/media 3|\n-\n255 128 255 ? ?\n\n1 - Version 0.0 B"
       "uild 0 Linux 0/0"},
  };
  for (const auto& [folder, expected] : rows) {
    SCOPED_TRACE(folder);
    const std::string root = testing::Fixture(folder);
    LinuxKernel kernel(root);
    EXPECT_EQ(testing::ReadAnswers(kernel, root).Text(), expected);
  }
}

}  // namespace
}  // namespace sysvane
