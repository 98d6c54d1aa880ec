// CCalvantApp: the application object. It runs the setup dialog modally as the main window; the process
// ends when the dialog has closed.
#pragma once

#include "framework/WinApp.h"

class CCalvantApp : public framework::CWinApp {
 public:
  bool InitInstance() override;
};
