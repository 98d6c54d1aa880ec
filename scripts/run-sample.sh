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

for tool in cmake i686-w64-mingw32-g++ x86_64-w64-mingw32-g++ wine wine64 python3; do
  if ! command -v "$tool" >/dev/null; then
    echo "Installing the build and Wine packages (scripts/install-deps.sh) ..."
    bash scripts/install-deps.sh
    break
  fi
done

echo "Building calvant.exe and the sample package ..."
jobs=$(nproc)
cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686 -j"$jobs" --target calvant sample_package >/dev/null
cmake --preset mingw-x86_64 >/dev/null
cmake --build --preset mingw-x86_64 -j"$jobs" --target sample_package >/dev/null

work=$(mktemp -d /tmp/calvant-sample.XXXXXX)
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  wineserver -k 2>/dev/null || true
  if [ "${CALVANT_KEEP_PREFIX:-0}" = 1 ]; then
    echo "Prefix kept: $WINEPREFIX"
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT

echo "Making a 64-bit Wine prefix (about 15 s) ..."
timeout 300 wineboot -i >/dev/null 2>&1
# Windows without a screen: they exist and run their code, drawn nowhere.
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wineserver -w

package_windows='C:\Lumetra Sample Package'
package="$WINEPREFIX/drive_c/Lumetra Sample Package"
halcon_windows='C:\Program Files\MVTec\HALCON-12.0'
package/layout-package.sh "$package"
for folder in x86sse2-win32 x86-win32 x64-win64; do
  mkdir -p "$WINEPREFIX/drive_c/Program Files/MVTec/HALCON-12.0/bin/$folder"
done
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
