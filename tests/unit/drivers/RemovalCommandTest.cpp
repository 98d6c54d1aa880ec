// The 64-bit installer part's command line, as the setup program's shell start hands it over.
#include <gtest/gtest.h>

#include "installer_x64/RemovalCommand.h"

namespace {

TEST(RemovalCommandTest, TakesTheRestOfTheLineAfterTheSwitchAsTheInfPath) {
  struct Case {
    const char* commandLine;
    std::optional<std::string> infPath;
  };
  const Case cases[] = {
      {"\"C:\\Package Root\\Calvant\\Installer_x64Part.exe\" -rdev C:\\Package Root\\Drivers\\USB\\WIN10\\Z.Inf",
       "C:\\Package Root\\Drivers\\USB\\WIN10\\Z.Inf"},
      {"Installer_x64Part.exe -rdev C:\\My Drivers\\Z.Inf  ", "C:\\My Drivers\\Z.Inf"},
      {"Installer_x64Part.exe   -rdev \"C:\\My Drivers\\Z.Inf\"", "C:\\My Drivers\\Z.Inf"},
      {"Installer_x64Part.exe -rdev C:\\a  b\\Z.Inf", "C:\\a  b\\Z.Inf"},
      {"Installer_x64Part.exe -rdev ", std::nullopt},
      {"Installer_x64Part.exe -rdev", std::nullopt},
      {"Installer_x64Part.exe -rdevC:\\Z.Inf", std::nullopt},
      {"Installer_x64Part.exe -other C:\\Z.Inf", std::nullopt},
      {"Installer_x64Part.exe", std::nullopt},
      {"\"C:\\x -rdev y\\Installer_x64Part.exe\"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(installer::InfPathFromCommandLine(c.commandLine), c.infPath) << c.commandLine;
}

}  // namespace
