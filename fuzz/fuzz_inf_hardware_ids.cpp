// CollectInfHardwareIds over a driver INF of any content on the simulated host: every identifier it
// returns has the identifier's form and stands in the file's text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "drivers/CaseInsensitiveText.h"
#include "drivers/InfHardwareIds.h"
#include "fuzz/FuzzInput.h"
#include "platform/sim/SimHost.h"

namespace {

constexpr const char* kInfPath = "C:\\Package\\Drivers\\USB\\WIN10\\ZeZ2Idador.inf";

bool IsWordCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// "USB\VID_" + four word characters + "&PID_" + four word characters, upper case.
bool HasIdentifierForm(const std::string& id) {
  if (id.size() != 21 || id.compare(0, 8, "USB\\VID_") != 0 || id.compare(12, 5, "&PID_") != 0) return false;
  for (std::size_t at : {8, 9, 10, 11, 17, 18, 19, 20}) {
    if (!IsWordCharacter(id[at]) || (id[at] >= 'a' && id[at] <= 'z')) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string content(reinterpret_cast<const char*>(data), size);
  platform::sim::SimHost host;
  host.files.AddFile(kInfPath, content);

  const std::string upperContent = drivers::ToUpperAscii(content);
  for (const std::string& id : drivers::CollectInfHardwareIds(kInfPath)) {
    fuzz::Require(HasIdentifierForm(id), "a collected identifier has the identifier's form");
    fuzz::Require(upperContent.find(id) != std::string::npos, "a collected identifier stands in the file");
  }
  fuzz::Require(host.files.openTextFiles == 0, "the INF is closed again");
  return 0;
}
