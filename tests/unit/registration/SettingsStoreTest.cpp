// What the settings store leaves in the registry, key by key and view by view, and its writers' rules.
#include <gtest/gtest.h>

#include "registration/SettingsStore.h"
#include "support/RunFixture.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using platform::sim::RegView;
using platform::sim::SimHost;
using testing_support::StartProgram;

const std::string kInstall = "C:\\Package Root";
const std::string kSdk = "C:\\Package Root\\SDK";

using Values = std::map<std::string, std::string>;

const Values kBothRows{{"Language", "Chinese"},
                       {"IspInterfacePath", kSdk},
                       {"DeviceInterfacePath", kSdk},
                       {"InstallPath", kInstall},
                       {"ParamFileSavePath", kInstall},
                       {"DataFileSavePath", kInstall},
                       {"CameraInfoPath", kInstall + "\\Camera\\Information"},
                       {"SdkPath", kSdk}};
const Values kX64Rows{{"Language", "Chinese"},
                      {"IspInterfacePath", kSdk + "\\X64"},
                      {"DeviceInterfacePath", kSdk + "\\X64"},
                      {"InstallPath", kInstall + "\\X64"},
                      {"ParamFileSavePath", kInstall},
                      {"DataFileSavePath", kInstall},
                      {"CameraInfoPath", kInstall + "\\Camera\\Information"},
                      {"SdkPath", kSdk + "\\X64"}};
const Values kUserRows{{"MessageAfterRecord", "TRUE"},          {"MessageAfterSnap", "TRUE"},
                       {"MessageSaveOnClose", "TRUE"},          {"ImageSavePath", kInstall + "\\Image"},
                       {"VideoSavePath", kInstall + "\\Video"}, {"UpdateInstall", "FALSE"}};

Values With(Values values, const std::string& name, const std::string& text) {
  values[name] = text;
  return values;
}

struct KeyLayout {
  platform::RegKey root;
  std::string path;
  RegView view;
  std::optional<Values> values;  // empty: the key must not exist
};

// Every key of the layout holds exactly its values, as REG_SZ with the byte counts of their writers:
// machine settings without the terminating zero, Company and user settings with it.
void ExpectLayout(const SimHost& host, const std::vector<KeyLayout>& layout) {
  for (const KeyLayout& key : layout) {
    SCOPED_TRACE(key.path + (key.view == RegView::Bits64 ? " (64-bit view)" : " (32-bit view)"));
    if (!key.values) {
      EXPECT_FALSE(host.registry.KeyExists(key.root, key.path, key.view));
      continue;
    }
    std::vector<std::string> names = host.registry.ValueNames(key.root, key.path, key.view);
    std::vector<std::string> expectedNames;
    for (const auto& [name, text] : *key.values) expectedNames.push_back(name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, expectedNames);
    const bool storesZero = key.root == kHkeyCurrentUser || key.path == "Software\\Ferrolux";
    for (const auto& [name, text] : *key.values) {
      auto value = host.registry.Value(key.root, key.path, key.view, name);
      ASSERT_TRUE(value.has_value()) << name;
      EXPECT_EQ(value->type, platform::kRegSz) << name;
      std::string bytes(value->bytes.begin(), value->bytes.end());
      EXPECT_EQ(bytes, storesZero ? text + std::string(1, '\0') : text) << name;
    }
  }
}

TEST(SettingsStore, SixtyFourBitWindowsGetsTheLayoutOfBothViews) {
  SimHost host;
  CCalvantDlg dialog;
  StartProgram(host, dialog, L" 1");
  const Values company{{"Company", "Selvanic"}};
  ExpectLayout(host, {
                         {kHkeyLocalMachine, "Software\\Ferrolux", RegView::Bits32, company},
                         {kHkeyLocalMachine, "Software\\Ferrolux", RegView::Bits64, company},
                         {kHkeyLocalMachine, "Software\\Selvanic\\Settings", RegView::Bits32, kBothRows},
                         {kHkeyLocalMachine, "Software\\Selvanic\\Settings", RegView::Bits64,
                          With(kBothRows, "WindowsPath", "C:\\windows")},
                         {kHkeyLocalMachine, "Software\\Selvanic\\Settings_X64", RegView::Bits64, kX64Rows},
                         {kHkeyLocalMachine, "Software\\Selvanic\\Settings_X64", RegView::Bits32, std::nullopt},
                         {kHkeyCurrentUser, "Software\\Selvanic\\Lumetra\\Settings", RegView::Bits32, kUserRows},
                         {kHkeyCurrentUser, "Software\\Selvanic\\Lumetra\\Settings_X64", RegView::Bits32, kUserRows},
                     });
}

