#include "app/CommandLine.h"

#include "app/DriverMask.h"
#include "platform/Backends.h"

namespace app {

std::int32_t LanguageFromArgument(const std::string& argument) {
  if (argument == "1") return 1;
  if (argument == "0") return 0;
  if (argument == "2") return 2;
  return -1;
}

std::uint32_t DriverMaskFromArgument(const std::string& argument) {
  if (argument == "a") return kDriverUsbCamera | kDriverGigeCamera;
  if (argument == "u") return kDriverUsbCamera;
  if (argument == "g") return kDriverGigeCamera;
  if (argument == "ra") return kDriverRemoveOnly | kDriverUsbCamera | kDriverGigeCamera;
  if (argument == "ru") return kDriverRemoveOnly | kDriverUsbCamera;
  if (argument == "rg") return kDriverRemoveOnly | kDriverGigeCamera;
  return kDriverUsbCamera;
}

std::array<std::string, 3> DirectorySources(const std::vector<std::string>& arguments) {
  std::array<std::string, 3> sources{"..", "..\\SDK", "..\\Drivers"};
  for (std::size_t entry = 0; entry < sources.size(); ++entry) {
    const std::size_t position = entry + 3;
    if (position < arguments.size() && !arguments[position].empty()) sources[entry] = arguments[position];
  }
  return sources;
}

std::optional<std::vector<std::string>> ReadArguments() {
  platform::SystemApi& system = platform::System();
  std::vector<std::wstring> wide;
  if (!system.CommandLineToArgvW(system.GetCommandLineW(), wide)) return std::nullopt;
  std::vector<std::string> arguments;
  for (const std::wstring& argument : wide) {
    std::string converted;
    if (!system.WideCharToThreadAnsi(argument, converted)) converted.clear();
    arguments.push_back(converted);
  }
  return arguments;
}

}  // namespace app
