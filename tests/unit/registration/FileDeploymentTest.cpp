// The runtime library and capture filter copies, row by row, on the simulated file system.
#include <gtest/gtest.h>

#include "platform/WinConstants.h"
#include "platform/sim/SimHost.h"
#include "registration/FileDeployment.h"

namespace {

using platform::sim::MachineKind;
using platform::sim::SimHost;

const std::string kSdk = "C:\\Lumetra Package\\SDK";
const std::string kWindows = "C:\\windows";
const std::string kCompany = "Selvanic";

using Copy = std::pair<std::string, std::string>;

TEST(DeployFile, ReplacesAnExistingDestination) {
  SimHost host;
  host.files.AddFile(kSdk + "\\RAZEDAVE.dll", "new");
  host.files.AddFile("D:\\Target\\RAZEDAVE.dll", "old, and newer than the source");
  EXPECT_NE(registration::DeployFile(kSdk + "\\RAZEDAVE.dll", "D:\\Target\\RAZEDAVE.dll"), 0);
  EXPECT_EQ(host.files.Content("D:\\Target\\RAZEDAVE.dll"), "new");
}

TEST(DeployFile, AMissingSourceCountsAsDeployedAndAnExistingOneThatCannotBeCopiedFails) {
  SimHost host;
  host.files.AddDirectory("D:\\Target");
  EXPECT_EQ(registration::DeployFile(kSdk + "\\Missing.dll", "D:\\Target\\Missing.dll"), 1);
  EXPECT_FALSE(host.files.Exists("D:\\Target\\Missing.dll"));

  host.files.AddFile(kSdk + "\\InUse.dll");
  host.files.AddFile("D:\\Target\\InUse.dll");
  host.files.LockFile("D:\\Target\\InUse.dll");
  EXPECT_EQ(registration::DeployFile(kSdk + "\\InUse.dll", "D:\\Target\\InUse.dll"), 0);

  host.files.AddFile(kSdk + "\\Blocked.dll");
  host.files.AddDirectory("D:\\Target\\Blocked.dll");
  EXPECT_EQ(registration::DeployFile(kSdk + "\\Blocked.dll", "D:\\Target\\Blocked.dll"), 0);

  EXPECT_EQ(registration::DeployFile(kSdk + "\\InUse.dll", "D:\\No Such Folder\\InUse.dll"), 0);
  EXPECT_TRUE(host.files.copies.empty());
}

struct Row {
  std::string source;       // below the SDK folder
  std::string destination;  // physical, below the Windows folder
  int code;
};

const std::vector<Row> kRows32{
    {"RAZEDAVE.dll", "system32\\RAZEDAVE.dll", 3},
    {"Selvanic.ax", "system32\\Selvanic.ax", 5},
};
const std::vector<Row> kRows64{
    {"RAZEDAVE.dll", "syswow64\\RAZEDAVE.dll", 6},
    {"X64\\RAZEDAVE_X64.dll", "system32\\RAZEDAVE_X64.dll", 6},
    {"X64\\Selvanic64.ax", "system32\\Selvanic64.ax", 8},
    {"Selvanic.ax", "syswow64\\Selvanic.ax", 9},
};

// A machine of the kind with the whole SDK folder; redirection off on 64-bit Windows, as in the run.
void Prepare(SimHost& host, bool is64Bit) {
  for (const Row& row : is64Bit ? kRows64 : kRows32) host.files.AddFile(kSdk + "\\" + row.source, row.source);
  host.machine.redirectionDisabled = is64Bit;
}

std::vector<Copy> CopiesOf(const std::vector<Row>& rows, std::size_t count) {
  std::vector<Copy> copies;
  for (std::size_t at = 0; at < count; ++at) {
    copies.emplace_back(kSdk + "\\" + rows[at].source, kWindows + "\\" + rows[at].destination);
  }
  return copies;
}

TEST(RuntimeAndFilterCopies, EveryRowLandsInItsSystemFolderInTableOrder) {
  for (bool is64Bit : {false, true}) {
    SimHost host(MachineKind{is64Bit});
    Prepare(host, is64Bit);
    const std::vector<Row>& rows = is64Bit ? kRows64 : kRows32;
    EXPECT_EQ(registration::DeployRuntimeAndFilters(kSdk, kWindows, kCompany, is64Bit), 0);
    EXPECT_EQ(host.files.copies, CopiesOf(rows, rows.size()));
    for (const Row& row : rows) EXPECT_EQ(host.files.Content(kWindows + "\\" + row.destination), row.source);
    if (!is64Bit) {
      EXPECT_EQ(host.files.Below(kWindows + "\\system32").size(), 2u) << "no 64-bit file is read or written";
    }
  }
}

TEST(RuntimeAndFilterCopies, TheFirstRowThatFailsEndsTheStepWithItsCode) {
  for (bool is64Bit : {false, true}) {
    const std::vector<Row>& rows = is64Bit ? kRows64 : kRows32;
    for (std::size_t failing = 0; failing < rows.size(); ++failing) {
      for (bool folderInTheWay : {false, true}) {
        SCOPED_TRACE((is64Bit ? "64-bit row " : "32-bit row ") + std::to_string(failing + 1) +
                     (folderInTheWay ? ", a folder in the way" : ", in use"));
        SimHost host(MachineKind{is64Bit});
        Prepare(host, is64Bit);
        const std::string blocked = kWindows + "\\" + rows[failing].destination;
        if (folderInTheWay) {
          host.files.AddDirectory(blocked);
        } else {
          host.files.AddFile(blocked, "in use");
          host.files.LockFile(blocked);
        }
        EXPECT_EQ(registration::DeployRuntimeAndFilters(kSdk, kWindows, kCompany, is64Bit), rows[failing].code);
        EXPECT_EQ(host.files.copies, CopiesOf(rows, failing)) << "rows before stay copied, later ones are not tried";
      }
    }
  }
}

TEST(RuntimeAndFilterCopies, MissingSourcesCountAsDeployed) {
  SimHost host(MachineKind{true});
  host.machine.redirectionDisabled = true;
  host.files.AddFile(kSdk + "\\RAZEDAVE.dll");
  host.files.AddFile(kSdk + "\\Selvanic.ax");
  EXPECT_EQ(registration::DeployRuntimeAndFilters(kSdk, kWindows, kCompany, true), 0) << "no X64 folder at all";
  EXPECT_EQ(host.files.copies, (std::vector<Copy>{{kSdk + "\\RAZEDAVE.dll", kWindows + "\\syswow64\\RAZEDAVE.dll"},
                                                  {kSdk + "\\Selvanic.ax", kWindows + "\\syswow64\\Selvanic.ax"}}));

  SimHost empty(MachineKind{false});
  EXPECT_EQ(registration::DeployRuntimeAndFilters(kSdk, kWindows, kCompany, false), 0) << "an empty SDK folder";
  EXPECT_TRUE(empty.files.copies.empty());
}

TEST(RuntimeAndFilterCopies, TheFilterFilesAreNamedAfterTheCompany) {
  const auto rows = registration::RuntimeAndFilterCopies("S", "W", "Acme", true);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[2].source, "S\\X64\\Acme64.ax");
  EXPECT_EQ(rows[2].destination, "W\\system32\\Acme64.ax");
  EXPECT_EQ(rows[3].source, "S\\Acme.ax");
  EXPECT_EQ(rows[3].destination, "W\\syswow64\\Acme.ax");
}

}  // namespace
