// A system DLL that the program uses without importing it: loaded by its full path in the system
// directory, so that no copy beside the program or in the current directory can stand in for it.
// Load it while WOW64 file-system redirection is still on: with it off a 32-bit process would reach the
// 64-bit system directory and the load would fail.
#pragma once

#include <windows.h>

#include <cstdint>

namespace platform::win32 {

class SystemLibrary {
 public:
  // Loads GetSystemDirectoryA() + "\" + fileName; a library that cannot be loaded has no entries.
  explicit SystemLibrary(const char* fileName);
  ~SystemLibrary();
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  // The export of this name as the function type it has in Windows; nullptr when it is missing.
  template <typename Function>
  Function Entry(const char* name) const {
    if (module_ == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<std::uintptr_t>(::GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_ = nullptr;
};

}  // namespace platform::win32
