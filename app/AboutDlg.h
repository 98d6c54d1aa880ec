// CAboutDlg: the About box, opened from the setup dialog's system menu. It has no state of its own.
#pragma once

#include "framework/Dialog.h"

class CAboutDlg : public framework::CDialog {
 public:
  explicit CAboutDlg(platform::WindowHandle owner);
};
