#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace {

struct ArgumentCase {
  std::string argument;
  std::int32_t language;
  std::uint32_t driverMask;
};

TEST(CommandLineValues, AreComparedWholeExactlyAndCaseSensitively) {
  const std::vector<ArgumentCase> cases{
      {"0", 0, 1},      {"1", 1, 1},      {"2", 2, 1},      {"3", -1, 1},  {"", -1, 1},  {"01", -1, 1},
      {" 1", -1, 1},    {"1 ", -1, 1},    {"one", -1, 1},   {"u", -1, 1},  {"g", -1, 2}, {"a", -1, 3},
      {"ru", -1, 0x81}, {"rg", -1, 0x82}, {"ra", -1, 0x83}, {"U", -1, 1},  {"G", -1, 1}, {"RA", -1, 1},
      {"Ra", -1, 1},    {"u ", -1, 1},    {" g", -1, 1},    {"ug", -1, 1}, {"r", -1, 1}, {"rx", -1, 1},
  };
  for (const ArgumentCase& c : cases) {
    EXPECT_EQ(app::LanguageFromArgument(c.argument), c.language) << '"' << c.argument << '"';
    EXPECT_EQ(app::DriverMaskFromArgument(c.argument), c.driverMask) << '"' << c.argument << '"';
  }
}

TEST(DirectorySources, ArgumentsThreeToFiveReplaceTheDefaultsWhenNotEmpty) {
  using Sources = std::array<std::string, 3>;
  const Sources defaults{"..", "..\\SDK", "..\\Drivers"};
  struct Case {
    std::vector<std::string> arguments;
    Sources expected;
  };
  const std::vector<Case> cases{
      {{"calvant.exe"}, defaults},
      {{"calvant.exe", "1", "u"}, defaults},
      {{"calvant.exe", "1", "u", "D:\\Install"}, {"D:\\Install", "..\\SDK", "..\\Drivers"}},
      {{"calvant.exe", "1", "u", "", "D:\\Sdk"}, {"..", "D:\\Sdk", "..\\Drivers"}},
      {{"calvant.exe", "1", "u", "", "", "Drv"}, {"..", "..\\SDK", "Drv"}},
      {{"calvant.exe", "1", "u", "a", "b", "c", "d", "e"}, {"a", "b", "c"}},
  };
  for (const Case& c : cases) EXPECT_EQ(app::DirectorySources(c.arguments), c.expected);
}

}  // namespace
