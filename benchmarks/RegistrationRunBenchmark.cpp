// The whole program, started unattended for the USB camera drivers, on machines that hold the same number
// of filter registrations, device nodes, OEM INFs and driver services. The run's pause before the device
// rescan is only recorded by the simulated host, so the time is the run's own work.
#include <benchmark/benchmark.h>

#include <vector>

#include "benchmarks/CrowdedMachine.h"
#include "benchmarks/FreshMachineTimer.h"
#include "support/RunFixture.h"

namespace benchmarks {
namespace {

using platform::sim::SimHost;

void RegistrationRun(benchmark::State& state) {
  const auto items = static_cast<std::size_t>(state.range(0));
  TimeOnFreshMachines(
      state, 4 * items,
      [&](SimHost& host) {
        PlantPackage(host);
        PlantFilterRegistrations(host, items);
        PlantDeviceNodes(host, items);
        PlantOemInfs(host, items);
        PlantDriverServices(host, items);
      },
      [](SimHost& host) {
        CCalvantDlg dialog;
        testing_support::StartProgram(host, dialog, L" 0 u");
      },
      [&](const SimHost& host) {
        std::string fault;
        if (!host.ui.messageBoxes.empty()) fault = "the run reported: " + host.ui.messageBoxes[0].text;
        if (host.files.sleeps != std::vector<std::uint32_t>{1000}) fault += " the pause was not the recorded one";
        fault += Mismatch(" registrations left", FilterRegistrationCount(host), items - kPlatformItems);
        fault += Mismatch(" device nodes removed", host.setup.removedDevices.size(), kPlatformItems);
        // The package's own INF is staged after the stale ones are gone.
        fault += Mismatch(" INFs left", InfCount(host), items - kPlatformItems + 1);
        fault += Mismatch(" driver services left", DriverServiceCount(host, items), items - kPlatformItems);
        return fault;
      });
}

BENCHMARK(RegistrationRun)->Apply(MachineSizes);

}  // namespace
}  // namespace benchmarks
