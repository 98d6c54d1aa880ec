#include "framework/WinApp.h"

#include "platform/Backends.h"

namespace framework {
namespace {
CWinApp* currentApp = nullptr;
}  // namespace

CWinApp::CWinApp() { currentApp = this; }

CWinApp::~CWinApp() {
  if (currentApp == this) currentApp = nullptr;
}

CWinApp* CurrentApp() { return currentApp; }

int RunApplication(CWinApp& app) {
  if (!app.InitInstance()) return 0;
  return platform::Ui().RunMessageLoop();
}

}  // namespace framework
