// The single-instance lock left by a crash at its worst moment: empty or garbled, with no owner.
// Nobody holds such a lock once it is old: the next start takes it over instead of refusing to run
// for good; a lock just made is left to the start that is making it.
#include <gtest/gtest.h>
#include <sys/time.h>

#include "platform/qt/qt_instance_lock.h"
#include "tests/faults/config_home.h"

namespace sysvane::faults {
namespace {

TEST(InstanceLockFaultTest, AnOwnerlessLockIsTakenOverOnceItIsOld) {
  for (auto [contents, age] : {std::pair{std::string(), 60},
                               {std::string("\xff\x00garbage\n", 10), 60},
                               {std::string("12"), 60},
                               {std::string(), 0}}) {
    ConfigHome home;
    const std::string path = home.Path("runtime/sysvane.lock");
    home.Write("runtime/sysvane.lock", contents);
    timeval then{};
    gettimeofday(&then, nullptr);
    then.tv_sec -= age;
    const timeval times[2] = {then, then};
    utimes(path.c_str(), times);
    qt::InstanceLock lock(QString::fromStdString(path));
    EXPECT_EQ(lock.HeldElsewhere(), age == 0) << "'" << contents << "', " << age << " s old";
    EXPECT_TRUE(std::filesystem::exists(path));
  }
}

}  // namespace
}  // namespace sysvane::faults
