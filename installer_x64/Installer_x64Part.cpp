// Installer_x64Part.exe: the package's 64-bit program that removes the cameras' device nodes for the
// 32-bit setup program on 64-bit Windows, where a 32-bit process cannot. Started as
//   Installer_x64Part.exe -rdev PATH-OF-THE-DRIVER-INF
// it runs the same device removal as the setup program and reports what it did: the INF, the hardware
// identifiers read from it, each camera device and whether it was removed. The report goes to its standard
// output (when it has one) and to Installer_x64Part.log in the user's temporary folder, since the setup
// program starts it without a console. It has no window. Exit status 0 after a removal pass, 2 when the
// command line is not understood.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <string>

#include "drivers/CameraDevices.h"
#include "drivers/InfHardwareIds.h"
#include "installer_x64/RemovalCommand.h"
#include "platform/Backends.h"
#include "platform/win32/DllSearch.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Setup.h"
#include "platform/win32/Win32System.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitUsage = 2;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The report: each line to the standard output and to the log file, when that could be opened.
class Report {
 public:
  Report() {
    char folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof(folder), folder);
    if (length > 0 && length < sizeof(folder)) log_.reset(std::fopen((std::string(folder) + kLogName).c_str(), "w"));
  }
  ~Report() { std::fflush(stdout); }
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  [[gnu::format(printf, 2, 3)]] void Line(const char* format, ...) {
    for (std::FILE* out : {stdout, log_.get()}) {
      if (out == nullptr) continue;
      std::va_list arguments;
      va_start(arguments, format);
      std::vfprintf(out, format, arguments);
      va_end(arguments);
      std::fputc('\n', out);
    }
  }

 private:
  static constexpr const char* kLogName = "Installer_x64Part.log";
  std::unique_ptr<std::FILE, FileCloser> log_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Only the system directory is searched for the DLLs loaded from here on, never the package's folder.
  platform::win32::RestrictDllSearchToSystemDirectory();

  Report report;
  const std::optional<std::string> infPath = installer::InfPathFromCommandLine(GetCommandLineA());
  if (!infPath) {
    report.Line("usage: Installer_x64Part.exe -rdev PATH-OF-THE-DRIVER-INF");
    return kExitUsage;
  }
  platform::win32::Win32System system;
  platform::win32::Win32Files files;
  platform::win32::Win32Setup setup;
  platform::Backends backends;
  backends.system = &system;
  backends.files = &files;
  backends.setup = &setup;
  platform::ScopedBackends installed(backends);

  report.Line("INF: %s", infPath->c_str());
  for (const std::string& id : drivers::CollectInfHardwareIds(*infPath)) report.Line("hardware id: %s", id.c_str());
  drivers::RemoveCameraDevices(*infPath, [&](const std::string& instanceId, bool removed) {
    if (removed) {
      report.Line("removed: %s", instanceId.c_str());
    } else {
      report.Line("not removed: %s (error 0x%08X)", instanceId.c_str(), static_cast<unsigned>(system.GetLastError()));
    }
  });
  return kExitDone;
}
