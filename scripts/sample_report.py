#!/usr/bin/env python3
"""Snapshots a Wine prefix before and after a run of calvant.exe and reports what the run changed.

    sample_report.py snapshot PREFIX OUT.json [EXTRA_FOLDER ...]
    sample_report.py report BEFORE.json AFTER.json PROCESS_TRACE LAUNCH_LOG [PREFIX]

A snapshot holds the registry as Wine keeps it (system.reg, user.reg), split into HKLM's 64-bit and
32-bit views, and the files below the system folders (system32, syswow64, inf) and below any extra
folder given as a Windows path. The report lists registry values added, changed or removed per view,
files added or replaced per folder, and the programs the run started (from Wine's +process trace) with
the working directory the sample installers recorded, and, given the prefix, what the 64-bit installer part
reported in its log.
"""

import json
import os
import re
import sys
from pathlib import Path, PureWindowsPath

SYSTEM_FOLDERS = [r"C:\windows\system32", r"C:\windows\syswow64", r"C:\windows\inf"]
# Programs Wine starts for its own service; they are not the run's.
WINE_OWN_PROGRAMS = ("conhost.exe", "services.exe", "winedevice.exe", "plugplay.exe", "svchost.exe", "rpcss.exe",
                     "winemenubuilder.exe", "wineboot.exe", "explorer.exe", "start.exe")
# Keys Wine rewrites on every start; they say nothing about the run.
NOISE_KEYS = (r"Software\Wine", r"System\CurrentControlSet\Control\Session Manager\Environment",
              r"Software\Microsoft\Windows NT\CurrentVersion\Perflib", r"Volatile Environment",
              r"System\CurrentControlSet\Services\Eventlog", r"Software\Microsoft\Windows\CurrentVersion\Explorer",
              r"Hardware", r"System\CurrentControlSet\Control\Print",
              r"System\CurrentControlSet\Control\Class\{4D36E968-E325-11CE-BFC1-08002BE10318}",  # display
              r"System\CurrentControlSet\Control\Class\{4D36E96E-E325-11CE-BFC1-08002BE10318}")  # monitor
# Values Wine refreshes at every start of its device service.
NOISE_VALUES = ("DriverDateData",)


def unescape(text):
    return re.sub(r"\\(.)", lambda m: m.group(1), text)


def parse_reg(path):
    """Wine's registry file: {key: {value name: value text}}, key paths with single backslashes."""
    keys = {}
    current = None
    for line in path.read_text(encoding="utf-8", errors="replace").splitlines():
        if line.startswith("["):
            end = line.rfind("]")
            current = keys.setdefault(line[1:end].replace("\\\\", "\\"), {})
        elif current is not None and (line.startswith('"') or line.startswith("@=")):
            match = re.match(r'^(@|"((?:[^"\\]|\\.)*)")=(.*)$', line)
            if not match:
                continue
            name = "(default)" if match.group(1) == "@" else unescape(match.group(2))
            value = match.group(3)
            if value.startswith('"') and value.endswith('"'):
                value = unescape(value[1:-1])
            current[name] = value
    return keys


def registry_views(prefix):
    views = {"HKLM, 64-bit view": {}, "HKLM, 32-bit view": {}, "HKCU": {}}
    for key, values in parse_reg(prefix / "system.reg").items():
        wow = re.match(r"(?i)^Software\\Wow6432Node(\\.*)?$", key)
        if wow:
            views["HKLM, 32-bit view"]["Software" + (wow.group(1) or "")] = values
        else:
            views["HKLM, 64-bit view"][key] = values
            # Keys outside Software are shared by both views.
            if not key.lower().startswith("software"):
                views["HKLM, 32-bit view"][key] = values
    views["HKCU"] = parse_reg(prefix / "user.reg")
    return views


def unix_path(prefix, windows_path):
    parts = PureWindowsPath(windows_path).parts
    drive = parts[0].rstrip("\\").lower()
    return prefix / "dosdevices" / drive / Path(*parts[1:])


