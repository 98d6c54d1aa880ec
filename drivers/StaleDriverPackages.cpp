#include "drivers/StaleDriverPackages.h"

#include <cstring>
#include <vector>

#include "app/BrandFields.h"
#include "drivers/CaseInsensitiveText.h"
#include "platform/Backends.h"
#include "platform/ScopedSetupHandles.h"
#include "platform/WinConstants.h"

namespace drivers {
namespace {

constexpr std::uint32_t kInitialListSize = 512;
// Windows asks for a larger list buffer only while INFs arrive between two calls; after this many
// answers of that kind the directory is taken to be unlistable.
constexpr int kMaxListAttempts = 8;

// The Windows directory followed by "\inf\" (no doubled backslash); empty when Windows names no directory.
std::string InfDirectoryPath() {
  char windowsDir[platform::kMaxPath] = {};
  const std::uint32_t length = platform::Files().GetWindowsDirectoryA(windowsDir, platform::kMaxPath);
  if (length == 0 || length >= platform::kMaxPath) return std::string();
  std::string path(windowsDir, length);
  if (path.back() != '\\') path += '\\';
  return path + "inf\\";
}

// The names of the system's INF directory, or nothing when Windows cannot list them.
std::vector<std::string> ListSystemInfs() {
  platform::SetupApi& setup = platform::Setup();
  std::vector<char> list(kInitialListSize);
  std::uint32_t required = 0;
  for (int attempt = 1; !setup.SetupGetInfFileListA(nullptr, platform::kInfStyleWin4, list.data(),
                                                    static_cast<std::uint32_t>(list.size()), &required);
       ++attempt) {
    if (platform::System().GetLastError() != platform::kErrorInsufficientBuffer || attempt == kMaxListAttempts) {
      return {};
    }
    list.assign(required, '\0');
  }
  // Each name ends with a NUL and an empty name ends the list; a name without its NUL is not read.
  std::vector<std::string> names;
  for (std::size_t at = 0; at < list.size();) {
    const void* end = std::memchr(list.data() + at, '\0', list.size() - at);
    if (end == nullptr) break;
    const std::size_t length = static_cast<const char*>(end) - (list.data() + at);
    if (length == 0) break;
    names.emplace_back(list.data() + at, length);
    at += length + 1;
  }
  return names;
}

}  // namespace

bool ReadInfField(const std::string& infName, const std::string& section, const std::string& key,
                  std::uint32_t fieldIndex, std::string& value) {
  platform::SetupApi& setup = platform::Setup();
  platform::ScopedInfFile inf(setup.SetupOpenInfFileA(infName, nullptr, platform::kInfStyleWin4, nullptr));
  if (!inf.IsOpen()) return false;
  platform::InfContext line;
  if (!setup.SetupFindFirstLineA(inf.Get(), section, key.c_str(), line)) return false;
  std::uint32_t size = 0;
  setup.SetupGetStringFieldA(line, fieldIndex, nullptr, 0, &size);
  if (size == 0) return false;
  std::vector<char> field(size);
  if (!setup.SetupGetStringFieldA(line, fieldIndex, field.data(), size, nullptr)) {
    value.clear();
    return false;
  }
  value.assign(field.data(), strnlen(field.data(), size));
  return true;
}

bool InfDeclaresCameraVendor(const std::string& infName) {
  std::string deviceId;
  if (!ReadInfField(infName, "Strings", "DeviceID", 1, deviceId)) return false;
  return EqualsIgnoringCase(std::string_view(deviceId).substr(0, 8), "VID_F622");
}

bool IsCameraDriverInf(const std::string& infName) {
  if (!EqualsIgnoringCase(std::string_view(infName).substr(0, 3), "oem")) return false;
  std::string diskNumber;
  if (ReadInfField(infName, "SourceDisksFiles", app::DriverBaseName() + ".sys", 1, diskNumber)) return true;
  return InfDeclaresCameraVendor(infName);
}

void RemoveStaleDriverPackages() {
  const std::string infDirectory = InfDirectoryPath();
  for (const std::string& name : ListSystemInfs()) {
    if (!IsCameraDriverInf(name)) continue;
    const bool uninstalled = platform::Setup().SetupUninstallOEMInfA(name, platform::kSuoiForceDelete);
    const std::uint32_t error = platform::System().GetLastError();
    if (!uninstalled && error == platform::kErrorInfInUseByDevices && !infDirectory.empty()) {
      platform::Files().DeleteFileA(infDirectory + name);
    }
  }
}

}  // namespace drivers
