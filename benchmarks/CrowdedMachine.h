// Simulated machines crowded with what the run's scanning steps walk over: DirectShow filter registrations,
// device nodes, OEM INFs and kernel driver services, a few of each belonging to the platform and the rest
// to other software. The benchmarks build one before each measured run and check what the run left.
#pragma once

#include <cstddef>
#include <string>

#include "platform/sim/SimHost.h"

namespace benchmarks {

// How many planted items of each kind belong to the platform (whatever the machine's size).
inline constexpr std::size_t kPlatformItems = 4;

// The driver INF of the package; its hardware identifiers name some of the planted device nodes.
inline constexpr const char* kDriverInfPath = "C:\\Package Root\\Drivers\\USB\\WIN10\\ZeZ2Idador.Inf";

// `count` registrations, split between the video input and the legacy filter categories.
void PlantFilterRegistrations(platform::sim::SimHost& host, std::size_t count);
// `count` device nodes, present and left from earlier connections.
void PlantDeviceNodes(platform::sim::SimHost& host, std::size_t count);
// `count` OEM INFs in the Windows INF directory.
void PlantOemInfs(platform::sim::SimHost& host, std::size_t count);
// `count` kernel and file-system driver services.
void PlantDriverServices(platform::sim::SimHost& host, std::size_t count);
// The installation package the program is started from, its USB driver INF included.
void PlantPackage(platform::sim::SimHost& host);

// What is left after a run: registrations in both categories, device nodes, INFs of the INF directory,
// and how many of the `planted` driver services are still there.
std::size_t FilterRegistrationCount(const platform::sim::SimHost& host);
std::size_t DeviceNodeCount(const platform::sim::SimHost& host);
std::size_t InfCount(const platform::sim::SimHost& host);
std::size_t DriverServiceCount(const platform::sim::SimHost& host, std::size_t planted);

}  // namespace benchmarks
