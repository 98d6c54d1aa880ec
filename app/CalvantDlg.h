// CCalvantDlg: the setup dialog and the owner of one registration run. It offers the language and the
// camera drivers, derives the package directories and the Windows version at initialisation, and runs
// the registration on OK or, when the command line names a language, during initialisation itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "platform/WinTypes.h"

class CCalvantDlg : public framework::CDialog {
 public:
  CCalvantDlg();
  ~CCalvantDlg() override = default;

  // The registration run with the dialog's current choices; 1 when it reached its end, 0 when it stopped
  // at a failure. It shows its own messages.
  std::int32_t RunRegistration();
  // Fills CompanyName from the program's company-name field and writes the Company value; 1 on success.
  std::int32_t WriteCompanyValue();
  // The USB camera drivers: removes the cameras' device nodes, stale driver packages and driver services,
  // stages the driver INF that suits this Windows (unless DriverMask asks for removal only) and has Plug
  // and Play rescan the device tree. 0 when the package holds no driver INF, and then nothing is touched.
  std::int32_t InstallUsbDrivers();
  // Installs the package's model INF through the system's INF installer and waits for it; nothing is
  // reported, a missing INF is skipped.
  void InstallModelsInf();
  // Removes the GigE camera driver with every installer found for this Windows, then installs it with
  // the one that suits the version unless DriverMask asks for removal only; nothing is reported.
  void InstallGigeDriver();

  platform::IconHandle AppIcon = 0;
  std::int32_t LanguageRadio = 1;  // 0 English, 1 Simplified Chinese, 2 Traditional Chinese
  std::int32_t Unattended = 0;     // 1 when the command line chose the language
  std::uint32_t DriverMask = 1;    // app::kDriverUsbCamera, kDriverGigeCamera, kDriverRemoveOnly
  std::int32_t UsbCameraChecked = 1;
  std::int32_t GigeCameraChecked = 0;
  // The package paths: absolute, without a trailing backslash.
  std::string ProgramDir;
  std::string CompanyName;
  std::string InstallDir;
  std::string SdkDir;
  std::string DriversDir;

 protected:
  void DoDataExchange(framework::DataExchange& exchange) override;
  bool OnInitDialog() override;
  framework::MessageResult OnMessage(const framework::WindowMessage& received) override;

 private:
  framework::MessageResult OnSysCommand(std::uintptr_t command, std::intptr_t parameter);
  framework::MessageResult OnPaint();
  platform::IconHandle OnQueryDragIcon() const;
  framework::MessageResult OnOkClicked();
  framework::MessageResult OnClose();

  void AddAboutEntry();
  void SetIcons();
  // Finds the program's folder and makes it the current directory; false when Windows refused that.
  bool SettleProgramDirectory();
  // Language, drivers and package folders from the arguments; relative folders lie in the program's folder.
  void ReadCommandLine(const std::vector<std::string>& arguments, bool programDirIsCurrent);
};
