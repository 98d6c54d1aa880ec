#include "framework/Dialog.h"

#include "framework/WinApp.h"
#include "platform/Backends.h"
#include "platform/WinConstants.h"

namespace framework {

CDialog::CDialog(int templateId, platform::WindowHandle parent) : templateId_(templateId), parent_(parent) {}

std::intptr_t CDialog::DoModal() {
  const std::intptr_t result = platform::Ui().DialogBoxParamA(templateId_, parent_, *this);
  window_ = platform::kNoWindow;
  // The application's main window is gone: the message loop that follows ends at once.
  if (CWinApp* app = CurrentApp(); app != nullptr && app->MainWindow() == this) platform::Ui().PostQuitMessage(0);
  return result;
}

bool CDialog::UpdateData(bool saveAndValidate) {
  if (window_ == platform::kNoWindow) return false;
  DataExchange exchange(window_, saveAndValidate);
  DoDataExchange(exchange);
  return true;
}

void CDialog::EndDialog(std::intptr_t result) { platform::Ui().EndDialog(window_, result); }

void CDialog::DoDataExchange(DataExchange&) {}

bool CDialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

MessageResult CDialog::OnMessage(const WindowMessage& received) {
  if (received.message != platform::kWmCommand || received.NotifyCode() != platform::kBnClicked) {
    return DefaultHandling();
  }
  switch (received.CommandId()) {
    case platform::kIdOk:
      OnOK();
      return 0;
    case platform::kIdCancel:
      OnCancel();
      return 0;
    default:
      return DefaultHandling();
  }
}

void CDialog::OnOK() {
  UpdateData(true);
  EndDialog(platform::kIdOk);
}

void CDialog::OnCancel() { EndDialog(platform::kIdCancel); }

bool CDialog::InitDialog(platform::WindowHandle dialog) {
  window_ = dialog;
  return OnInitDialog();
}

std::optional<std::intptr_t> CDialog::HandleMessage(std::uint32_t message, std::uintptr_t wParam,
                                                    std::intptr_t lParam) {
  return OnMessage(WindowMessage{message, wParam, lParam});
}

}  // namespace framework
