// The HALCON acquisition interface: finding the file by pattern, the version suffix and the copies.
#include <gtest/gtest.h>

#include "platform/WinConstants.h"
#include "platform/sim/SimHost.h"
#include "registration/HalconDeployment.h"
#include "registration/MatchingFiles.h"

namespace {

using platform::sim::MachineKind;
using platform::sim::SimHost;
using registration::FileMatch;

const std::string kSdk = "C:\\Lumetra Package\\SDK";
const std::string kCompany = "Selvanic";
using Copy = std::pair<std::string, std::string>;

TEST(ListMatchingFiles, KeepsWholeNameMatchesInTheFindersOrderWithTheirGroups) {
  SimHost host;
  for (const char* name : {"a1.txt", "ab.txt", "xab.txt", "ab.txt.bak", "b.txt"})
    host.files.AddFile("C:\\Dir\\" + std::string(name));
  host.files.AddDirectory("C:\\Dir\\ab.txt.d");
  EXPECT_EQ(registration::ListMatchingFiles("C:\\Dir", "(a)?(\\D+)\\.txt"),
            (std::vector<FileMatch>{{"ab.txt", "a", "b"}, {"b.txt", "", "b"}, {"xab.txt", "", "xab"}}));
  EXPECT_EQ(registration::ListMatchingFiles("C:\\Dir", "\\.+").size(), 2u) << "\".\" and \"..\" are entries too";
  EXPECT_EQ(registration::ListMatchingFiles("C:\\Dir", "ab\\.txt\\.d").size(), 1u) << "folders are entries too";
  EXPECT_EQ(host.files.openFinds, 0);
}

TEST(ListMatchingFiles, IsEmptyForAMissingFolderOrASearchPathTooLongForTheFinder) {
  SimHost host;
  EXPECT_TRUE(registration::ListMatchingFiles("C:\\Missing", ".*").empty());
  const std::string deep = "C:\\" + std::string(253, 'd');
  host.files.AddFile(deep + "\\file");
  EXPECT_TRUE(registration::ListMatchingFiles(deep, ".*").empty()) << "the search path has 260 characters";
  EXPECT_EQ(host.files.openFinds, 0);
}

TEST(HalconVersionSuffix, TheFirstVersionTextFoundDecides) {
  SimHost host;
  const std::vector<std::pair<std::string, std::string>> cases{
      {"C:\\MVTec\\HALCON-8.0", "8"},
      {"C:\\MVTec\\HALCON-11.0", "11"},
      {"C:\\MVTec\\HALCON-12.0", "12"},
      {"C:\\MVTec\\HALCON-13", "13"},
      {"C:\\MVTec\\HALCON-17.12-Progress", "17"},
      {"C:\\MVTec\\HALCON-18.11-Steady", "17"},
      {"C:\\MVTec\\HALCON-10.0", ""},
      {"C:\\MVTec\\halcon-12.0", ""},
      {"C:\\MVTec\\HALCON 12", ""},
      {"D:\\HALCON-13\\HALCON-8", "8"},
      {"D:\\HALCON-18\\HALCON-12", "12"},
  };
  for (const auto& [root, suffix] : cases) EXPECT_EQ(registration::HalconVersionSuffix(root), suffix) << root;
}

TEST(HalconVersionSuffix, AVersionTextNeverStartsInsideADoubleByteCharacter) {
  SimHost host;
  const std::string root = "D:\\\x81HALCON-12";  // 0x81 leads a double-byte character in code page 936
  host.system.ansiCodePage = platform::kCodePageSimplifiedChinese;
  EXPECT_EQ(registration::HalconVersionSuffix(root), "");
  EXPECT_EQ(registration::HalconVersionSuffix("D:\\\x81\x40HALCON-12"), "12");
  host.system.ansiCodePage = platform::kCodePageWesternEuropean;
  EXPECT_EQ(registration::HalconVersionSuffix(root), "12");
}

TEST(HalconInterfaceName, TheCompanysOwnInterfaceWinsInTheCompanysLetterCase) {
  struct Case {
    std::vector<std::string> files;
    std::string name;
  };
  const std::vector<Case> cases{
      {{"hAcqAlpha.dll", "hAcqSelvanic.dll"}, "Selvanic"},
      {{"hAcqAlpha.dll", "hAcqZeta.dll"}, "Alpha"},
      {{"hAcqAlpha.dll", "hAcqSELVANIC.dll"}, "Selvanic"},
      {{"hAcqSelvanic.DLL", "HACQSelvanic.dll", "hAcqSelvanic12.dll", "X64\\hAcqSelvanic12_X64.dll"}, ""},
      {{"hAcqSelvanic_X64.dll", "hAcqSelvanic.dll"}, "Selvanic"},
      {{}, ""},
  };
  for (const Case& c : cases) {
    SimHost host;
    host.files.AddDirectory(kSdk);
    for (const std::string& file : c.files) host.files.AddFile(kSdk + "\\" + file);
    EXPECT_EQ(registration::HalconInterfaceName(kSdk, kCompany), c.name) << ::testing::PrintToString(c.files);
  }
}

class HalconDeploymentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : {"hAcqSelvanic.dll", "hAcqSelvanic12.dll", "X64\\hAcqSelvanic12_X64.dll",
                             "hAcqSelvanic17.dll", "X64\\hAcqSelvanic17_X64.dll", "X64\\hAcqSelvanic_X64.dll"}) {
      host.files.AddFile(kSdk + "\\" + file);
    }
  }

  void AddHalcon(const std::string& root) {
    for (const char* folder : {"x86sse2-win32", "x86-win32", "x64-win64"}) {
      host.files.AddDirectory(root + "\\bin\\" + folder);
    }
  }

  SimHost host{MachineKind{false}};
};

