#!/usr/bin/env bash
# Sets up a Debian machine (as root), builds every program and runs every test tier: the native unit tests
# against the simulated Windows host (plain and under AddressSanitizer and UndefinedBehaviorSanitizer), then
# the end-to-end tests of the real programs under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
for preset in native native-sanitize mingw-i686 mingw-x86_64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
done

log_dir=build/test-logs
mkdir -p "$log_dir"

status=0
ctest --preset native -j"$jobs" 2>&1 | tee "$log_dir/unit.log" || status=1
ctest --preset native-sanitize -j"$jobs" 2>&1 | tee -a "$log_dir/unit.log" || status=1
bash fuzz/run.sh 2>&1 | tee "$log_dir/fuzz.log" || status=1
bash tests/e2e/run.sh 2>&1 | tee "$log_dir/e2e.log" || status=1

# One closing line over both tiers.
unit_total=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2/p' "$log_dir/unit.log" |
  awk '{ sum += $1 } END { print sum + 0 }')
unit_failed=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\1/p' "$log_dir/unit.log" |
  awk '{ sum += $1 } END { print sum + 0 }')
e2e_total=$(sed -n 's/^Ran \([0-9]*\) tests\{0,1\} in.*/\1/p' "$log_dir/e2e.log" | tail -n1)
e2e_failed=$(sed -n 's/^FAILED (\(.*\))$/\1/p' "$log_dir/e2e.log" | tr ',' '\n' | sed -n 's/.*\(failures\|errors\)=\([0-9]*\).*/\2/p' |
  awk '{ sum += $1 } END { print sum + 0 }')
unit_total=${unit_total:-0} unit_failed=${unit_failed:-0} e2e_total=${e2e_total:-0}
failed=$((unit_failed + e2e_failed))
passed=$((unit_total + e2e_total - failed))
if [ "$status" -ne 0 ] && [ "$failed" -eq 0 ]; then failed=1; fi
echo "${passed} passed, ${failed} failed"
exit "$status"
