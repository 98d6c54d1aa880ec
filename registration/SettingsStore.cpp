#include "registration/SettingsStore.h"

#include "app/BrandFields.h"
#include "app/CalvantDlg.h"
#include "platform/ScopedRegKey.h"
#include "registration/Wow64State.h"

namespace registration {
namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using platform::ScopedRegKey;

constexpr std::uint32_t kUserAccess = platform::kKeyRead | platform::kKeyWrite;

std::uint32_t MachineAccess(bool view64) { return platform::kKeyAllAccess | (view64 ? platform::kKeyWow64_64Key : 0); }

std::int32_t Create(platform::RegKey root, const std::string& path, std::uint32_t access, ScopedRegKey& key) {
  return platform::Registry().RegCreateKeyExA(root, path, platform::kRegOptionNonVolatile, access, key.Receive());
}

std::int32_t SetString(const ScopedRegKey& key, const std::string& name, const std::string& text, bool withTerminator) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.c_str());
  const auto count = static_cast<std::uint32_t>(text.size() + (withTerminator ? 1 : 0));
  return platform::Registry().RegSetValueExA(key.Get(), name, platform::kRegSz, bytes, count);
}

std::string Format(const char* pattern, const std::string& company) {
  std::string path = pattern;
  return path.replace(path.find("%s"), 2, company);
}

}  // namespace

std::string SettingsKey;
std::string SettingsKeyX64;
std::string UserSettingsKey;
std::string UserSettingsKeyX64;

std::int32_t BuildSettingsKeys(const std::string& company) {
  SettingsKey = Format("Software\\%s\\Settings", company);
  SettingsKeyX64 = Format("Software\\%s\\Settings_X64", company);
  UserSettingsKey = Format("Software\\%s\\Lumetra\\Settings", company);
  UserSettingsKeyX64 = Format("Software\\%s\\Lumetra\\Settings_X64", company);
  return 1;
}

std::int32_t WriteMachineSetting(const std::string& name, const std::string& text, std::int32_t bothViews,
                                 std::int32_t x64Key) {
  ScopedRegKey first;
  ScopedRegKey second;
  if (x64Key) {
    Create(kHkeyLocalMachine, SettingsKeyX64, MachineAccess(Wow64Active), first);
  } else if (bothViews) {
    Create(kHkeyLocalMachine, SettingsKey, MachineAccess(false), first);
    if (Wow64Active) Create(kHkeyLocalMachine, SettingsKey, MachineAccess(true), second);
  } else {
    Create(kHkeyLocalMachine, SettingsKey, MachineAccess(Wow64Active), first);
  }
  if (!first.IsOpen()) return 0;  // nothing is written, not even to a second key that opened
  SetString(first, name, text, false);
  first.Close();
  if (second.IsOpen()) {
    SetString(second, name, text, false);
    second.Close();
  }
  return 1;
}

std::int32_t WriteUserSetting(const std::string& name, const std::string& text) {
  std::int32_t failure = 0;
  ScopedRegKey current;
  for (const std::string* path : {&UserSettingsKey, &UserSettingsKeyX64}) {
    ScopedRegKey next;
    const std::int32_t opened = Create(kHkeyCurrentUser, *path, kUserAccess, next);
    failure |= opened;
    if (opened != 0) continue;
    failure |= current.Close();
    current = std::move(next);
    failure |= SetString(current, name, text, true);
  }
  failure |= current.Close();
  return failure == 0 ? 1 : 0;
}

std::vector<Setting> PlatformSettings(std::int32_t languageRadio, const std::string& sdkDir,
                                      const std::string& installDir) {
  const std::string language = languageRadio == 0 ? "English" : languageRadio == 1 ? "Chinese" : "TradChinese";
  const std::string information = installDir + "\\Camera\\Information";
  using enum SettingWriter;
  return {
      {"Language", MachineBoth, language},
      {"Language", MachineX64, language},
      {"IspInterfacePath", MachineBoth, sdkDir},
      {"IspInterfacePath", MachineX64, sdkDir + "\\X64"},
      {"DeviceInterfacePath", MachineBoth, sdkDir},
      {"DeviceInterfacePath", MachineX64, sdkDir + "\\X64"},
      {"InstallPath", MachineBoth, installDir},
      {"InstallPath", MachineX64, installDir + "\\X64"},
      {"ParamFileSavePath", MachineBoth, installDir},
      {"ParamFileSavePath", MachineX64, installDir},
      {"DataFileSavePath", MachineBoth, installDir},
      {"DataFileSavePath", MachineX64, installDir},
      {"CameraInfoPath", MachineBoth, information},
      {"CameraInfoPath", MachineX64, information},
      {"SdkPath", MachineBoth, sdkDir},
      {"SdkPath", MachineX64, sdkDir + "\\X64"},
      {"MessageAfterRecord", User, "TRUE"},
      {"MessageAfterSnap", User, "TRUE"},
      {"MessageSaveOnClose", User, "TRUE"},
      {"ImageSavePath", User, installDir + "\\Image"},
      {"VideoSavePath", User, installDir + "\\Video"},
      {"UpdateInstall", User, "FALSE"},
  };
}

std::int32_t WriteSetting(const Setting& setting) {
  switch (setting.writer) {
    case SettingWriter::MachineBoth:
      return WriteMachineSetting(setting.name, setting.text, 1, 0);
    case SettingWriter::MachineX64:
      return WriteMachineSetting(setting.name, setting.text, 0, 1);
    case SettingWriter::User:
      return WriteUserSetting(setting.name, setting.text);
  }
  return 0;
}

}  // namespace registration

// The Company value: default view, then under WOW64 once more in the 64-bit view; with its zero.
std::int32_t CCalvantDlg::WriteCompanyValue() {
  using namespace registration;
  CompanyName = app::CompanyNameText();
  for (bool view64 : {false, true}) {
    if (view64 && !Wow64Active) break;
    ScopedRegKey family;
    if (Create(kHkeyLocalMachine, kFamilyKey, MachineAccess(view64), family) != 0) return 0;
    if (SetString(family, "Company", CompanyName, true) != 0) return 0;
  }
  return 1;
}
