#!/usr/bin/env python3
"""Times the registration run under Wine against the floor and against a packager's batch file.

    bench_wine.py PACKAGE_DIR PACKAGE_WINDOWS HALCON_WINDOWS RUNS [RESULT.json]

PACKAGE_DIR is the laid-out sample package inside the prefix (its Windows path PACKAGE_WINDOWS), without
its USB driver folder. The environment names the prefix (WINEPREFIX) and a wineserver is kept running
(wineserver -p), so every start below meets a warm server. Three programs are started the same way,
`wine PROGRAM ARGS` from the package's Calvant folder with HALCONROOT set:

  run    calvant.exe 1             unattended; with no USB INF in the package the USB step finds nothing
                                   to install, so the run does what DriverMask 0 does
  floor  floor.exe 1               starts and ends
  batch  cmd /c register.bat       the run's 24 registry values with reg.exe, its 7 file copies with copy

After a warm-up start of the run, the values the batch is to write are read back and compared with what
the run wrote; after a warm-up start of the other two, RUNS rounds start the three in turn, and the
medians and ratios are printed (and written to RESULT.json when given).
"""

import json
import os
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

COMPANY = "Selvanic"
START_TIMEOUT = 120


def registry_writes(package, language="Chinese"):
    """(key, view, name, text) of the 24 values the run writes on 64-bit Windows, in the view of its first write."""
    sdk = package + r"\SDK"
    information = package + r"\Camera\Information"
    machine = rf"HKLM\Software\{COMPANY}\Settings"
    machine64 = rf"HKLM\Software\{COMPANY}\Settings_X64"
    user = rf"HKCU\Software\{COMPANY}\Lumetra\Settings"
    writes = [(r"HKLM\Software\Ferrolux", 32, "Company", COMPANY)]
    for name, both, x64 in [("Language", language, language), ("IspInterfacePath", sdk, sdk + r"\X64"),
                            ("DeviceInterfacePath", sdk, sdk + r"\X64"), ("InstallPath", package, package + r"\X64"),
                            ("ParamFileSavePath", package, package), ("DataFileSavePath", package, package),
                            ("CameraInfoPath", information, information), ("SdkPath", sdk, sdk + r"\X64")]:
        writes += [(machine, 32, name, both), (machine64, 64, name, x64)]
    writes.append((machine, 64, "WindowsPath", r"C:\windows"))
    for name, text in [("MessageAfterRecord", "TRUE"), ("MessageAfterSnap", "TRUE"), ("MessageSaveOnClose", "TRUE"),
                       ("ImageSavePath", package + r"\Image"), ("VideoSavePath", package + r"\Video"),
                       ("UpdateInstall", "FALSE")]:
        writes.append((user, 64, name, text))
    return writes


def file_copies(package, halcon):
    """(source, destination folder) of the 7 copies the run makes on 64-bit Windows with HALCON 12."""
    sdk = package + r"\SDK"
    return [(sdk + r"\RAZEDAVE.dll", r"C:\windows\syswow64"),
            (sdk + r"\X64\RAZEDAVE_X64.dll", r"C:\windows\system32"),
            (sdk + rf"\X64\{COMPANY}64.ax", r"C:\windows\system32"),
            (sdk + rf"\{COMPANY}.ax", r"C:\windows\syswow64"),
            (sdk + rf"\hAcq{COMPANY}12.dll", halcon + r"\bin\x86sse2-win32"),
            (sdk + rf"\hAcq{COMPANY}12.dll", halcon + r"\bin\x86-win32"),
            (sdk + rf"\X64\hAcq{COMPANY}12_X64.dll", halcon + r"\bin\x64-win64")]


def batch_text(package, halcon):
    """What a packager would write: one reg add per value, one copy per file, stopping at the first failure.

    Each failure test is a line of its own: Wine's cmd runs the right side of "||" after a success too.
    """
    lines = ["@echo off"]
    for key, view, name, text in registry_writes(package):
        lines += [f'reg add "{key}" /v {name} /t REG_SZ /d "{text}" /f /reg:{view} >nul', "if errorlevel 1 exit /b 1"]
    for source, folder in file_copies(package, halcon):
        lines += [f'copy /y "{source}" "{folder}\\" >nul', "if errorlevel 1 exit /b 1"]
    lines.append("exit /b 0")
    return "\r\n".join(lines) + "\r\n"


def start(command, cwd, env):
    # Output goes to a file, not a pipe: Wine's own background processes would hold a pipe open.
    with tempfile.TemporaryFile() as output:
        began = time.perf_counter()
        result = subprocess.run(command, cwd=cwd, env=env, stdout=output, stderr=output, timeout=START_TIMEOUT)
        elapsed = time.perf_counter() - began
        if result.returncode != 0:
            output.seek(0)
            sys.exit(f"bench_wine.py: {' '.join(command)} ended with {result.returncode}:\n"
                     + output.read().decode(errors="replace"))
    return elapsed


def registry_value(key, view, name, env):
    result = subprocess.run(["wine", "reg", "query", key, "/v", name, f"/reg:{view}"], env=env, capture_output=True,
                            text=True, errors="replace")
    for line in result.stdout.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[0] == name and parts[1] == "REG_SZ":
            return parts[2] if len(parts) == 3 else ""
    return None


def check_batch_matches_run(package_windows, env):
    """Every value the batch writes is there with the same text after the run, in the same view."""
    wrong = []
    for key, view, name, text in registry_writes(package_windows):
        found = registry_value(key, view, name, env)
        if found != text:
            wrong.append(f"{key} [{view}-bit] {name}: the run wrote {found!r}, the batch writes {text!r}")
    if wrong:
        sys.exit("bench_wine.py: the batch does not write what the run writes:\n  " + "\n  ".join(wrong))


def main():
    package_dir, package_windows, halcon_windows, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
    result_path = sys.argv[5] if len(sys.argv) > 5 else None
    calvant_dir = Path(package_dir) / "Calvant"
    (calvant_dir / "register.bat").write_bytes(batch_text(package_windows, halcon_windows).encode("ascii"))
    env = dict(os.environ, HALCONROOT=halcon_windows)
    commands = {"run": ["wine", "calvant.exe", "1"], "floor": ["wine", "floor.exe", "1"],
                "batch": ["wine", "cmd", "/c", "register.bat"]}

    # Warm-up: the run first, so that what it wrote can be read back before the batch writes anything.
    start(commands["run"], calvant_dir, env)
    check_batch_matches_run(package_windows, env)
    start(commands["floor"], calvant_dir, env)
    start(commands["batch"], calvant_dir, env)

    times = {name: [] for name in commands}
    order = list(commands)
    for round_number in range(runs):
        # A different program leads each round, so that none always follows the same one.
        rotated = order[round_number % 3:] + order[:round_number % 3]
        for name in rotated:
            times[name].append(start(commands[name], calvant_dir, env))

    medians = {name: statistics.median(values) for name, values in times.items()}
    print(f"{'':8}{'median':>10}{'min':>10}{'max':>10}   ({runs} starts each)")
    for name, values in times.items():
        print(f"{name:8}{medians[name] * 1000:>8.0f}ms{min(values) * 1000:>8.0f}ms{max(values) * 1000:>8.0f}ms")
    ratios = {"run / floor": medians["run"] / medians["floor"], "batch / run": medians["batch"] / medians["run"]}
    for name, value in ratios.items():
        print(f"{name}: {value:.2f}")
    if result_path:
        Path(result_path).write_text(json.dumps({"runs": runs, "seconds": times, "medians": medians,
                                                 "ratios": ratios}, indent=2) + "\n")


if __name__ == "__main__":
    main()
