#!/usr/bin/env bash
# Times the registration run under Wine against two yardsticks, in one throwaway 64-bit prefix with one
# wineserver kept warm for every start:
#   run    the sample package registered unattended ("calvant.exe 1"), without its USB driver folder,
#          so that the USB step finds no INF and installs nothing: the work of DriverMask 0
#   floor  floor.exe, a do-nothing program built and started as calvant.exe is
#   batch  register.bat, what a packager would write instead: the run's 24 registry values with reg.exe
#          and its 7 file copies with copy
# and prints the medians of repeated starts with the ratios run / floor and batch / run.
#
# Usage: scripts/bench-wine.sh [RUNS]   (default 15 starts of each; CALVANT_BENCH_JSON=FILE keeps the times)
set -euo pipefail
trap 'echo "bench-wine.sh: the command at line $LINENO failed" >&2' ERR
cd "$(dirname "$0")/.."
repo=$(pwd)
runs=${1:-15}

# shellcheck source=scripts/lib/sample-prefix.sh
source scripts/lib/sample-prefix.sh
ensure_tools

echo "Building calvant.exe, floor.exe and the sample package ..."
jobs=$(nproc)
cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686 -j"$jobs" --target calvant floor sample_package >/dev/null
cmake --preset mingw-x86_64 >/dev/null
cmake --build --preset mingw-x86_64 -j"$jobs" --target sample_package >/dev/null

make_sample_prefix calvant-bench
rm -rf "$package/Drivers/USB" "$package/Calvant/Installer_x64Part.exe"
cp build/mingw-i686/bin/floor.exe "$package/Calvant/"

# One server for every start below; it stays until the prefix is removed.
wineserver -p
echo "Timing $runs starts of each (a warm-up start of each first) ..."
python3 "$repo/scripts/bench_wine.py" "$package" "$package_windows" "$halcon_windows" "$runs" \
  ${CALVANT_BENCH_JSON:+"$CALVANT_BENCH_JSON"}
echo
echo "Machine: $(nproc) CPUs, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)," \
  "$(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo) memory; $(wine --version)"
