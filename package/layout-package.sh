#!/usr/bin/env bash
# Assembles the sample installation package from the MinGW builds (mingw-i686 and mingw-x86_64 presets,
# target sample_package in each, calvant in the 32-bit one):
#
#   DEST\Calvant\calvant.exe
#   DEST\SDK\RAZEDAVE.dll, Selvanic.ax, Ferrocam.ocx, hAcqSelvanic.dll, hAcqSelvanic12.dll
#   DEST\SDK\X64\RAZEDAVE_X64.dll, Selvanic64.ax, hAcqSelvanic12_X64.dll
#   DEST\Drivers\models.inf
#   DEST\Drivers\GIGE\WIN10\51|60\TbDriverInstall.exe, TbDriverInstall_X64.exe (and the same in WIN7)
#
# The USB camera drivers (Drivers\USB\...) and Calvant\Installer_x64Part.exe belong to the USB driver
# package: when package/usb/layout-usb.sh exists it is called with DEST to add them.
#
# Usage: package/layout-package.sh DEST
set -euo pipefail

dest=${1:?usage: layout-package.sh DEST}
repo=$(cd "$(dirname "$0")/.." && pwd)
build32=${CALVANT_BUILD_I686:-$repo/build/mingw-i686}
build64=${CALVANT_BUILD_X86_64:-$repo/build/mingw-x86_64}
files32=$build32/package-files
files64=$build64/package-files

for needed in "$build32/bin/calvant.exe" "$files32/Ferrocam.ocx" "$files64/RAZEDAVE_X64.dll"; do
  if [ ! -f "$needed" ]; then
    echo "layout-package.sh: $needed is missing; build the mingw-i686 (calvant, sample_package) and" \
      "mingw-x86_64 (sample_package) presets first" >&2
    exit 1
  fi
done

mkdir -p "$dest/Calvant" "$dest/SDK/X64" "$dest/Drivers"
cp "$build32/bin/calvant.exe" "$dest/Calvant/"
cp "$files32"/{RAZEDAVE.dll,Selvanic.ax,Ferrocam.ocx,hAcqSelvanic.dll,hAcqSelvanic12.dll} "$dest/SDK/"
cp "$files64"/{RAZEDAVE_X64.dll,Selvanic64.ax,hAcqSelvanic12_X64.dll} "$dest/SDK/X64/"
cp "$repo/package/models.inf" "$dest/Drivers/"
for windows in WIN10 WIN7; do
  for generation in 51 60; do
    folder="$dest/Drivers/GIGE/$windows/$generation"
    mkdir -p "$folder"
    cp "$files32/TbDriverInstall.exe" "$files64/TbDriverInstall_X64.exe" "$folder/"
  done
done

if [ -x "$repo/package/usb/layout-usb.sh" ]; then
  "$repo/package/usb/layout-usb.sh" "$dest"
fi
