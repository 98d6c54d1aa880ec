// The setup dialog's initialisation on the simulated host: version flags, package paths, command line and
// the unattended path.
#include <gtest/gtest.h>

#include <string>

#include "app/CalvantDlg.h"
#include "app/VersionFlags.h"
#include "messages/MessageTable.h"
#include "platform/WinConstants.h"
#include "platform/sim/SimHost.h"
#include "resources/resource.h"

namespace {

using platform::sim::DialogSession;
using platform::sim::SimHost;

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    messages::LanguageIndex = -1;
    app::IsVistaOrLater = 0;
    app::IsWin10OrLater = 0;
    host.system.moduleFileName = "C:\\Package\\Calvant\\calvant.exe";
    host.system.currentDirectory = "C:\\Users\\Operator";
  }

  void StartWith(const std::wstring& arguments) {
    host.system.commandLine = L"\"C:\\Package\\Calvant\\calvant.exe\"" + arguments;
  }

  // Runs the dialog; an interactive dialog is cancelled once it waits, after the check has looked at it.
  std::intptr_t Run(const std::function<void(DialogSession&)>& whileWaiting = {}) {
    host.ui.Script(IDD_CALVANT_DIALOG, [&](DialogSession& session) {
      waited = true;
      if (whileWaiting) whileWaiting(session);
      session.PressEscape();
    });
    return dialog.DoModal();
  }

  SimHost host;
  CCalvantDlg dialog;
  bool waited = false;
};

TEST_F(StartupTest, WithoutArgumentsTheDialogWaitsWithItsDefaultsAndTheParentPackageFolders) {
  StartWith(L"");
  Run([](DialogSession& session) {
    EXPECT_FALSE(session.IsChecked(IDC_RADIO_ENGLISH));
    EXPECT_TRUE(session.IsChecked(IDC_RADIO_SIMPLIFIED_CHINESE));
    EXPECT_FALSE(session.IsChecked(IDC_RADIO_TRADITIONAL_CHINESE));
    EXPECT_TRUE(session.IsChecked(IDC_CHECK_USB_CAMERA));
    EXPECT_FALSE(session.IsChecked(IDC_CHECK_GIGE_CAMERA));
    EXPECT_EQ(messages::LanguageIndex, -1);
  });
  EXPECT_TRUE(waited);
  EXPECT_EQ(dialog.ProgramDir, "C:\\Package\\Calvant");
  EXPECT_EQ(host.system.currentDirectory, "C:\\Package\\Calvant");
  EXPECT_EQ(dialog.InstallDir, "C:\\Package");
  EXPECT_EQ(dialog.SdkDir, "C:\\Package\\SDK");
  EXPECT_EQ(dialog.DriversDir, "C:\\Package\\Drivers");
  EXPECT_EQ(dialog.Unattended, 0);
  EXPECT_EQ(dialog.DriverMask, 1u);
}

TEST_F(StartupTest, TheSystemMenuGainsTheAboutEntryAndTheWindowBothIcons) {
  host.system.ansiCodePage = platform::kCodePageSimplifiedChinese;
  Run([](DialogSession& session) {
    const auto menu = session.SystemMenu();
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_EQ(menu[0].flags, platform::kMfSeparator);
    EXPECT_EQ(menu[1].flags, platform::kMfString);
    EXPECT_EQ(menu[1].id, 0x0010u);
    EXPECT_EQ(menu[1].text, "\xB9\xD8\xD3\xDA Calvant(&A)...");  // 关于 in code page 936
    const auto icons = session.Icons();
    EXPECT_EQ(icons.at(platform::kIconBig), platform::sim::SimUi::kProgramIcon);
    EXPECT_EQ(icons.at(platform::kIconSmall), platform::sim::SimUi::kProgramIcon);
  });
}

