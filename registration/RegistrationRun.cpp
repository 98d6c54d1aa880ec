// The registration run. Its stages join here in their fixed order as they are built; until then the run
// has nothing to do and reaches its end at once.
#include "app/CalvantDlg.h"

std::int32_t CCalvantDlg::RunRegistration() { return 1; }
