# Shared by run-sample.sh and bench-wine.sh (sourced, from the repository's root): installs what is missing,
# makes a throwaway headless 64-bit Wine prefix and lays the sample package out in it.
#
#   ensure_tools                 install the build and Wine packages when a tool is missing
#   make_sample_prefix NAME      a prefix in a new /tmp/NAME.XXXXXX folder, removed on exit unless
#                                CALVANT_KEEP_PREFIX=1; sets work, package, package_windows, halcon_windows
#                                and lays out the package with a HALCON 12 installation beside it

ensure_tools() {
  local tool
  for tool in cmake i686-w64-mingw32-g++ x86_64-w64-mingw32-g++ wine python3; do
    if ! command -v "$tool" >/dev/null; then
      echo "Installing the build and Wine packages (scripts/install-deps.sh) ..."
      bash scripts/install-deps.sh
      return
    fi
  done
}

remove_sample_prefix() {
  wineserver -k 2>/dev/null || true
  if [ "${CALVANT_KEEP_PREFIX:-0}" = 1 ]; then
    echo "Prefix kept: $WINEPREFIX"
  else
    rm -rf "$work"
  fi
}

make_sample_prefix() {
  work=$(mktemp -d "/tmp/$1.XXXXXX")
  export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY WAYLAND_DISPLAY
  trap remove_sample_prefix EXIT

  echo "Making a 64-bit Wine prefix (about 15 s) ..."
  timeout 300 wineboot -i >/dev/null 2>&1
  # Windows without a screen: they exist and run their code, drawn nowhere.
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  wineserver -w

  package_windows='C:\Lumetra Sample Package'
  package="$WINEPREFIX/drive_c/Lumetra Sample Package"
  halcon_windows='C:\Program Files\MVTec\HALCON-12.0'
  package/layout-package.sh "$package"
  local folder
  for folder in x86sse2-win32 x86-win32 x64-win64; do
    mkdir -p "$WINEPREFIX/drive_c/Program Files/MVTec/HALCON-12.0/bin/$folder"
  done
}
