// A simulated machine and one run of the program on it, as the tests of the registration run use them.
#pragma once

#include <string>

#include "app/CalvantDlg.h"
#include "app/VersionFlags.h"
#include "messages/MessageTable.h"
#include "platform/WinConstants.h"
#include "platform/sim/SimHost.h"
#include "registration/SettingsStore.h"
#include "registration/Wow64State.h"
#include "resources/resource.h"

namespace testing_support {

// Puts the process-wide state of the program back to how a new process finds it.
inline void ResetProcessState() {
  messages::LanguageIndex = -1;
  registration::Wow64Active = 0;
  app::IsVistaOrLater = 0;
  app::IsWin10OrLater = 0;
  registration::SettingsKey.clear();
  registration::SettingsKeyX64.clear();
  registration::UserSettingsKey.clear();
  registration::UserSettingsKeyX64.clear();
}

inline constexpr const char* kProgramPath = "C:\\Package Root\\Calvant\\calvant.exe";

// The program started with these arguments (after its own name) on the host; the dialog after the run.
// An interactive start is answered with OK.
inline void StartProgram(platform::sim::SimHost& host, CCalvantDlg& dialog, const std::wstring& arguments) {
  ResetProcessState();
  host.system.moduleFileName = kProgramPath;
  host.system.commandLine = L"\"C:\\Package Root\\Calvant\\calvant.exe\"" + arguments;
  host.ui.Script(IDD_CALVANT_DIALOG, [](platform::sim::DialogSession& session) { session.PressEnter(); });
  dialog.DoModal();
}

// The stored bytes of a message in a language.
inline std::string Message(int row, int language) { return std::string(messages::MessageTable[row][language].stored); }

}  // namespace testing_support
