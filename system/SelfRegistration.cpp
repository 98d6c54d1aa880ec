#include "system/SelfRegistration.h"

#include "platform/Backends.h"

namespace sys {
namespace {

// A loaded library, released when the scope ends.
class ScopedLibrary {
 public:
  explicit ScopedLibrary(const std::string& path) : module_(platform::Modules().LoadLibraryA(path)) {}
  ~ScopedLibrary() {
    if (module_ != 0) platform::Modules().FreeLibrary(module_);
  }
  ScopedLibrary(const ScopedLibrary&) = delete;
  ScopedLibrary& operator=(const ScopedLibrary&) = delete;
  platform::ModuleHandle Get() const { return module_; }

 private:
  platform::ModuleHandle module_;
};

}  // namespace

void RunSelfRegistration(const std::string& path) {
  ScopedLibrary library(path);
  if (library.Get() == 0) return;
  platform::ModuleApi& modules = platform::Modules();
  if (const platform::ProcAddress entry = modules.GetProcAddress(library.Get(), "DllRegisterServer")) {
    modules.CallDllRegisterServer(entry);
  }
}

}  // namespace sys
