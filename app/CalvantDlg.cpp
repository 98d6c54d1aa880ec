#include "app/CalvantDlg.h"

#include <array>

#include "app/AboutDlg.h"
#include "app/DriverMask.h"
#include "framework/MessageMap.h"
#include "framework/PaintScope.h"
#include "messages/MessageTable.h"
#include "platform/Backends.h"
#include "platform/WinConstants.h"
#include "resources/resource.h"

using framework::MessageResult;
using framework::WindowMessage;

CCalvantDlg::CCalvantDlg() : CDialog(IDD_CALVANT_DIALOG, platform::kNoWindow) {
  AppIcon = platform::Ui().LoadIconA(IDR_MAINFRAME);
}

void CCalvantDlg::DoDataExchange(framework::DataExchange& exchange) {
  CDialog::DoDataExchange(exchange);
  framework::ExchangeRadioGroup(exchange, IDC_RADIO_ENGLISH, LanguageRadio);
  framework::ExchangeCheckBox(exchange, IDC_CHECK_USB_CAMERA, UsbCameraChecked);
  framework::ExchangeCheckBox(exchange, IDC_CHECK_GIGE_CAMERA, GigeCameraChecked);
}

MessageResult CCalvantDlg::OnMessage(const WindowMessage& received) {
  using Entry = framework::MessageMapEntry<CCalvantDlg>;
  static constexpr std::array<Entry, 5> kMessageMap{
      Entry{platform::kWmSysCommand,
            [](CCalvantDlg& dialog, const WindowMessage& m) { return dialog.OnSysCommand(m.wParam, m.lParam); }},
      Entry{platform::kWmPaint, [](CCalvantDlg& dialog, const WindowMessage&) { return dialog.OnPaint(); }},
      Entry{platform::kWmQueryDragIcon,
            [](CCalvantDlg& dialog, const WindowMessage&) -> MessageResult {
              return static_cast<std::intptr_t>(dialog.OnQueryDragIcon());
            }},
      Entry{platform::kWmCommand, [](CCalvantDlg& dialog, const WindowMessage&) { return dialog.OnOkClicked(); },
            platform::kBnClicked, platform::kIdOk},
      Entry{platform::kWmClose, [](CCalvantDlg& dialog, const WindowMessage&) { return dialog.OnClose(); }},
  };
  if (auto handled = framework::DispatchMessageMap<CCalvantDlg>(kMessageMap, *this, received)) return *handled;
  return CDialog::OnMessage(received);
}

MessageResult CCalvantDlg::OnSysCommand(std::uintptr_t command, std::intptr_t) {
  if ((command & 0xFFF0) != IDM_ABOUTBOX) return framework::DefaultHandling();
  CAboutDlg about(Window());
  about.DoModal();
  return 0;
}

MessageResult CCalvantDlg::OnPaint() {
  platform::UiApi& ui = platform::Ui();
  if (!ui.IsIconic(Window())) return framework::DefaultHandling();
  framework::PaintScope paint(Window());
  ui.SendMessageA(Window(), platform::kWmIconEraseBkgnd, paint.Context(), 0);
  platform::Rect client;
  ui.GetClientRect(Window(), client);
  const int x = (client.right - client.left - ui.GetSystemMetrics(platform::kSmCxIcon) + 1) / 2;
  const int y = (client.bottom - client.top - ui.GetSystemMetrics(platform::kSmCyIcon) + 1) / 2;
  ui.DrawIcon(paint.Context(), x, y, AppIcon);
  return 0;
}

platform::IconHandle CCalvantDlg::OnQueryDragIcon() const { return AppIcon; }

MessageResult CCalvantDlg::OnOkClicked() {
  UpdateData(true);
  messages::LanguageIndex = LanguageRadio;
  DriverMask = 0;
  if (UsbCameraChecked) DriverMask = app::kDriverUsbCamera;
  if (GigeCameraChecked) DriverMask |= app::kDriverGigeCamera;
  RunRegistration();
  OnOK();
  return 0;
}

MessageResult CCalvantDlg::OnClose() { return framework::DefaultHandling(); }
