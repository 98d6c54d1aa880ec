// INF texts for the USB driver tests: a [Version] section that makes the Setup API accept the file as an
// INF_STYLE_WIN4 INF, followed by the sections a test gives.
#pragma once

#include <string>

namespace drivers_test {

inline std::string Inf(const std::string& sections) {
  return "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=USB\r\n\r\n" + sections;
}

}  // namespace drivers_test
