// The setup dialog's start on the simulated host with any command line, any path of the program's own
// file and each ANSI code page: the arguments split by the system's rules, the language, the drivers and
// the three package directories derived from them, and, when a language is named, the whole unattended
// run over an empty machine. The dialog ends, and what it derived is what the command line says.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/CalvantDlg.h"
#include "fuzz/FuzzInput.h"
#include "messages/MessageTable.h"
#include "platform/WinConstants.h"
#include "platform/sim/CodePages.h"
#include "platform/sim/CommandLineRules.h"
#include "platform/sim/SimHost.h"
#include "resources/resource.h"

namespace {

constexpr std::uint32_t kCodePages[] = {1252, 936, 950};
constexpr std::size_t kLongestPath = 32767;

// The command line as UTF-16: two bytes a character, little-endian.
std::wstring WideText(const std::string& bytes) {
  std::wstring text;
  for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
    text.push_back(
        static_cast<wchar_t>(static_cast<std::uint8_t>(bytes[at]) | static_cast<std::uint8_t>(bytes[at + 1]) << 8));
  }
  return text;
}

// Argument `position` as the program reads it: converted to the code page, empty when it cannot be.
std::optional<std::string> Argument(const std::vector<std::wstring>& arguments, std::size_t position,
                                    std::uint32_t codePage) {
  if (position >= arguments.size()) return std::nullopt;
  return platform::sim::WideToCodePage(arguments[position], codePage).value_or(std::string());
}

std::int32_t ExpectedLanguage(const std::optional<std::string>& argument) {
  if (argument == "0") return 0;
  if (argument == "1") return 1;
  if (argument == "2") return 2;
  return -1;
}

std::uint32_t ExpectedDriverMask(const std::optional<std::string>& argument) {
  if (argument == "u") return 0x01;
  if (argument == "g") return 0x02;
  if (argument == "a") return 0x03;
  if (argument == "ru") return 0x81;
  if (argument == "rg") return 0x82;
  if (argument == "ra") return 0x83;
  return 0x01;
}

// Whether the dialog's folder is right for its source. A relative source lies in the program's folder. One the
// ANSI call can make absolute is that absolute form; one it cannot (260 characters or more) is kept fully
// qualified with no "." or ".." element left, or left empty when it cannot be.
bool DirectoryIsRight(const std::string& kept, const std::optional<std::string>& argument, const std::string& fallback,
                      const std::string& currentDirectory, const std::string& programDir, bool entered) {
  const std::string source = argument && !argument->empty() ? *argument : fallback;
  const bool relative =
      !(source.size() >= 2 && source[1] == ':') && !(!source.empty() && (source[0] == '\\' || source[0] == '/'));
  const std::string inProgramDir = relative && !programDir.empty() ? programDir + "\\" + source : source;
  const std::string located = entered ? source : inProgramDir;
  if (located.size() < platform::kMaxPath) {
    const std::string full = platform::sim::ResolveFullPath(located, currentDirectory);
    if (full.size() < kLongestPath) return kept == full;
  }
  if (kept.empty()) return true;
  const bool fullyQualified =
      kept.size() >= 3 && ((kept[1] == ':' && kept[2] == '\\') || kept.compare(0, 2, "\\\\") == 0);
  const std::string elements = kept + "\\";
  return fullyQualified && elements.find("\\.\\") == std::string::npos && elements.find("\\..\\") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput input(data, size);
  const std::uint32_t codePage = kCodePages[input.Byte() % 3];
  std::string programPath = input.Until('\n');
  programPath = programPath.substr(0, programPath.find('\0'));
  const std::wstring commandLine = WideText(input.Rest());

  platform::sim::SimHost host;
  host.system.ansiCodePage = codePage;
  host.system.moduleFileName = programPath;
  host.system.commandLine = commandLine;
  messages::LanguageIndex = -1;
  bool waited = false;
  host.ui.Script(IDD_CALVANT_DIALOG, [&](platform::sim::DialogSession& session) {
    waited = true;
    session.PressEscape();
  });
  CCalvantDlg dialog;
  dialog.DoModal();

  const std::vector<std::wstring> arguments = platform::sim::SplitCommandLine(commandLine);
  const std::int32_t language = ExpectedLanguage(Argument(arguments, 1, codePage));
  fuzz::Require(messages::LanguageIndex == language, "the language is the one argument 1 names");
  fuzz::Require(waited == (language < 0), "the dialog waits exactly when no language is named");
  fuzz::Require(dialog.DriverMask == ExpectedDriverMask(Argument(arguments, 2, codePage)),
                "the drivers are the ones argument 2 names");
  fuzz::Require(dialog.Unattended == (language >= 0 ? 1 : 0), "the run is unattended exactly with a language");

  const std::string& program = dialog.ProgramDir;
  fuzz::Require(program.empty() || (programPath.compare(0, program.size(), program) == 0 &&
                                    programPath.size() > program.size() && programPath[program.size()] == '\\'),
                "the program's folder is its path up to a backslash");
  const std::string& current = host.system.currentDirectory;
  const bool entered = !host.system.directoryChanges.empty();
  fuzz::Require(DirectoryIsRight(dialog.InstallDir, Argument(arguments, 3, codePage), "..", current, program, entered),
                "InstallDir is argument 3, or the parent folder, made absolute");
  fuzz::Require(DirectoryIsRight(dialog.SdkDir, Argument(arguments, 4, codePage), "..\\SDK", current, program, entered),
                "SdkDir is argument 4, or the parent's SDK folder, made absolute");
  fuzz::Require(
      DirectoryIsRight(dialog.DriversDir, Argument(arguments, 5, codePage), "..\\Drivers", current, program, entered),
      "DriversDir is argument 5, or the parent's Drivers folder, made absolute");
  return 0;
}
