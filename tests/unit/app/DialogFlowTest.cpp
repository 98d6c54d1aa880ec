// The setup dialog as a person uses it, and the application's start-up sequence, on the simulated host.
#include <gtest/gtest.h>

#include "app/CalvantApp.h"
#include "app/CalvantDlg.h"
#include "messages/MessageTable.h"
#include "platform/WinConstants.h"
#include "platform/sim/SimHost.h"
#include "resources/resource.h"

namespace {

using platform::sim::DialogSession;
using platform::sim::SimHost;

class DialogFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    messages::LanguageIndex = -1;
    host.system.commandLine = L"calvant.exe";
  }

  std::intptr_t RunDialog(std::function<void(DialogSession&)> script) {
    host.ui.Script(IDD_CALVANT_DIALOG, std::move(script));
    return dialog.DoModal();
  }

  SimHost host;
  CCalvantDlg dialog;
};

TEST_F(DialogFlowTest, OkTakesTheLanguageAndTheDriversFromTheControls) {
  struct Case {
    int radio;
    bool usb, gige;
    std::int32_t language;
    std::uint32_t driverMask;
  };
  for (const Case& c :
       {Case{IDC_RADIO_ENGLISH, true, false, 0, 1}, Case{IDC_RADIO_SIMPLIFIED_CHINESE, false, true, 1, 2},
        Case{IDC_RADIO_TRADITIONAL_CHINESE, true, true, 2, 3}, Case{IDC_RADIO_ENGLISH, false, false, 0, 0}}) {
    SimHost local;
    local.system.commandLine = L"calvant.exe 5 ra";  // not a language: argument 2 has no lasting effect
    CCalvantDlg localDialog;
    local.ui.Script(IDD_CALVANT_DIALOG, [&](DialogSession& session) {
      session.Click(c.radio);
      if (!c.usb) session.Click(IDC_CHECK_USB_CAMERA);
      if (c.gige) session.Click(IDC_CHECK_GIGE_CAMERA);
      session.Click(platform::kIdOk);
    });
    EXPECT_EQ(localDialog.DoModal(), platform::kIdOk);
    EXPECT_EQ(messages::LanguageIndex, c.language);
    EXPECT_EQ(localDialog.LanguageRadio, c.language);
    EXPECT_EQ(localDialog.DriverMask, c.driverMask);
    EXPECT_EQ(localDialog.UsbCameraChecked, c.usb ? 1 : 0);
    EXPECT_EQ(localDialog.GigeCameraChecked, c.gige ? 1 : 0);
    EXPECT_EQ(localDialog.Unattended, 0);
  }
}

TEST_F(DialogFlowTest, EnterActivatesOk) {
  EXPECT_EQ(RunDialog([](DialogSession& session) { session.PressEnter(); }), platform::kIdOk);
  EXPECT_EQ(messages::LanguageIndex, 1);
  EXPECT_EQ(dialog.DriverMask, 1u);
}

TEST_F(DialogFlowTest, EscapeTheCloseBoxAndCancelEndWithoutARun) {
  const std::vector<std::function<void(DialogSession&)>> endings{
      [](DialogSession& session) { session.PressEscape(); },
      [](DialogSession& session) {
        EXPECT_FALSE(session.Send(platform::kWmClose, 0, 0).has_value()) << "WM_CLOSE is left to Windows";
        session.PressCloseBox();
      },
  };
  for (const auto& ending : endings) {
    SimHost local;
    local.system.commandLine = L"calvant.exe";
    CCalvantDlg localDialog;
    local.ui.Script(IDD_CALVANT_DIALOG, [&](DialogSession& session) {
      session.Click(IDC_RADIO_ENGLISH);
      session.Click(IDC_CHECK_GIGE_CAMERA);
      ending(session);
    });
    EXPECT_EQ(localDialog.DoModal(), platform::kIdCancel);
    EXPECT_EQ(messages::LanguageIndex, -1) << "no language was chosen, so no run took place";
    EXPECT_EQ(localDialog.DriverMask, 1u);
    EXPECT_TRUE(local.ui.messageBoxes.empty());
  }
}

