// The registration run: one pass in a fixed order. Steps up to the file copies stop the run at their first
// failure with a numbered error and one failure message; later steps are best effort and report nothing.
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "app/CalvantDlg.h"
#include "app/DriverMask.h"
#include "messages/MessageTable.h"
#include "platform/Backends.h"
#include "platform/WinConstants.h"
#include "registration/FileDeployment.h"
#include "registration/HalconDeployment.h"
#include "registration/RedirectionWindow.h"
#include "registration/SettingsStore.h"
#include "registration/Wow64State.h"
#include "system/FilterRegistrations.h"
#include "system/SelfRegistration.h"
#include "system/Wow64Detection.h"

namespace registration {

std::int32_t Wow64Active = 0;

namespace {

// Error codes of the numbered failure report.
constexpr int kErrorSettingsWrite = 1;
constexpr int kErrorSystemDirectory = 2;

std::string Cell(int row) { return std::string(messages::MessageTable[row][messages::LanguageIndex].stored); }

// The system directory without its last element; empty when Windows cannot name it.
std::string QueryWindowsDir() {
  std::array<char, platform::kMaxPath> buffer{};
  const std::uint32_t length = platform::Files().GetSystemDirectoryA(buffer.data(), platform::kMaxPath);
  if (length == 0 || length >= platform::kMaxPath) return std::string();
  const std::string systemDirectory(buffer.data(), length);
  const std::size_t lastBackslash = systemDirectory.rfind('\\');
  return lastBackslash == std::string::npos ? std::string() : systemDirectory.substr(0, lastBackslash);
}

}  // namespace
}  // namespace registration

std::int32_t CCalvantDlg::RunRegistration() {
  using namespace registration;
  platform::UiApi& ui = platform::Ui();
  auto showError = [&](const std::string& text) {
    ui.MessageBoxA(Window(), text, Cell(messages::kRowErrorCaption), platform::kMbOk);
  };
  RedirectionWindow redirection;
  auto fail = [&](int code) {
    char report[32];
    std::snprintf(report, sizeof(report), "err=%d", code);
    showError(Cell(messages::kRowRegistrationFailed) + "\r\n" + report);
    redirection.SwitchBack();
    return 0;
  };

  sys::CleanFilterRegistrations();
  if (sys::RunningUnderWow64()) {
    Wow64Active = 1;
    switch (redirection.Open()) {
      case RedirectionWindow::Opening::EntryPointMissing:
        showError(Cell(messages::kRowApiLoadFailed));
        return 0;
      case RedirectionWindow::Opening::SwitchOffRefused: {
        char text[256] = {};
        std::snprintf(text, sizeof(text),
                      messages::MessageTable[messages::kRowOperationFailed][messages::LanguageIndex].stored.data(),
                      static_cast<int>(platform::System().GetLastError()));
        showError(text);
        return 0;
      }
      case RedirectionWindow::Opening::Opened:
        break;
    }
  }

  WriteCompanyValue();
  BuildSettingsKeys(CompanyName);
  for (const Setting& setting : PlatformSettings(LanguageRadio, SdkDir, InstallDir)) {
    if (!WriteSetting(setting)) return fail(kErrorSettingsWrite);
  }
  const std::string windowsDir = QueryWindowsDir();
  if (windowsDir.empty()) return fail(kErrorSystemDirectory);
  if (!WriteMachineSetting("WindowsPath", windowsDir, 0, 0)) return fail(kErrorSettingsWrite);

  if (const int code = DeployRuntimeAndFilters(SdkDir, windowsDir, CompanyName, Wow64Active != 0)) return fail(code);
  DeployHalconInterface(SdkDir, CompanyName);
  sys::RunSelfRegistration(SdkDir + "\\Ferrocam.ocx");
  InstallModelsInf();
  if ((DriverMask & app::kDriverUsbCamera) != 0) InstallUsbDrivers();

  redirection.SwitchBack();
  if ((DriverMask & app::kDriverGigeCamera) != 0) InstallGigeDriver();

  if (!Unattended) ui.MessageBoxA(Window(), Cell(messages::kRowInstallSuccess), "Lumetra", platform::kMbOk);
  return 1;
}
