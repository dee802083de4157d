// The single-instance lock after a crash at its worst moment: a lock file left empty or garbled
// (the program killed between creating the file and writing its owner into it, or a disk that
// lost the write). Nobody holds such a lock: the next start takes it over instead of refusing to
// run for good. A lock a live program holds is never taken.
#include <gtest/gtest.h>
#include <sys/time.h>

#include <QLockFile>

#include "platform/qt/qt_instance_lock.h"
#include "tests/faults/config_home.h"

namespace sysvane::faults {
namespace {

// Makes a file look `seconds` old.
void Age(const std::string& path, int seconds) {
  timeval now{};
  gettimeofday(&now, nullptr);
  now.tv_sec -= seconds;
  const timeval times[2] = {now, now};
  utimes(path.c_str(), times);
}

TEST(InstanceLockFaultTest, AnEmptyOrGarbledLockLeftBehindIsTakenOver) {
  for (const std::string& contents :
       {std::string(), std::string("\xff\x00garbage\n", 10), std::string("12")}) {
    ConfigHome home;
    home.WriteFile("runtime/sysvane.lock", contents);
    Age(home.Path("runtime/sysvane.lock"), 60);
    qt::InstanceLock lock(QString::fromStdString(home.Path("runtime/sysvane.lock")));
    EXPECT_FALSE(lock.HeldElsewhere()) << "a lock nobody holds refused the start: '" << contents << "'";
    EXPECT_TRUE(lock.HeldHere());
  }
}

TEST(InstanceLockFaultTest, AnOwnerlessLockJustMadeIsLeftToTheProgramMakingIt) {
  ConfigHome home;
  home.WriteFile("runtime/sysvane.lock", "");  // another start, between making the file and writing it
  EXPECT_TRUE(qt::InstanceLock(QString::fromStdString(home.Path("runtime/sysvane.lock"))).HeldElsewhere());
  EXPECT_TRUE(home.Exists("runtime/sysvane.lock"));
}

TEST(InstanceLockFaultTest, ALockALiveProgramHoldsIsNeverTaken) {
  ConfigHome home;
  const QString path = QString::fromStdString(home.Path("runtime/sysvane.lock"));
  QLockFile holder(path);
  ASSERT_TRUE(holder.tryLock(0));
  Age(home.Path("runtime/sysvane.lock"), 3600);
  qt::InstanceLock lock(path);
  EXPECT_TRUE(lock.HeldElsewhere());
  // Even with its owner's line garbled, the holder's lock on the file still tells.
  home.WriteFile("runtime/sysvane.lock", "garbage");
  Age(home.Path("runtime/sysvane.lock"), 3600);
  EXPECT_TRUE(qt::InstanceLock(path).HeldElsewhere());
}

}  // namespace
}  // namespace sysvane::faults
