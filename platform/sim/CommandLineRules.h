// The system's rules for splitting a program's command line into arguments, as CommandLineToArgvW
// applies them: the program name ends at the first blank outside quotes and takes no escapes; later
// arguments honour quotes, 2n backslashes before a quote give n backslashes and a quote that toggles
// quoting, 2n+1 give n backslashes and a literal quote, and "" inside quotes gives a literal quote.
#pragma once

#include <string>
#include <vector>

namespace platform::sim {

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);

}  // namespace platform::sim