TEST_F(StartupTest, WithoutASystemMenuOrAboutStringTheEntryIsLeftOut) {
  for (bool menuMissing : {true, false}) {
    SimHost local;
    local.ui.systemMenuMissing = menuMissing;
    local.ui.stringsMissing = !menuMissing;
    CCalvantDlg localDialog;
    local.ui.Script(IDD_CALVANT_DIALOG, [](DialogSession& session) {
      EXPECT_TRUE(session.SystemMenu().empty());
      session.PressEscape();
    });
    EXPECT_EQ(localDialog.DoModal(), platform::kIdCancel);
  }
}

TEST_F(StartupTest, VersionFlagsFollowTheMajorVersionOfA148ByteQuery) {
  struct Case {
    std::uint32_t major, minor;
    bool fails;
    std::int32_t vista, win10;
  };
  for (const Case& c :
       {Case{5, 1, false, 0, 0}, Case{5, 2, false, 0, 0}, Case{6, 0, false, 1, 0}, Case{6, 3, false, 1, 0},
        Case{10, 0, false, 1, 1}, Case{11, 0, false, 1, 1}, Case{10, 0, true, 0, 0}}) {
    SimHost local;
    local.system.version = {c.major, c.minor, 1};
    if (c.fails) local.machine.faults.Fail("GetVersionExA", platform::kErrorInvalidFunction);
    local.system.commandLine = L"calvant.exe 1";
    CCalvantDlg localDialog;
    localDialog.DoModal();
    EXPECT_EQ(local.system.versionQuerySizes, std::vector<std::uint32_t>{148});
    EXPECT_EQ(app::IsVistaOrLater, c.vista) << c.major << '.' << c.minor;
    EXPECT_EQ(app::IsWin10OrLater, c.win10) << c.major << '.' << c.minor;
  }
}

struct UnattendedCase {
  std::wstring arguments;
  std::int32_t language;
  std::uint32_t driverMask;
  std::string installDir, sdkDir, driversDir;
};

TEST_F(StartupTest, ALanguageArgumentRunsUnattendedAndEndsWithoutWaiting) {
  const std::string package = "C:\\Package";
  const std::vector<UnattendedCase> cases{
      {L" 1", 1, 0x01, package, package + "\\SDK", package + "\\Drivers"},
      {L" 0 g", 0, 0x02, package, package + "\\SDK", package + "\\Drivers"},
      {L" 2 ra", 2, 0x83, package, package + "\\SDK", package + "\\Drivers"},
      {L" 1 ru", 1, 0x81, package, package + "\\SDK", package + "\\Drivers"},
      {L" 1 rg", 1, 0x82, package, package + "\\SDK", package + "\\Drivers"},
      {L" 1 a", 1, 0x03, package, package + "\\SDK", package + "\\Drivers"},
      {L" 1 U", 1, 0x01, package, package + "\\SDK", package + "\\Drivers"},
      {L" 1 bogus", 1, 0x01, package, package + "\\SDK", package + "\\Drivers"},
      {L" 1 u \"\" D:\\Sdk", 1, 0x01, package, "D:\\Sdk", package + "\\Drivers"},
      {L" 1 u \"\" \"\" Drv", 1, 0x01, package, package + "\\SDK", package + "\\Calvant\\Drv"},
      {L" 1 u E:\\Lumetra\\.\\x\\.. ..\\..\\Sdk \"D:\\With Space\\Drivers\"", 1, 0x01, "E:\\Lumetra", "C:\\Sdk",
       "D:\\With Space\\Drivers"},
      {L" 1 u I S D extra \"more args\"", 1, 0x01, package + "\\Calvant\\I", package + "\\Calvant\\S",
       package + "\\Calvant\\D"},
  };
  for (const UnattendedCase& c : cases) {
    SimHost local;
    local.system.commandLine = L"\"C:\\Package\\Calvant\\calvant.exe\"" + c.arguments;
    CCalvantDlg localDialog;
    EXPECT_EQ(localDialog.DoModal(), 0);
    EXPECT_TRUE(local.ui.dialogsShown.empty());
    EXPECT_EQ(messages::LanguageIndex, c.language);
    EXPECT_EQ(localDialog.LanguageRadio, c.language);
    EXPECT_EQ(localDialog.Unattended, 1);
    EXPECT_EQ(localDialog.DriverMask, c.driverMask);
    EXPECT_EQ(localDialog.InstallDir, c.installDir);
    EXPECT_EQ(localDialog.SdkDir, c.sdkDir);
    EXPECT_EQ(localDialog.DriversDir, c.driversDir);
    EXPECT_TRUE(local.ui.messageBoxes.empty());
  }
}

