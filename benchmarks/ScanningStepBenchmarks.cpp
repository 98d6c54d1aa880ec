// Each scanning step of the registration run alone, on machines crowded with what it walks over.
#include <benchmark/benchmark.h>

#include "benchmarks/CrowdedMachine.h"
#include "benchmarks/FreshMachineTimer.h"
#include "drivers/CameraDevices.h"
#include "drivers/DriverServices.h"
#include "drivers/StaleDriverPackages.h"
#include "system/FilterRegistrations.h"

namespace benchmarks {
namespace {

using platform::sim::SimHost;

void FilterRegistrationCleanUp(benchmark::State& state) {
  const auto items = static_cast<std::size_t>(state.range(0));
  TimeOnFreshMachines(
      state, items, [&](SimHost& host) { PlantFilterRegistrations(host, items); },
      [](SimHost&) { sys::CleanFilterRegistrations(); },
      [&](const SimHost& host) {
        return Mismatch("registrations left", FilterRegistrationCount(host), items - kPlatformItems);
      });
}

void CameraDeviceRemoval(benchmark::State& state) {
  const auto items = static_cast<std::size_t>(state.range(0));
  TimeOnFreshMachines(
      state, items,
      [&](SimHost& host) {
        PlantPackage(host);
        PlantDeviceNodes(host, items);
      },
      [](SimHost&) { drivers::RemoveCameraDevices(kDriverInfPath); },
      [&](const SimHost& host) {
        return Mismatch("device nodes left", DeviceNodeCount(host), items - kPlatformItems);
      });
}

void StaleDriverPackageRemoval(benchmark::State& state) {
  const auto items = static_cast<std::size_t>(state.range(0));
  TimeOnFreshMachines(
      state, items, [&](SimHost& host) { PlantOemInfs(host, items); },
      [](SimHost&) { drivers::RemoveStaleDriverPackages(); },
      [&](const SimHost& host) { return Mismatch("INFs left", InfCount(host), items - kPlatformItems); });
}

void DriverServiceRemoval(benchmark::State& state) {
  const auto items = static_cast<std::size_t>(state.range(0));
  TimeOnFreshMachines(
      state, items, [&](SimHost& host) { PlantDriverServices(host, items); },
      [](SimHost&) { drivers::RemoveCameraDriverServices(); },
      [&](const SimHost& host) {
        return Mismatch("driver services left", DriverServiceCount(host, items), items - kPlatformItems);
      });
}

BENCHMARK(FilterRegistrationCleanUp)->Apply(MachineSizes);
BENCHMARK(CameraDeviceRemoval)->Apply(MachineSizes);
BENCHMARK(StaleDriverPackageRemoval)->Apply(MachineSizes);
BENCHMARK(DriverServiceRemoval)->Apply(MachineSizes);

}  // namespace
}  // namespace benchmarks
