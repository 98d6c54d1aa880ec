// One measured action per benchmark iteration, each on a machine built for it: the building, the checking
// and the machine's destruction stay outside the time. Every iteration checks what the action left, so
// that a run that stopped doing its work cannot pass for a fast one.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "platform/sim/SimHost.h"

namespace benchmarks {

// A mismatch as the benchmark's error text; empty when the count is the one expected.
inline std::string Mismatch(const char* what, std::size_t actual, std::size_t expected) {
  if (actual == expected) return std::string();
  return std::string(what) + ": " + std::to_string(actual) + " instead of " + std::to_string(expected);
}

// Reports the time of each action (manual time) and the counters `items` (what the action walks over)
// and `ns_per_item` (its time per walked item, averaged over the iterations).
template <typename Plant, typename Action, typename Check>
void TimeOnFreshMachines(benchmark::State& state, std::size_t walkedItems, Plant plant, Action action, Check check) {
  double nsPerItem = 0;
  for (auto _ : state) {
    // A 32-bit Windows: the program removes the device nodes itself instead of starting its 64-bit part.
    auto host = std::make_unique<platform::sim::SimHost>(platform::sim::MachineKind{.is64BitWindows = false});
    plant(*host);
    const auto start = std::chrono::steady_clock::now();
    action(*host);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(elapsed.count());
    nsPerItem += elapsed.count() * 1e9 / static_cast<double>(walkedItems);
    if (const std::string fault = check(*host); !fault.empty()) {
      state.SkipWithError(fault.c_str());
      break;
    }
  }
  state.counters["items"] = static_cast<double>(walkedItems);
  state.counters["ns_per_item"] = benchmark::Counter(nsPerItem, benchmark::Counter::kAvgIterations);
}

// The machine sizes every benchmark runs at.
inline void MachineSizes(benchmark::internal::Benchmark* benchmark) {
  for (const int items : {10, 100, 1000, 10000, 100000}) benchmark->Arg(items);
  benchmark->UseManualTime()->Unit(benchmark::kMillisecond);
}

}  // namespace benchmarks