TEST_F(StartupTest, AnyOtherFirstArgumentShowsTheDialogAndLeavesTheDriversToTheCheckBoxes) {
  for (const std::wstring arguments : {L" 3 g", L" one a", L" \"\" g", L" 1x g", L" \" 1\" g"}) {
    SimHost local;
    local.system.commandLine = L"calvant.exe" + arguments;
    CCalvantDlg localDialog;
    local.ui.Script(IDD_CALVANT_DIALOG, [](DialogSession& session) { session.PressEnter(); });
    EXPECT_EQ(localDialog.DoModal(), platform::kIdOk);
    EXPECT_EQ(local.ui.dialogsShown, std::vector<int>{IDD_CALVANT_DIALOG});
    EXPECT_EQ(localDialog.Unattended, 0);
    EXPECT_EQ(localDialog.DriverMask, 1u) << "OK takes the drivers from the check boxes";
    EXPECT_EQ(messages::LanguageIndex, 1);
  }
}

TEST_F(StartupTest, AnArgumentThatCannotBeConvertedCountsAsEmpty) {
  host.system.ansiCodePage = platform::kCodePageWesternEuropean;
  StartWith(L" 1 u \u4E2D D:\\\u4E2D\u6587 D:\\Drivers");
  EXPECT_EQ(dialog.DoModal(), 0);
  EXPECT_EQ(dialog.InstallDir, "C:\\Package");
  EXPECT_EQ(dialog.SdkDir, "C:\\Package\\SDK");
  EXPECT_EQ(dialog.DriversDir, "D:\\Drivers");

  SimHost chinese;
  chinese.system.ansiCodePage = platform::kCodePageSimplifiedChinese;
  chinese.system.commandLine = L"calvant.exe 1 u \"\" D:\\\u4E2D\u6587";
  CCalvantDlg chineseDialog;
  chineseDialog.DoModal();
  EXPECT_EQ(chineseDialog.SdkDir, "D:\\\xD6\xD0\xCE\xC4");  // 中文 in code page 936

  SimHost unconvertibleLanguage;
  unconvertibleLanguage.system.commandLine = L"calvant.exe \u0661";  // an Arabic-Indic one
  CCalvantDlg interactive;
  unconvertibleLanguage.ui.Script(IDD_CALVANT_DIALOG, [](DialogSession& session) { session.PressEscape(); });
  EXPECT_EQ(interactive.DoModal(), platform::kIdCancel);
}

TEST_F(StartupTest, ACommandLineThatCannotBeSplitCountsAsNoArguments) {
  host.machine.faults.Fail("CommandLineToArgvW", platform::kErrorInvalidFunction);
  StartWith(L" 1 g D:\\Elsewhere");
  EXPECT_EQ(Run(), platform::kIdCancel);
  EXPECT_TRUE(waited);
  EXPECT_EQ(dialog.InstallDir, "C:\\Package");
}

