#include "app/AboutDlg.h"

#include "resources/resource.h"

CAboutDlg::CAboutDlg(platform::WindowHandle owner) : CDialog(IDD_ABOUTBOX, owner) {}
