// The simulated Setup API's INF reader and ReadInfField over an OEM INF of any content: ReadInfField
// answers what the parsed INF holds for the section, key and field asked for, the whole field up to its
// first NUL, and closes the INF on every path. The stale-package test runs over the same INF.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "drivers/CaseInsensitiveText.h"
#include "drivers/StaleDriverPackages.h"
#include "fuzz/FuzzInput.h"
#include "platform/sim/SimHost.h"
#include "platform/sim/SimInfFile.h"

namespace {

constexpr const char* kInfName = "oem7.inf";

// What the parsed INF holds at field fieldIndex of the first line with the key in the section, as the
// Setup API would read it; nothing when the INF is not of the Windows NT style or the field is missing.
std::optional<std::string> ExpectedField(const std::string& text, const std::string& section, const std::string& key,
                                         std::uint32_t fieldIndex) {
  const platform::sim::SimInfFile inf = platform::sim::SimInfFile::Parse(text);
  if (!inf.IsWin4Style()) return std::nullopt;
  const platform::sim::SimInfSection* found = inf.Section(section);
  if (found == nullptr) return std::nullopt;
  for (const platform::sim::SimInfLine& line : found->lines) {
    if (!line.key || !drivers::EqualsIgnoringCase(*line.key, key)) continue;
    if (fieldIndex > line.fields.size()) return std::nullopt;
    const std::string& field = fieldIndex == 0 ? *line.key : line.fields[fieldIndex - 1];
    return field.substr(0, field.find('\0'));
  }
  return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const std::uint32_t fieldIndex = input.Byte() % 4;
  // The section and the key reach Windows as C strings.
  std::string section = input.Until('\n');
  std::string key = input.Until('\n');
  section = section.substr(0, section.find('\0'));
  key = key.substr(0, key.find('\0'));
  const std::string text = input.Rest();

  platform::sim::SimHost host;
  host.files.AddFile(std::string(platform::sim::SimFiles::kWindowsDirectory) + "\\inf\\" + kInfName, text);

  std::string value = "unchanged";
  const bool read = drivers::ReadInfField(kInfName, section, key, fieldIndex, value);
  const std::optional<std::string> expected = ExpectedField(text, section, key, fieldIndex);
  fuzz::Require(read == expected.has_value(), "ReadInfField finds exactly the fields the INF holds");
  if (read) fuzz::Require(value == *expected, "ReadInfField reads the whole field");
  fuzz::Require(host.setup.openInfFiles == 0, "ReadInfField closes the INF");

  drivers::IsCameraDriverInf(kInfName);
  fuzz::Require(host.setup.openInfFiles == 0, "the stale-package test closes the INF");
  return 0;
}
