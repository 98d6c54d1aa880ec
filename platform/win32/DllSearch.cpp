#include "platform/win32/DllSearch.h"

#include <windows.h>

#include <cstdint>

namespace platform::win32 {
namespace {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCSTR);

// A kernel32 export looked up by name: the programs also start on systems that lack it.
template <typename Function>
Function Kernel32Entry(const char* name) {
  const HMODULE kernel32 = ::GetModuleHandleA("kernel32");
  if (kernel32 == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<std::uintptr_t>(::GetProcAddress(kernel32, name)));
}

}  // namespace

void RestrictDllSearchToSystemDirectory() {
  if (const auto setDefault = Kernel32Entry<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories")) {
    setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  if (const auto setDllDirectory = Kernel32Entry<SetDllDirectoryFunction>("SetDllDirectoryA")) setDllDirectory("");
}

}  // namespace platform::win32