TEST(SettingsStore, ThirtyTwoBitWindowsGetsEachKeyOnce) {
  SimHost host({false});
  CCalvantDlg dialog;
  StartProgram(host, dialog, L" 1");
  ExpectLayout(host, {
                         {kHkeyLocalMachine, "Software\\Ferrolux", RegView::Bits32, Values{{"Company", "Selvanic"}}},
                         {kHkeyLocalMachine, "Software\\Selvanic\\Settings", RegView::Bits32,
                          With(kBothRows, "WindowsPath", "C:\\windows")},
                         {kHkeyLocalMachine, "Software\\Selvanic\\Settings_X64", RegView::Bits32, kX64Rows},
                         {kHkeyCurrentUser, "Software\\Selvanic\\Lumetra\\Settings", RegView::Bits32, kUserRows},
                         {kHkeyCurrentUser, "Software\\Selvanic\\Lumetra\\Settings_X64", RegView::Bits32, kUserRows},
                     });
  EXPECT_FALSE(host.registry.KeyExists(kHkeyLocalMachine, "Software\\Wow6432Node", RegView::Bits64));
}

TEST(SettingsStore, EachKeyIsOpenedWithItsAccessAndView) {
  SimHost host;
  CCalvantDlg dialog;
  StartProgram(host, dialog, L" 1");
  std::vector<std::pair<std::string, std::uint32_t>> opened;
  for (const auto& request : host.registry.requests) {
    if (request.call == "RegCreateKeyExA") opened.emplace_back(request.subKey, request.samDesired);
  }
  // Company twice, then per row: both views (2 keys), X64 (1 key), ... users (2 keys), WindowsPath.
  std::vector<std::pair<std::string, std::uint32_t>> expected{{"Software\\Ferrolux", 0xF003F},
                                                              {"Software\\Ferrolux", 0xF013F}};
  for (int row = 0; row < 8; ++row) {
    expected.insert(expected.end(), {{"Software\\Selvanic\\Settings", 0xF003F},
                                     {"Software\\Selvanic\\Settings", 0xF013F},
                                     {"Software\\Selvanic\\Settings_X64", 0xF013F}});
  }
  for (int row = 0; row < 6; ++row) {
    expected.insert(expected.end(), {{"Software\\Selvanic\\Lumetra\\Settings", 0x2001F},
                                     {"Software\\Selvanic\\Lumetra\\Settings_X64", 0x2001F}});
  }
  expected.emplace_back("Software\\Selvanic\\Settings", 0xF013F);
  EXPECT_EQ(opened, expected);
  EXPECT_EQ(host.registry.openKeys, 0) << "every key is closed again";
}

TEST(SettingsStore, TheLanguageWordFollowsTheLanguageChoice) {
  for (const auto& [radio, word] : std::vector<std::pair<int, std::string>>{
           {0, "English"}, {1, "Chinese"}, {2, "TradChinese"}, {5, "TradChinese"}, {-1, "TradChinese"}}) {
    const auto settings = registration::PlatformSettings(radio, kSdk, kInstall);
    EXPECT_EQ(settings[0].text, word);
    EXPECT_EQ(settings[1].text, word);
  }
}

class WriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing_support::ResetProcessState();
    registration::Wow64Active = 1;
    registration::BuildSettingsKeys("Selvanic");
  }
  std::optional<platform::sim::StoredValue> Machine(RegView view, const std::string& name) {
    return host.registry.Value(kHkeyLocalMachine, "Software\\Selvanic\\Settings", view, name);
  }
  SimHost host;
};