TEST_F(HalconDeploymentTest, CopiesTheVersionedInterfaceIntoAllThreeFoldersEvenOn32BitWindows) {
  const std::string root = "C:\\Program Files\\MVTec\\HALCON-12.0";
  host.files.environment["HALCONROOT"] = root;
  AddHalcon(root);
  registration::DeployHalconInterface(kSdk, kCompany);
  EXPECT_EQ(host.files.copies,
            (std::vector<Copy>{
                {kSdk + "\\hAcqSelvanic12.dll", root + "\\bin\\x86sse2-win32\\hAcqSelvanic12.dll"},
                {kSdk + "\\hAcqSelvanic12.dll", root + "\\bin\\x86-win32\\hAcqSelvanic12.dll"},
                {kSdk + "\\X64\\hAcqSelvanic12_X64.dll", root + "\\bin\\x64-win64\\hAcqSelvanic12_X64.dll"},
            }));
}

TEST_F(HalconDeploymentTest, WithoutAVersionTextTheUnversionedFileIsCopiedAndHalcon18Takes17) {
  for (const auto& [root, name] : std::vector<std::pair<std::string, std::string>>{
           {"E:\\halcon-12", "hAcqSelvanic"}, {"E:\\HALCON-18.11", "hAcqSelvanic17"}}) {
    SimHost local{MachineKind{true}};
    local.files.AddFile(kSdk + "\\hAcqSelvanic.dll");
    local.files.AddFile(kSdk + "\\hAcqSelvanic17.dll");
    local.files.environment["HALCONROOT"] = root;
    local.files.AddDirectory(root + "\\bin\\x86-win32");
    registration::DeployHalconInterface(kSdk, kCompany);
    EXPECT_EQ(local.files.copies,
              (std::vector<Copy>{{kSdk + "\\" + name + ".dll", root + "\\bin\\x86-win32\\" + name + ".dll"}}))
        << root << ": missing destination folders and the missing 64-bit source pass silently";
  }
}

TEST_F(HalconDeploymentTest, AVariableUnsetOrShorterThanThreeCharactersEndsTheStep) {
  AddHalcon("C:\\");
  AddHalcon("C:");
  for (const char* value : {"", "C", "C:"}) {
    host.files.environment["HALCONROOT"] = value;
    registration::DeployHalconInterface(kSdk, kCompany);
  }
  host.files.environment.erase("HALCONROOT");
  registration::DeployHalconInterface(kSdk, kCompany);
  EXPECT_TRUE(host.files.copies.empty());
  EXPECT_EQ(host.files.openFinds, 0);

  host.files.environment["HALCONROOT"] = "C:\\";  // three characters: the step goes on, with a doubled separator
  registration::DeployHalconInterface(kSdk, kCompany);
  ASSERT_EQ(host.files.copies.size(), 3u);
  EXPECT_EQ(host.files.copies[0].second, "C:\\bin\\x86sse2-win32\\hAcqSelvanic.dll");
}

TEST_F(HalconDeploymentTest, AFailedCopyIsPassedAndTheOthersAreStillMade) {
  const std::string root = "D:\\HALCON-17";
  host.files.environment["HALCONROOT"] = root;
  AddHalcon(root);
  host.files.AddFile(root + "\\bin\\x86sse2-win32\\hAcqSelvanic17.dll");
  host.files.LockFile(root + "\\bin\\x86sse2-win32\\hAcqSelvanic17.dll");
  registration::DeployHalconInterface(kSdk, kCompany);
  EXPECT_EQ(host.files.copies,
            (std::vector<Copy>{
                {kSdk + "\\hAcqSelvanic17.dll", root + "\\bin\\x86-win32\\hAcqSelvanic17.dll"},
                {kSdk + "\\X64\\hAcqSelvanic17_X64.dll", root + "\\bin\\x64-win64\\hAcqSelvanic17_X64.dll"},
            }));
}

TEST_F(HalconDeploymentTest, AnSdkFolderWithoutAnInterfaceFileCopiesNothing) {
  SimHost local;
  local.files.AddFile(kSdk + "\\hAcqSelvanic12.dll");
  local.files.AddFile(kSdk + "\\hAcqSelvanic.DLL");
  local.files.environment["HALCONROOT"] = "D:\\HALCON-12";
  local.files.AddDirectory("D:\\HALCON-12\\bin\\x86-win32");
  registration::DeployHalconInterface(kSdk, kCompany);
  EXPECT_TRUE(local.files.copies.empty());
}

}  // namespace
