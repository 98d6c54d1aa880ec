// Data exchange against real dialog templates on the simulated host.
#include <gtest/gtest.h>

#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "platform/WinConstants.h"
#include "platform/sim/SimHost.h"
#include "resources/resource.h"

namespace {

using platform::sim::DialogSession;

class ExchangingDialog : public framework::CDialog {
 public:
  ExchangingDialog() : CDialog(IDD_CALVANT_DIALOG, platform::kNoWindow) {}
  std::int32_t radio = 2;
  std::int32_t usb = 0;
  std::int32_t gige = 1;

 protected:
  void DoDataExchange(framework::DataExchange& exchange) override {
    framework::ExchangeRadioGroup(exchange, IDC_RADIO_ENGLISH, radio);
    framework::ExchangeCheckBox(exchange, IDC_CHECK_USB_CAMERA, usb);
    framework::ExchangeCheckBox(exchange, IDC_CHECK_GIGE_CAMERA, gige);
  }
};

TEST(DataExchange, LoadsMembersIntoControlsAndSavesThemBack) {
  platform::sim::SimHost host;
  ExchangingDialog dialog;
  host.ui.Script(IDD_CALVANT_DIALOG, [&](DialogSession& session) {
    EXPECT_FALSE(session.IsChecked(IDC_RADIO_ENGLISH));
    EXPECT_FALSE(session.IsChecked(IDC_RADIO_SIMPLIFIED_CHINESE));
    EXPECT_TRUE(session.IsChecked(IDC_RADIO_TRADITIONAL_CHINESE));
    EXPECT_FALSE(session.IsChecked(IDC_CHECK_USB_CAMERA));
    EXPECT_TRUE(session.IsChecked(IDC_CHECK_GIGE_CAMERA));
    EXPECT_FALSE(session.IsChecked(platform::kIdOk)) << "the radio group ends before the buttons after it";

    session.Click(IDC_RADIO_SIMPLIFIED_CHINESE);
    session.Click(IDC_CHECK_USB_CAMERA);
    session.Click(IDC_CHECK_GIGE_CAMERA);
    EXPECT_TRUE(dialog.UpdateData(true));
    EXPECT_EQ(dialog.radio, 1) << "only radio buttons count in the index";
    EXPECT_EQ(dialog.usb, 1);
    EXPECT_EQ(dialog.gige, 0);

    // No button checked saves -1; an index outside the group clears them all.
    dialog.radio = 7;
    dialog.UpdateData(false);
    EXPECT_FALSE(session.IsChecked(IDC_RADIO_SIMPLIFIED_CHINESE));
    dialog.UpdateData(true);
    EXPECT_EQ(dialog.radio, -1);
    session.PressEscape();
  });
  dialog.DoModal();
  EXPECT_FALSE(dialog.UpdateData(true)) << "no window, no exchange";
}

}  // namespace
