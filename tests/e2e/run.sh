#!/usr/bin/env bash
# Runs the end-to-end tests under Wine; exits non-zero when one fails.
# Needs the Windows builds first: cmake --preset mingw-i686 && cmake --build --preset mingw-i686 (and the
# x86-64 preset for the tests that use 64-bit fixtures). CALVANT_EXE and WINPROBE_EXE choose other builds.
# Wine prefix templates are built on the first run (about a minute) and kept in build/wine-templates/;
# screenshots and program output go to build/e2e-artifacts/.
set -euo pipefail
cd "$(dirname "$0")/../.."
exec python3 -m unittest discover -s tests/e2e -p 'test_*.py' -v "$@"
