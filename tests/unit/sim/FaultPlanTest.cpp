// The simulated host's fault plan: every call it answers is recorded, one call of a name or all of them
// can be made to fail, and the record tells a test which calls a scenario made.
#include <gtest/gtest.h>

#include "platform/WinConstants.h"
#include "platform/sim/SimHost.h"

namespace {

using platform::sim::SimHost;

TEST(FaultPlan, OnlyTheNthCallOfANameFailsAndEveryCallIsRecordedWithWhatItWasAbout) {
  SimHost host;
  host.files.AddFile("C:\\data\\a.txt");
  host.machine.faults.FailNth("GetFileAttributesA", 2, platform::kErrorAccessDenied);
  platform::FileApi& files = host.files;
  EXPECT_NE(files.GetFileAttributesA("C:\\data\\a.txt"), platform::kInvalidFileAttributes);
  EXPECT_EQ(files.GetFileAttributesA("C:\\data\\a.txt"), platform::kInvalidFileAttributes);
  EXPECT_EQ(host.machine.lastError, platform::kErrorAccessDenied);
  EXPECT_NE(files.GetFileAttributesA("C:\\data\\a.txt"), platform::kInvalidFileAttributes);

  platform::RegKey key = 0;
  EXPECT_EQ(host.registry.RegCreateKeyExA(platform::kHkeyCurrentUser, "Software\\X", 0, platform::kKeyAllAccess, key),
            0);
  const auto& answered = host.machine.faults.Answered();
  ASSERT_EQ(answered.size(), 4u);
  EXPECT_EQ(answered[1].name, "GetFileAttributesA");
  EXPECT_EQ(answered[1].detail, "C:\\data\\a.txt");
  EXPECT_EQ(answered[3].name, "RegCreateKeyExA");
  EXPECT_EQ(answered[3].detail, "HKCU\\Software\\X");
}

TEST(FaultPlan, FailingEveryCallOfANameStillWorksAndClearEndsIt) {
  SimHost host;
  host.machine.faults.Fail("GetSystemDirectoryA", platform::kErrorAccessDenied);
  char buffer[platform::kMaxPath] = {};
  EXPECT_EQ(host.files.GetSystemDirectoryA(buffer, platform::kMaxPath), 0u);
  EXPECT_EQ(host.files.GetSystemDirectoryA(buffer, platform::kMaxPath), 0u);
  host.machine.faults.Clear("GetSystemDirectoryA");
  EXPECT_NE(host.files.GetSystemDirectoryA(buffer, platform::kMaxPath), 0u);
}

}  // namespace
