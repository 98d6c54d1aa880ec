// Initialisation of the setup dialog: the About entry, the icons, the Windows version, the package
// directories and the command line, and the unattended run when the command line names a language.
#include "app/CalvantDlg.h"
#include "app/CommandLine.h"
#include "app/PackagePaths.h"
#include "app/VersionFlags.h"
#include "messages/MessageTable.h"
#include "platform/Backends.h"
#include "platform/WinConstants.h"
#include "resources/resource.h"

bool CCalvantDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  AddAboutEntry();
  SetIcons();
  app::ReadWindowsVersion();
  // Relative package folders lie in the program's folder; when Windows refuses to make it the current
  // directory (a folder of 260 characters or more), they are resolved against it all the same.
  const bool entered = SettleProgramDirectory();

  const std::vector<std::string> arguments = app::ReadArguments().value_or(std::vector<std::string>{});
  ReadCommandLine(arguments, entered);

  if (messages::LanguageIndex >= 0) {
    LanguageRadio = messages::LanguageIndex;
    Unattended = 1;
    RunRegistration();
    EndDialog(0);
    return false;
  }
  return true;
}

void CCalvantDlg::AddAboutEntry() {
  platform::UiApi& ui = platform::Ui();
  const platform::MenuHandle systemMenu = ui.GetSystemMenu(Window(), false);
  if (systemMenu == 0) return;
  const std::string aboutEntry = ui.LoadStringA(IDS_ABOUTBOX);
  if (aboutEntry.empty()) return;
  ui.AppendMenuA(systemMenu, platform::kMfSeparator, 0, std::string());
  ui.AppendMenuA(systemMenu, platform::kMfString, IDM_ABOUTBOX, aboutEntry);
}

void CCalvantDlg::SetIcons() {
  platform::UiApi& ui = platform::Ui();
  ui.SendMessageA(Window(), platform::kWmSetIcon, platform::kIconBig, static_cast<std::intptr_t>(AppIcon));
  ui.SendMessageA(Window(), platform::kWmSetIcon, platform::kIconSmall, static_cast<std::intptr_t>(AppIcon));
}

bool CCalvantDlg::SettleProgramDirectory() {
  ProgramDir = app::DirectoryOf(app::QueryProgramPath());
  return platform::System().SetCurrentDirectoryA(ProgramDir);
}

void CCalvantDlg::ReadCommandLine(const std::vector<std::string>& arguments, bool programDirIsCurrent) {
  messages::LanguageIndex = -1;
  DriverMask = 1;
  Unattended = 0;
  if (arguments.size() > 1) messages::LanguageIndex = app::LanguageFromArgument(arguments[1]);
  if (arguments.size() > 2) DriverMask = app::DriverMaskFromArgument(arguments[2]);
  const std::array<std::string, 3> sources = app::DirectorySources(arguments);
  InstallDir = app::ResolvePackageFolder(sources[0], ProgramDir, programDirIsCurrent);
  SdkDir = app::ResolvePackageFolder(sources[1], ProgramDir, programDirIsCurrent);
  DriversDir = app::ResolvePackageFolder(sources[2], ProgramDir, programDirIsCurrent);
}
