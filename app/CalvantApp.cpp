#include "app/CalvantApp.h"

#include "app/CalvantDlg.h"

bool CCalvantApp::InitInstance() {
  CCalvantDlg dialog;
  SetMainWindow(&dialog);
  dialog.DoModal();  // 0 after an unattended run, 1 after OK, 2 after Cancel or the close box
  SetMainWindow(nullptr);
  return true;
}
