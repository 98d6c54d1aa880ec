#!/usr/bin/env bash
# Adds the USB camera driver package to a sample installation package laid out by
# package/layout-package.sh:
#
#   DEST\Calvant\Installer_x64Part.exe          (built here with the mingw-x86_64 preset)
#   DEST\Drivers\USB\WIN10\ZeZ2Idador.Inf, ZeZ2Idador.sys
#   DEST\Drivers\USB\WIN7\ZeZ2Idador.Inf, ZeZ2Idador.sys
#
# The INFs name no catalog file (Windows' INF staging fails on a missing one); the driver file is a stand-in.
#
# Usage: package/usb/layout-usb.sh DEST
set -euo pipefail

dest=${1:?usage: layout-usb.sh DEST}
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build64=${CALVANT_BUILD_X86_64:-$repo/build/mingw-x86_64}
installer_part=$build64/bin/Installer_x64Part.exe

if [ -f "$build64/CMakeCache.txt" ]; then
  cmake --build "$build64" --target Installer_x64Part >/dev/null
fi
mkdir -p "$dest/Calvant" "$dest/Drivers"
cp "$installer_part" "$dest/Calvant/"
cp -r "$here/Drivers/USB" "$dest/Drivers/"