def files_below(folder):
    listing = {}
    if not folder.is_dir():
        return listing
    for root, _, names in os.walk(folder):
        for name in names:
            path = Path(root) / name
            try:
                stat = path.stat()
            except OSError:
                continue
            listing[str(path.relative_to(folder)).replace("/", "\\")] = [stat.st_size, stat.st_mtime_ns]
    return listing


def snapshot(prefix, out, extra_folders):
    prefix = Path(prefix)
    folders = {name: files_below(unix_path(prefix, name)) for name in SYSTEM_FOLDERS + extra_folders}
    Path(out).write_text(json.dumps({"registry": registry_views(prefix), "files": folders}))


def is_noise(key):
    lowered = key.lower()
    return any(lowered == noise.lower() or lowered.startswith(noise.lower() + "\\") for noise in NOISE_KEYS)


def report_registry(before, after):
    print("Registry values the run wrote or removed")
    for view in after:
        changes = []
        for key in sorted(set(before[view]) | set(after[view]), key=str.lower):
            if is_noise(key):
                continue
            old, new = before[view].get(key, {}), after[view].get(key, {})
            for name in sorted(set(old) | set(new) - set(NOISE_VALUES), key=str.lower):
                if name not in old:
                    changes.append(f"  + {key}  {name} = {new[name]}")
                elif name not in new:
                    changes.append(f"  - {key}  {name} (was {old[name]})")
                elif old[name] != new[name]:
                    changes.append(f"  ~ {key}  {name} = {new[name]} (was {old[name]})")
        print(f"\n {view}:")
        print("\n".join(changes) if changes else "  (nothing)")


def report_files(before, after):
    print("\nFiles the run put in place")
    for folder in after:
        old, new = before.get(folder, {}), after[folder]
        lines = []
        for name in sorted(new, key=str.lower):
            if name not in old:
                lines.append(f"  + {name}  ({new[name][0]} bytes)")
            elif old[name] != new[name]:
                lines.append(f"  ~ {name}  (replaced, {new[name][0]} bytes)")
        lines += [f"  - {name}" for name in sorted(set(old) - set(new), key=str.lower)]
        print(f"\n {folder}:")
        print("\n".join(lines) if lines else "  (nothing)")


def report_programs(trace_path, launch_log):
    print("\nPrograms the run started, in order")
    started = []
    for line in Path(trace_path).read_text(encoding="utf-8", errors="replace").splitlines():
        match = re.search(r'CreateProcessInternalW app (?:L"(.*?)"|\(null\)) cmdline L"(.*)"$', line)
        if not match:
            continue
        command = match.group(2).replace('\\"', '"').replace("\\\\", "\\")
        if any(own in command.lower() for own in WINE_OWN_PROGRAMS):
            continue
        started.append(command)
    for number, command in enumerate(started, 1):
        print(f"  {number}. {command}")
    if not started:
        print("  (none)")
    log = Path(launch_log)
    if log.exists():
        print("\n The sample GigE installers recorded (program, arguments, working directory):")
        for line in log.read_text(errors="replace").splitlines():
            program, arguments, directory = (line.split("\t") + ["", ""])[:3]
            print(f"  {program} {arguments}\n      in {directory}")


def report_installer_part(prefix):
    logs = sorted(Path(prefix, "drive_c", "users").glob("*/**/Installer_x64Part.log"))
    if not logs:
        return
    print("\n The 64-bit installer part reported:")
    for line in logs[-1].read_text(errors="replace").splitlines():
        print(f"  {line}")


def main(argv):
    if len(argv) >= 3 and argv[0] == "snapshot":
        snapshot(argv[1], argv[2], argv[3:])
    elif len(argv) in (5, 6) and argv[0] == "report":
        before = json.loads(Path(argv[1]).read_text())
        after = json.loads(Path(argv[2]).read_text())
        report_registry(before["registry"], after["registry"])
        report_files(before["files"], after["files"])
        report_programs(argv[3], argv[4])
        if len(argv) == 6:
            report_installer_part(argv[5])
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
