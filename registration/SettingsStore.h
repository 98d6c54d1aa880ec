// The platform settings store: the company name under the product family key and the settings the
// platform's other software reads, in HKEY_LOCAL_MACHINE (both views where asked) and HKEY_CURRENT_USER.
// It only creates keys and writes string values; it never reads, deletes or skips an existing value.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace registration {

inline constexpr const char* kFamilyKey = "Software\\Ferrolux";

// The four settings key paths of the process: empty at start, formatted by BuildSettingsKeys.
extern std::string SettingsKey;         // HKLM "Software\<company>\Settings"
extern std::string SettingsKeyX64;      // HKLM "Software\<company>\Settings_X64"
extern std::string UserSettingsKey;     // HKCU "Software\<company>\Lumetra\Settings"
extern std::string UserSettingsKeyX64;  // HKCU "Software\<company>\Lumetra\Settings_X64"

// CCalvantDlg::WriteCompanyValue (declared with the dialog) fills CompanyName from the company-name field
// and writes it as the Company value of kFamilyKey.

// Formats the four settings key paths with the company text. Returns 1.
std::int32_t BuildSettingsKeys(const std::string& company);

// Writes a value without its terminating zero. x64Key: SettingsKeyX64 (64-bit view under WOW64);
// otherwise bothViews: SettingsKey in the default view and, under WOW64, also in the 64-bit view;
// neither: SettingsKey once (64-bit view under WOW64). 1 when the first key of the target could be
// opened, whatever the writes did; 0 otherwise.
std::int32_t WriteMachineSetting(const std::string& name, const std::string& text, std::int32_t bothViews,
                                 std::int32_t x64Key);

// Writes a value with its terminating zero into both user keys. 1 when every open, close and write
// succeeded; 0 otherwise, after trying both.
std::int32_t WriteUserSetting(const std::string& name, const std::string& text);

enum class SettingWriter { MachineBoth, MachineX64, User };

struct Setting {
  std::string name;
  SettingWriter writer;
  std::string text;
};

// The settings written after the company value, in the run's order, up to UpdateInstall.
std::vector<Setting> PlatformSettings(std::int32_t languageRadio, const std::string& sdkDir,
                                      const std::string& installDir);

// Writes one setting with its writer; the writer's result.
std::int32_t WriteSetting(const Setting& setting);

}  // namespace registration