TEST_F(StartupTest, TheProgramDirectoryIsFoundWithADoubleByteAwareSearch) {
  struct Case {
    std::uint32_t codePage;
    std::string modulePath;
    std::string programDir;
  };
  const std::vector<Case> cases{
      // 乗 in code page 936 and 么 in code page 950 both end in the byte 0x5C.
      {936, "C:\\Pkg\\\x81\x5C\\calvant.exe", "C:\\Pkg\\\x81\x5C"},
      {936, "C:\\Pkg\\calvant\x81\x5C", "C:\\Pkg"},
      {950, "C:\\Pkg\\\xA4\x5C\\calvant.exe", "C:\\Pkg\\\xA4\x5C"},
      {950,
       "C:\\Pkg\\\xA4\x5C"
       "calvant.exe",
       "C:\\Pkg"},
      {1252,
       "C:\\Pkg\\\xA4\x5C"
       "calvant.exe",
       "C:\\Pkg\\\xA4"},
      {936, "calvant.exe", ""},
  };
  for (const Case& c : cases) {
    SimHost local;
    local.system.ansiCodePage = c.codePage;
    local.system.moduleFileName = c.modulePath;
    local.system.commandLine = L"calvant.exe 1";
    CCalvantDlg localDialog;
    localDialog.DoModal();
    EXPECT_EQ(localDialog.ProgramDir, c.programDir) << c.modulePath;
  }
}

TEST_F(StartupTest, AProgramDirectoryThatCannotBeEnteredStillHoldsThePackageBesideIt) {
  host.machine.faults.Fail("SetCurrentDirectoryA", platform::kErrorAccessDenied);
  StartWith(L" 1 u \"\" \"\" Drv");
  dialog.DoModal();
  EXPECT_EQ(dialog.ProgramDir, "C:\\Package\\Calvant");
  EXPECT_EQ(host.system.currentDirectory, "C:\\Users\\Operator");
  EXPECT_EQ(dialog.InstallDir, "C:\\Package");
  EXPECT_EQ(dialog.SdkDir, "C:\\Package\\SDK");
  EXPECT_EQ(dialog.DriversDir, "C:\\Package\\Calvant\\Drv");
}

TEST_F(StartupTest, PathsLongerThanTheirBuffersAreKeptWholeNeverCut) {
  // The program's path (262 characters) does not fit the first buffer; its folder still can be entered.
  const std::string parent = "C:\\" + std::string(120, 'p');
  const std::string programFolder = parent + "\\" + std::string(126, 'q');
  host.system.moduleFileName = programFolder + "\\calvant.exe";
  ASSERT_GT(host.system.moduleFileName.size(), platform::kMaxPath);
  const std::string longDrivers = "D:\\" + std::string(280, 'd');
  StartWith(L" 1 u \"\" \"\" " + std::wstring(longDrivers.begin(), longDrivers.end()));
  dialog.DoModal();
  EXPECT_EQ(dialog.ProgramDir, programFolder);
  EXPECT_EQ(host.system.currentDirectory, programFolder);
  EXPECT_EQ(dialog.InstallDir, parent);
  EXPECT_EQ(dialog.SdkDir, parent + "\\SDK");
  EXPECT_EQ(dialog.DriversDir, longDrivers);
}

TEST_F(StartupTest, AFolderTooLongForTheAnsiPathCallIsResolvedByItsTextAndKeptWhole) {
  // GetFullPathNameA refuses names of 260 characters or more; "." and ".." are then resolved by the text.
  const std::string deep(270, 'd');
  StartWith(L" 1 u \\\\Server\\Share\\..\\..\\" + std::wstring(deep.begin(), deep.end()) + L" ..\\" +
            std::wstring(deep.begin(), deep.end()) + L"\\.\\x\\.. D:\\" + std::wstring(deep.begin(), deep.end()) +
            L"\\..\\..");
  dialog.DoModal();
  EXPECT_EQ(dialog.InstallDir, "\\\\Server\\Share\\" + deep) << "never above the share";
  EXPECT_EQ(dialog.SdkDir, "C:\\Package\\" + deep);
  EXPECT_EQ(dialog.DriversDir, "D:\\") << "never above the drive";
}

TEST_F(StartupTest, AProgramPathWindowsCannotNameGivesAnEmptyProgramDirectory) {
  host.machine.faults.Fail("GetModuleFileNameA", platform::kErrorAccessDenied);
  StartWith(L" 1");
  dialog.DoModal();
  EXPECT_EQ(dialog.ProgramDir, "");
  EXPECT_EQ(dialog.InstallDir, "C:\\Users") << "with no program folder, the current directory is all there is";
}

}  // namespace