TEST_F(WriterTest, AMachineSettingFailsOnlyWhenItsFirstKeyCannotBeOpened) {
  host.registry.LockKey(kHkeyLocalMachine, "Software\\Selvanic\\Settings", RegView::Bits32);
  EXPECT_EQ(registration::WriteMachineSetting("A", "x", 1, 0), 0);
  EXPECT_FALSE(Machine(RegView::Bits64, "A")) << "nothing is written, not even to the second key";

  SimHost secondLocked;
  secondLocked.registry.LockKey(kHkeyLocalMachine, "Software\\Selvanic\\Settings", RegView::Bits64);
  EXPECT_EQ(registration::WriteMachineSetting("B", "y", 1, 0), 1);
  EXPECT_TRUE(secondLocked.registry.Value(kHkeyLocalMachine, "Software\\Selvanic\\Settings", RegView::Bits32, "B"));

  SimHost writeRefused;
  writeRefused.machine.faults.Fail("RegSetValueExA", platform::kErrorAccessDenied);
  EXPECT_EQ(registration::WriteMachineSetting("C", "z", 0, 1), 1) << "a refused write passes unnoticed";
}

TEST_F(WriterTest, AnEmptyMachineValueStoresNoBytes) {
  EXPECT_EQ(registration::WriteMachineSetting("Empty", "", 0, 0), 1);
  ASSERT_TRUE(Machine(RegView::Bits64, "Empty"));
  EXPECT_TRUE(Machine(RegView::Bits64, "Empty")->bytes.empty());
}

TEST_F(WriterTest, AUserSettingWritesTheFirstKeyThenReportsTheSecondKeysFailure) {
  host.registry.LockKey(kHkeyCurrentUser, "Software\\Selvanic\\Lumetra\\Settings_X64", RegView::Bits32);
  EXPECT_EQ(registration::WriteUserSetting("UpdateInstall", "FALSE"), 0);
  auto written =
      host.registry.Value(kHkeyCurrentUser, "Software\\Selvanic\\Lumetra\\Settings", RegView::Bits32, "UpdateInstall");
  ASSERT_TRUE(written);
  EXPECT_EQ(written->Text(), "FALSE");
  EXPECT_EQ(host.registry.openKeys, 0);

  SimHost firstLocked;
  firstLocked.registry.LockKey(kHkeyCurrentUser, "Software\\Selvanic\\Lumetra\\Settings", RegView::Bits32);
  EXPECT_EQ(registration::WriteUserSetting("UpdateInstall", "FALSE"), 0);
  EXPECT_TRUE(firstLocked.registry.Value(kHkeyCurrentUser, "Software\\Selvanic\\Lumetra\\Settings_X64", RegView::Bits32,
                                         "UpdateInstall"))
      << "a failure in the first key does not keep the second from being written";
}

TEST(SettingsStoreRuns, ASecondRunOverwritesItsOwnValuesAndKeepsOthers) {
  SimHost host;
  host.registry.SetString(kHkeyLocalMachine, "Software\\Selvanic\\Settings", RegView::Bits32, "InstallPath", "old");
  host.registry.SetString(kHkeyLocalMachine, "Software\\Selvanic\\Settings", RegView::Bits32, "Custom", "kept");
  CCalvantDlg first;
  StartProgram(host, first, L" 0");
  const auto afterFirst = host.registry.Snapshot();
  CCalvantDlg second;
  StartProgram(host, second, L" 0");
  EXPECT_EQ(host.registry.Snapshot(), afterFirst);
  EXPECT_EQ(
      host.registry.Value(kHkeyLocalMachine, "Software\\Selvanic\\Settings", RegView::Bits32, "InstallPath")->Text(),
      kInstall);
  EXPECT_EQ(host.registry.Value(kHkeyLocalMachine, "Software\\Selvanic\\Settings", RegView::Bits32, "Custom")->Text(),
            "kept");
}

TEST(SettingsStoreRuns, AFailedCompanyWriteGoesUnnoticed) {
  SimHost host;
  host.registry.LockKey(kHkeyLocalMachine, "Software\\Ferrolux", RegView::Bits32);
  CCalvantDlg dialog;
  StartProgram(host, dialog, L"");
  EXPECT_EQ(dialog.CompanyName, "Selvanic");
  ASSERT_EQ(host.ui.messageBoxes.size(), 1u);
  EXPECT_EQ(host.ui.messageBoxes[0].caption, "Lumetra") << "the run ends with its success message";
  EXPECT_FALSE(host.registry.Value(kHkeyLocalMachine, "Software\\Ferrolux", RegView::Bits64, "Company"))
      << "the first failure ends the Company write";
}

}  // namespace
