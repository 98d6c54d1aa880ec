#include "drivers/InfHardwareIds.h"

#include <regex>

#include "drivers/CaseInsensitiveText.h"
#include "platform/Backends.h"

namespace drivers {
namespace {

// A text file opened with the C runtime's text mode, closed when the scope ends.
class ScopedTextFile {
 public:
  explicit ScopedTextFile(const std::string& path) : file_(platform::Files().OpenTextFile(path)) {}
  ~ScopedTextFile() {
    if (IsOpen()) platform::Files().CloseTextFile(file_);
  }
  ScopedTextFile(const ScopedTextFile&) = delete;
  ScopedTextFile& operator=(const ScopedTextFile&) = delete;

  bool IsOpen() const { return file_ != 0; }
  platform::TextFileHandle Get() const { return file_; }

 private:
  platform::TextFileHandle file_;
};

constexpr int kPieceSize = 1024;
// Far beyond any driver INF: a file that goes on past this is not read further.
constexpr std::size_t kMaxInfBytes = 16 * 1024 * 1024;

}  // namespace

std::set<std::string> CollectInfHardwareIds(const std::string& infPath) {
  std::set<std::string> ids;
  ScopedTextFile file(infPath);
  if (!file.IsOpen()) return ids;
  static const std::regex hardwareId(R"(USB\\VID_\w{4}&PID_\w{4})", std::regex::ECMAScript);
  char piece[kPieceSize];
  std::size_t bytesRead = 0;
  while (bytesRead < kMaxInfBytes && platform::Files().ReadLine(file.Get(), piece, kPieceSize)) {
    piece[kPieceSize - 1] = '\0';
    const std::string text = ToUpperAscii(piece);
    bytesRead += text.size() + 1;
    if (text.find("USB\\VID_") == std::string::npos) continue;  // no identifier can start in this piece
    for (std::sregex_iterator match(text.begin(), text.end(), hardwareId), end; match != end; ++match) {
      ids.insert(match->str());
    }
  }
  return ids;
}

}  // namespace drivers
