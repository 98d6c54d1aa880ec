#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) and runs
# each for a short bounded time from its checked-in seed corpus. Prints one line per target with the
# executions made; exits non-zero when a target crashes, breaks a property, leaks or does not build.
#
# Usage: fuzz/run.sh [SECONDS-PER-TARGET]   (default 10; FUZZ_JOBS sets the build's parallel jobs)
# Findings are kept in build/fuzz-artifacts/, each target's output in build/fuzz-logs/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-10}
build=build/fuzz
logs=build/fuzz-logs
artifacts=build/fuzz-artifacts
targets=(fuzz_command_line fuzz_inf_hardware_ids fuzz_inf_reader fuzz_matching_files)

cxx=$(command -v clang++-14 || command -v clang++)
cc=$(command -v clang-14 || command -v clang)
cmake -S fuzz -B "$build" -DCMAKE_C_COMPILER="$cc" -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$build" -j"${FUZZ_JOBS:-$(nproc)}" --target "${targets[@]}" >/dev/null

mkdir -p "$logs" "$artifacts"
status=0
for target in "${targets[@]}"; do
  # New inputs go to a scratch corpus; the checked-in seeds are only read.
  scratch=$build/corpus/$target
  mkdir -p "$scratch"
  log=$logs/$target.log
  if "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/$target-" "$scratch" "fuzz/corpus/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -n1)
    echo "fuzz $target: ${runs:-0} executions in ${seconds} s, no finding"
  else
    status=1
    echo "fuzz $target: FINDING (see $log and $artifacts/):"
    grep -E 'ERROR|property broken|SUMMARY|Test unit written' "$log" | head -n 8 | sed 's/^/  /'
  fi
done
exit "$status"
