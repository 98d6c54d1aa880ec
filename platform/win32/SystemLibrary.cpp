#include "platform/win32/SystemLibrary.h"

#include <string>

namespace platform::win32 {

SystemLibrary::SystemLibrary(const char* fileName) {
  char directory[MAX_PATH];
  const UINT length = ::GetSystemDirectoryA(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  const std::string path = std::string(directory, length) + "\\" + fileName;
  module_ = ::LoadLibraryA(path.c_str());
}

SystemLibrary::~SystemLibrary() {
  if (module_ != nullptr) ::FreeLibrary(module_);
}

}  // namespace platform::win32