TEST_F(DialogFlowTest, TheAboutBoxOpensAnyNumberOfTimesWithoutChangingTheChoices) {
  for (int i = 0; i < 3; ++i) {
    host.ui.Script(IDD_ABOUTBOX, [](DialogSession& about) {
      EXPECT_EQ(about.Caption(platform::kIdOk), "确定");
      about.PressEnter();
    });
  }
  host.ui.Script(IDD_ABOUTBOX, [](DialogSession& about) { about.PressEscape(); });
  RunDialog([](DialogSession& session) {
    session.Click(IDC_RADIO_TRADITIONAL_CHINESE);
    session.Click(IDC_CHECK_GIGE_CAMERA);
    session.SysCommand(IDM_ABOUTBOX);
    session.SysCommand(IDM_ABOUTBOX | 0x3);  // Windows uses the low four bits itself
    session.SysCommand(IDM_ABOUTBOX);
    session.SysCommand(IDM_ABOUTBOX);
    EXPECT_FALSE(session.Ended());
    EXPECT_TRUE(session.IsChecked(IDC_RADIO_TRADITIONAL_CHINESE));
    EXPECT_TRUE(session.IsChecked(IDC_CHECK_USB_CAMERA));
    EXPECT_TRUE(session.IsChecked(IDC_CHECK_GIGE_CAMERA));
    session.PressEnter();
  });
  EXPECT_EQ(host.ui.dialogsShown,
            (std::vector<int>{IDD_CALVANT_DIALOG, IDD_ABOUTBOX, IDD_ABOUTBOX, IDD_ABOUTBOX, IDD_ABOUTBOX}));
  EXPECT_EQ(host.ui.unscriptedDialogs, 0);
  EXPECT_EQ(messages::LanguageIndex, 2);
  EXPECT_EQ(dialog.DriverMask, 3u);
}

TEST_F(DialogFlowTest, OtherSystemCommandsGoToTheDefaultHandling) {
  RunDialog([](DialogSession& session) {
    EXPECT_FALSE(session.Send(platform::kWmSysCommand, 0xF020, 0).has_value());  // SC_MINIMIZE
    session.PressEscape();
  });
  EXPECT_TRUE(host.ui.dialogsShown == std::vector<int>{IDD_CALVANT_DIALOG});
}

TEST_F(DialogFlowTest, TheMinimisedWindowPaintsItsIconCentred) {
  RunDialog([](DialogSession& session) {
    EXPECT_FALSE(session.Send(platform::kWmPaint, 0, 0).has_value()) << "a normal window paints by default";
    session.MinimiseAndPaint();
    EXPECT_EQ(session.Send(platform::kWmQueryDragIcon, 0, 0),
              static_cast<std::intptr_t>(platform::sim::SimUi::kProgramIcon));
    session.PressEscape();
  });
  ASSERT_EQ(host.ui.paints.size(), 1u);
  const auto& paint = host.ui.paints[0];
  ASSERT_EQ(paint.messagesSent.size(), 1u);
  EXPECT_EQ(paint.messagesSent[0].first, platform::kWmIconEraseBkgnd);
  EXPECT_NE(paint.messagesSent[0].second, 0u) << "the paint device context goes with it";
  EXPECT_EQ(paint.iconX, (platform::sim::SimUi::kClientWidth - platform::sim::SimUi::kIconMetric + 1) / 2);
  EXPECT_EQ(paint.iconY, (platform::sim::SimUi::kClientHeight - platform::sim::SimUi::kIconMetric + 1) / 2);
  EXPECT_EQ(paint.icon, platform::sim::SimUi::kProgramIcon);
}

TEST(ApplicationStart, EveryWayTheDialogEndsLetsTheProcessExitWithZero) {
  const std::vector<std::pair<std::wstring, std::function<void(DialogSession&)>>> runs{
      {L"calvant.exe 1", {}},
      {L"calvant.exe", [](DialogSession& session) { session.PressEnter(); }},
      {L"calvant.exe", [](DialogSession& session) { session.PressEscape(); }},
      {L"calvant.exe", [](DialogSession& session) { session.PressCloseBox(); }},
  };
  for (const auto& [commandLine, script] : runs) {
    SimHost host;
    host.system.commandLine = commandLine;
    if (script) host.ui.Script(IDD_CALVANT_DIALOG, script);
    CCalvantApp application;
    EXPECT_EQ(framework::RunApplication(application), 0);
    EXPECT_EQ(host.ui.unscriptedDialogs, 0);
    EXPECT_EQ(framework::CurrentApp(), &application);
  }
}

TEST(ApplicationStart, ADialogThatCannotBeCreatedStillEndsTheProcess) {
  SimHost host;
  host.ui.dialogCreationFails = true;
  CCalvantApp application;
  EXPECT_EQ(framework::RunApplication(application), 0) << "the message loop must not wait for ever";
}

}  // namespace
