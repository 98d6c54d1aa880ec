// A whole package and an earlier installation on a simulated machine, the registration run on it, and
// what the run left: messages, redirection, started programs and the machine's state before and after.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/sim/SimHost.h"

namespace reliability {

inline constexpr const char* kProgramDir = "C:\\Package Root\\Calvant";
inline constexpr const char* kInstallDir = "C:\\Package Root";
inline constexpr const char* kSdkDir = "C:\\Package Root\\SDK";
inline constexpr const char* kDriversDir = "C:\\Package Root\\Drivers";
inline constexpr const char* kHalconRoot = "D:\\MVTec\\HALCON-12.0";
inline constexpr const char* kDriverInf = "C:\\Package Root\\Drivers\\USB\\WIN10\\ZeZ2Idador.Inf";
inline constexpr const char* kCameraService = "ZeZ2Idador";
inline constexpr const char* kOtherService = "Beep";

struct RunSetup {
  bool is64BitWindows = true;
  std::uint32_t driverMask = 3;
  // The package paths as the dialog holds them.
  std::string programDir = kProgramDir;
  std::string installDir = kInstallDir;
  std::string sdkDir = kSdkDir;
  std::string driversDir = kDriversDir;
};

// One call of the run made to fail: the nth call of that name (from 1) with that error.
struct Fault {
  std::string call;
  std::size_t nth = 1;
  std::uint32_t error = 0;
};

struct ShownMessage {
  std::string text;
  std::string caption;
  bool redirectionOff = false;  // while the box was up
  bool operator==(const ShownMessage&) const = default;
};

struct StartedProgram {
  std::string program;  // where it really was
  bool redirectionOff = false;
};

// What one run did and left.
struct RunRecord {
  std::int32_t result = -1;
  std::vector<platform::sim::AnsweredCall> calls;
  std::vector<ShownMessage> messages;
  std::vector<std::string> redirection;  // "disable" and "revert", in order
  bool redirectionOffAtEnd = false;
  std::vector<StartedProgram> started;
  std::set<std::string> changes;  // lines of the machine's state that appeared or disappeared
  // The device nodes the run removed, as state lines: a rescan finds the attached ones again.
  std::set<std::string> removedDevices;
  int handlesLeftOpen = 0;  // registry keys, finds, text files, INFs, device sets, services, processes
  int librariesLeftLoaded = 0;
};

using Adjustment = std::function<void(platform::sim::SimHost&)>;

// Lays out the package with every file present (SDK files, X64, HALCON interface under HALCONROOT, model
// INF, USB INFs, GigE installers, the 64-bit installer part) and what an earlier installation left (a
// camera device, its OEM INF, its driver service, platform filter registrations).
void LayOutPackage(platform::sim::SimHost& host);

// The machine's state as lines: registry keys and values, files with their content, devices, services.
std::set<std::string> MachineState(platform::sim::SimHost& host);

// Runs RunRegistration once on a fresh machine laid out as above, in English with the success message
// shown; the adjustment, if any, changes the machine after the layout and before the run.
RunRecord RunOnce(const RunSetup& setup, const std::optional<Fault>& fault = std::nullopt,
                  const Adjustment& adjust = {});

// Message texts as the run shows them in English.
std::string SuccessText();
std::string ErrorCaption();
std::string NumberedErrorText(int code);
std::string ApiLoadFailedText();
std::string OperationFailedText(std::uint32_t error);

}  // namespace reliability
