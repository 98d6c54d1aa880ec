#include "system/Wow64Detection.h"

#include "platform/Backends.h"

namespace sys {

std::int32_t RunningUnderWow64() {
  platform::ModuleApi& modules = platform::Modules();
  std::int32_t isWow64 = 0;
  const platform::ProcAddress entry = modules.GetProcAddress(modules.GetModuleHandleA("kernel32"), "IsWow64Process");
  if (entry == 0) return 0;
  modules.CallIsWow64Process(entry, isWow64);  // a call that stores nothing leaves false
  return isWow64;
}

}  // namespace sys
