// The command line of an unattended run: language, drivers and the three package directories, by
// position. Values are compared whole and case-sensitively; anything else keeps the default.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace app {

// Argument 1: "0" English, "1" Simplified Chinese, "2" Traditional Chinese; -1 for anything else.
std::int32_t LanguageFromArgument(const std::string& argument);

// Argument 2: "u" 1, "g" 2, "a" 3, "ru" 0x81, "rg" 0x82, "ra" 0x83; 1 for anything else.
std::uint32_t DriverMaskFromArgument(const std::string& argument);

// The sources of InstallDir, SdkDir and DriversDir: "..", "..\SDK", "..\Drivers", each replaced by
// argument 3, 4 or 5 when that exists and is not empty. arguments[0] is the program itself.
std::array<std::string, 3> DirectorySources(const std::vector<std::string>& arguments);

// The process's arguments split by the system's rules and converted to the thread's ANSI code page;
// an argument that cannot be converted is empty. Empty when the command line cannot be split.
std::optional<std::vector<std::string>> ReadArguments();

}  // namespace app
