// CWinApp: the application object. The process has exactly one; the start-up code calls InitInstance
// and, when it returns true, runs the message loop until the quit request.
#pragma once

namespace framework {

class CDialog;

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual bool InitInstance() = 0;

  CDialog* MainWindow() const { return mainWindow_; }
  void SetMainWindow(CDialog* window) { mainWindow_ = window; }

 private:
  CDialog* mainWindow_ = nullptr;
};

// The application object of the process, or nullptr before it exists.
CWinApp* CurrentApp();

// The start-up sequence: InitInstance, then the message loop when it returned true. Returns the
// process's exit status (the quit request's code, 0 when InitInstance declined).
int RunApplication(CWinApp& app);

}  // namespace framework
