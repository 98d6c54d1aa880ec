// The simulated host splits command lines as Windows does; the program relies on those rules.
#include <gtest/gtest.h>

#include "platform/sim/CommandLineRules.h"

namespace {

TEST(CommandLineRules, SplitLikeCommandLineToArgvW) {
  struct Case {
    std::wstring line;
    std::vector<std::wstring> arguments;
  };
  const std::vector<Case> cases{
      {L"calvant.exe", {L"calvant.exe"}},
      {L"\"C:\\With Space\\calvant.exe\" 1 u", {L"C:\\With Space\\calvant.exe", L"1", L"u"}},
      {L"C:\\a\\\"b\\calvant.exe 1", {L"C:\\a\\\"b\\calvant.exe", L"1"}},
      {L"p  1\t\tu   ", {L"p", L"1", L"u"}},
      {L"p \"\" g", {L"p", L"", L"g"}},
      {L"p \"a b\"c d", {L"p", L"a bc", L"d"}},
      {L"p a\\\\\\\"b", {L"p", L"a\\\"b"}},
      {L"p a\\\\\"b c\"", {L"p", L"a\\b c"}},
      {L"p a\\\\b", {L"p", L"a\\\\b"}},
      {L"p \"C:\\Dir\\\\\" next", {L"p", L"C:\\Dir\\", L"next"}},
      {L"p \"say \"\"hi\"\"\"", {L"p", L"say \"hi\""}},
      {L"p \"open", {L"p", L"open"}},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::sim::SplitCommandLine(c.line), c.arguments);
}

}  // namespace
