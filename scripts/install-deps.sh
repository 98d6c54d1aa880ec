#!/usr/bin/env bash
# Installs everything the build and the test tiers need on a Debian machine (run as root).
# Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  cmake g++ make ninja-build googletest libgtest-dev libgmock-dev libbenchmark-dev
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine32 wine64 fonts-wine xvfb xdotool imagemagick fonts-wqy-zenhei
  clang libclang-rt-14-dev llvm python3 locales
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  missing+=(wine32)
fi
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Code pages 936 and 950 for the message-box tests come from these locales.
for loc in zh_CN.UTF-8 zh_TW.UTF-8 en_US.UTF-8; do
  if ! locale -a 2>/dev/null | grep -qi "^${loc%.UTF-8}.utf8$"; then
    sed -i "s/^# *\(${loc} UTF-8\)/\1/" /etc/locale.gen
    need_locale_gen=1
  fi
done
if [ "${need_locale_gen:-0}" = 1 ]; then locale-gen >/dev/null; fi
