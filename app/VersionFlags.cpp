#include "app/VersionFlags.h"

#include "platform/Backends.h"
#include "platform/WinConstants.h"

namespace app {

std::int32_t IsVistaOrLater = 0;
std::int32_t IsWin10OrLater = 0;

void ReadWindowsVersion() {
  platform::OsVersionInfoA info;
  info.dwOSVersionInfoSize = platform::kOsVersionInfoASize;
  platform::OsVersionInfoA answer = info;
  if (!platform::System().GetVersionExA(answer)) answer = info;  // unanswered: version 0.0
  IsVistaOrLater = answer.dwMajorVersion >= 6 ? 1 : 0;
  IsWin10OrLater = answer.dwMajorVersion >= 10 ? 1 : 0;
}

}  // namespace app
