// The registration run's order, its numbered failures, its messages in three languages and the window in
// which WOW64 file-system redirection is off.
#include <gtest/gtest.h>

#include "support/RunFixture.h"

namespace {

using platform::kHkeyLocalMachine;
using platform::sim::MessageBoxRecord;
using platform::sim::RegView;
using platform::sim::SimHost;
using testing_support::Message;
using testing_support::StartProgram;

const std::wstring kLanguageArgument[] = {L" 0", L" 1", L" 2"};

int Count(const std::vector<std::string>& events, const std::string& event) {
  return static_cast<int>(std::count(events.begin(), events.end(), event));
}

class RegistrationRunTest : public ::testing::Test {
 protected:
  // Each message box records whether redirection was off while it was up.
  void WatchRedirection(SimHost& host) {
    host.ui.onMessageBox = [&](const MessageBoxRecord&) {
      redirectionOffAtBox.push_back(host.machine.redirectionDisabled);
    };
  }
  std::vector<bool> redirectionOffAtBox;
};

TEST_F(RegistrationRunTest, ASettingsKeyThatCannotBeOpenedStopsTheRunWithErrorOne) {
  for (int language = 0; language < 3; ++language) {
    SimHost host;
    WatchRedirection(host);
    host.modules.libraries["C:\\Package Root\\SDK\\Ferrocam.ocx"] = {};
    host.registry.LockKey(kHkeyLocalMachine, "Software\\Selvanic\\Settings", RegView::Bits32);
    CCalvantDlg dialog;
    StartProgram(host, dialog, kLanguageArgument[language]);
    ASSERT_EQ(host.ui.messageBoxes.size(), 1u);
    EXPECT_EQ(host.ui.messageBoxes[0].text, Message(messages::kRowRegistrationFailed, language) + "\r\nerr=1");
    EXPECT_EQ(host.ui.messageBoxes[0].caption, Message(messages::kRowErrorCaption, language));
    EXPECT_EQ(host.ui.messageBoxes[0].type, platform::kMbOk);
    EXPECT_EQ(redirectionOffAtBox, std::vector<bool>{true}) << "the box comes before the switch-back";
    EXPECT_FALSE(host.machine.redirectionDisabled);
    EXPECT_EQ(Count(host.modules.events, "revert"), 1);
    EXPECT_EQ(Count(host.modules.events, "load C:\\Package Root\\SDK\\Ferrocam.ocx"), 0) << "nothing after the failure";
    EXPECT_FALSE(
        host.registry.Value(kHkeyLocalMachine, "Software\\Selvanic\\Settings", RegView::Bits64, "WindowsPath"));
    redirectionOffAtBox.clear();
  }
}

TEST_F(RegistrationRunTest, TheWindowsPathWriteFailsWithErrorOneToo) {
  SimHost host;
  // The 64-bit view of the settings key: the rows for both views pass over it unnoticed, WindowsPath does not.
  host.registry.LockKey(kHkeyLocalMachine, "Software\\Selvanic\\Settings", RegView::Bits64);
  CCalvantDlg dialog;
  StartProgram(host, dialog, L" 0");
  ASSERT_EQ(host.ui.messageBoxes.size(), 1u);
  EXPECT_EQ(host.ui.messageBoxes[0].text, Message(messages::kRowRegistrationFailed, 0) + "\r\nerr=1");
  EXPECT_TRUE(host.registry.Value(kHkeyLocalMachine, "Software\\Selvanic\\Settings", RegView::Bits32, "SdkPath"));
  EXPECT_TRUE(host.registry.Value(platform::kHkeyCurrentUser, "Software\\Selvanic\\Lumetra\\Settings", RegView::Bits32,
                                  "UpdateInstall"));
}

TEST_F(RegistrationRunTest, ASystemDirectoryThatCannotBeReadStopsTheRunWithErrorTwo) {
  for (bool is64Bit : {true, false}) {
    SimHost host({is64Bit});
    host.machine.faults.Fail("GetSystemDirectoryA", platform::kErrorAccessDenied);
    CCalvantDlg dialog;
    StartProgram(host, dialog, L" 2");
    ASSERT_EQ(host.ui.messageBoxes.size(), 1u);
    EXPECT_EQ(host.ui.messageBoxes[0].text, Message(messages::kRowRegistrationFailed, 2) + "\r\nerr=2");
    EXPECT_EQ(host.ui.messageBoxes[0].caption, "\xBF\xF9\xBB\x7E");  // 錯誤 in code page 950
    EXPECT_EQ(Count(host.modules.events, "revert"), is64Bit ? 1 : 0);
    for (RegView view : {RegView::Bits32, RegView::Bits64}) {
      EXPECT_FALSE(host.registry.Value(kHkeyLocalMachine, "Software\\Selvanic\\Settings", view, "WindowsPath"));
    }
  }
}

TEST_F(RegistrationRunTest, AMissingRedirectionEntryPointShowsTheLoadFailureAfterTheCleanUpOnly) {
  for (const char* missing : {"Wow64DisableWow64FsRedirection", "Wow64RevertWow64FsRedirection"}) {
    for (int language = 0; language < 3; ++language) {
      SimHost host;
      host.modules.missingKernelExports.insert(missing);
      host.registry.CreateKey(platform::kHkeyClassesRoot,
                              "CLSID\\{860BB310-5D01-11d0-BD3B-00A0C911CE86}\\Instance\\"
                              "{F53B54C0-31C6-4147-B369-3415979A8E01}",
                              RegView::Bits32);
      CCalvantDlg dialog;
      StartProgram(host, dialog, kLanguageArgument[language]);
      ASSERT_EQ(host.ui.messageBoxes.size(), 1u);
      EXPECT_EQ(host.ui.messageBoxes[0].text, Message(messages::kRowApiLoadFailed, language));
      EXPECT_EQ(host.ui.messageBoxes[0].caption, Message(messages::kRowErrorCaption, language));
      EXPECT_TRUE(host.modules.events.empty()) << "redirection was never touched";
      EXPECT_EQ(registration::Wow64Active, 1);
      EXPECT_FALSE(host.registry.KeyExists(platform::kHkeyClassesRoot,
                                           "CLSID\\{860BB310-5D01-11d0-BD3B-00A0C911CE86}\\Instance\\"
                                           "{F53B54C0-31C6-4147-B369-3415979A8E01}",
                                           RegView::Bits32))
          << "the filter clean-up came first";
      EXPECT_FALSE(host.registry.KeyExists(kHkeyLocalMachine, "Software\\Ferrolux", RegView::Bits32));
    }
  }
}

TEST_F(RegistrationRunTest, ARefusedSwitchOffShowsTheSystemErrorNumber) {
  const std::string expected[] = {"Operation failed! Error code:5", Message(messages::kRowOperationFailed, 1),
                                  Message(messages::kRowOperationFailed, 2)};
  for (int language = 0; language < 3; ++language) {
    SimHost host;
    host.machine.faults.Fail("Wow64DisableWow64FsRedirection", platform::kErrorAccessDenied);
    CCalvantDlg dialog;
    StartProgram(host, dialog, kLanguageArgument[language]);
    ASSERT_EQ(host.ui.messageBoxes.size(), 1u);
    std::string text = expected[language];
    if (language > 0) text.replace(text.find("%d"), 2, "5");
    EXPECT_EQ(host.ui.messageBoxes[0].text, text);
    EXPECT_EQ(host.ui.messageBoxes[0].caption, Message(messages::kRowErrorCaption, language));
    EXPECT_EQ(Count(host.modules.events, "revert"), 0) << "never switched off, never switched back";
    EXPECT_FALSE(host.registry.KeyExists(kHkeyLocalMachine, "Software\\Ferrolux", RegView::Bits32));
  }
}

TEST_F(RegistrationRunTest, ASuccessfulRunShowsItsMessageOnlyWhenAPersonStartedIt) {
  for (bool is64Bit : {true, false}) {
    for (int language = 0; language < 3; ++language) {
      SimHost host({is64Bit});
      WatchRedirection(host);
      CCalvantDlg dialog;
      host.ui.Script(IDD_CALVANT_DIALOG, [language](platform::sim::DialogSession& session) {
        session.Click(IDC_RADIO_ENGLISH + language);
        session.PressEnter();
      });
      StartProgram(host, dialog, L"");
      ASSERT_EQ(host.ui.messageBoxes.size(), 1u);
      EXPECT_EQ(host.ui.messageBoxes[0].text, Message(messages::kRowInstallSuccess, language));
      EXPECT_EQ(host.ui.messageBoxes[0].caption, "Lumetra");
      EXPECT_EQ(host.ui.messageBoxes[0].type, platform::kMbOk);
      EXPECT_EQ(host.ui.messageBoxes[0].owner, 0x10000u) << "owned by the setup dialog";
      EXPECT_EQ(redirectionOffAtBox, std::vector<bool>{false});
      const std::vector<std::string> switches =
          is64Bit ? std::vector<std::string>{"disable", "revert"} : std::vector<std::string>{};
      EXPECT_EQ(host.modules.events, switches);
      EXPECT_EQ(registration::Wow64Active, is64Bit ? 1 : 0);
      redirectionOffAtBox.clear();

      SimHost unattended({is64Bit});
      CCalvantDlg quiet;
      StartProgram(unattended, quiet, kLanguageArgument[language]);
      EXPECT_TRUE(unattended.ui.messageBoxes.empty());
    }
  }
}

TEST_F(RegistrationRunTest, TheControlRegistersItselfWhileRedirectionIsOff) {
  SimHost host;
  bool offDuringRegistration = false;
  host.modules.libraries["C:\\Package Root\\SDK\\Ferrocam.ocx"] = platform::sim::SimLibrary{
      true, static_cast<std::int32_t>(0x80004005), [&] { offDuringRegistration = host.machine.redirectionDisabled; }};
  CCalvantDlg dialog;
  StartProgram(host, dialog, L" 0");
  EXPECT_TRUE(offDuringRegistration);
  EXPECT_EQ(host.modules.events, (std::vector<std::string>{"disable", "load C:\\Package Root\\SDK\\Ferrocam.ocx",
                                                           "register C:\\Package Root\\SDK\\Ferrocam.ocx",
                                                           "free C:\\Package Root\\SDK\\Ferrocam.ocx", "revert"}));
  EXPECT_TRUE(host.ui.messageBoxes.empty()) << "a failed registration is not reported";
}

TEST_F(RegistrationRunTest, TheRunLeavesNothingOutsideItsTargets) {
  SimHost host;
  host.registry.SetString(kHkeyLocalMachine, "Software\\Other\\Settings", RegView::Bits32, "InstallPath", "x");
  host.registry.SetString(platform::kHkeyCurrentUser, "Software\\Other", RegView::Bits32, "Keep", "y");
  CCalvantDlg dialog;
  StartProgram(host, dialog, L" 1");
  std::vector<std::string> outside;
  for (const std::string& line : host.registry.Snapshot()) {
    const bool target = line.find("\\Selvanic") != std::string::npos || line.find("\\Ferrolux") != std::string::npos;
    if (!target) outside.push_back(line);
  }
  EXPECT_EQ(outside, (std::vector<std::string>{"HKCU", "HKCU\\Software", "HKCU\\Software\\Other",
                                               "HKCU\\Software\\Other: Keep=1:7900", "HKLM", "HKLM\\Software",
                                               "HKLM\\Software\\Wow6432Node", "HKLM\\Software\\Wow6432Node\\Other",
                                               "HKLM\\Software\\Wow6432Node\\Other\\Settings",
                                               "HKLM\\Software\\Wow6432Node\\Other\\Settings: InstallPath=1:7800"}));
}

}  // namespace
