#!/usr/bin/env bash
# Registers the sample installation package with the real calvant.exe in a throwaway 64-bit Wine prefix,
# unattended ("calvant.exe 1 a": Simplified Chinese, USB and GigE drivers), and prints what the run
# changed: registry values per view, files per system folder, the programs it started.
#
# The package lies in a folder whose path has a space (C:\Lumetra Sample Package), and a HALCON 12
# installation is simulated at C:\Program Files\MVTec\HALCON-12.0 through HALCONROOT.
# CALVANT_KEEP_PREFIX=1 keeps the prefix for a look afterwards (its path is printed).
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

# shellcheck source=scripts/lib/sample-prefix.sh
source scripts/lib/sample-prefix.sh
ensure_tools

echo "Building calvant.exe and the sample package ..."
jobs=$(nproc)
cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686 -j"$jobs" --target calvant sample_package >/dev/null
cmake --preset mingw-x86_64 >/dev/null
cmake --build --preset mingw-x86_64 -j"$jobs" --target sample_package >/dev/null

make_sample_prefix calvant-sample
launch_log="$WINEPREFIX/drive_c/sample-package-launches.log"

python3 scripts/sample_report.py snapshot "$WINEPREFIX" "$work/before.json" "$halcon_windows"

echo "Running: $package_windows\\Calvant\\calvant.exe 1 a   (HALCONROOT=$halcon_windows)"
status=0
(cd "$package/Calvant" &&
  HALCONROOT="$halcon_windows" WINEDEBUG=+process timeout 300 wine calvant.exe 1 a 2>"$work/process.log") ||
  status=$?
wineserver -w
if [ "$status" -eq 124 ]; then
  echo "calvant.exe did not end within 5 minutes: a failure message box is waiting (an unattended run shows" \
    "only failures)."
else
  echo "calvant.exe ended with exit status $status."
fi
echo

python3 scripts/sample_report.py snapshot "$WINEPREFIX" "$work/after.json" "$halcon_windows"
python3 "$repo/scripts/sample_report.py" report "$work/before.json" "$work/after.json" "$work/process.log" \
  "$launch_log" "$WINEPREFIX"
