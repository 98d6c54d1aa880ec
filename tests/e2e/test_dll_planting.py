"""The elevated program loads no DLL planted beside it or in the directory it was started from. Under
Wine, with WINEDLLOVERRIDES asking for native DLLs of every planted name first, canary DLLs (which leave
a mark when loaded) lie beside calvant.exe (the package's Calvant folder, also the current directory of
the run and of every program it starts) and in the directory the program was started from, under the
name of every DLL that the program, the programs it starts and their system libraries load, and of the
DLLs that system libraries are known to look for by name. A full unattended run of the sample package
must succeed and load none of them, while the control still finds the library beside it in its own
folder. Canaries of each width run in turn: a loader skips a DLL of the other width."""

from __future__ import annotations

import re
import subprocess
from pathlib import Path, PureWindowsPath

from harness import BUILD_DIR, PROGRAM_TIMEOUT, REPO_ROOT, STEP_TIMEOUT, WineProcess, WineTestCase

SOURCES = Path(__file__).resolve().parent / "planting"
FIXTURES = BUILD_DIR / "e2e-planting"
LAYOUT_SCRIPT = REPO_ROOT / "package" / "layout-package.sh"
COMPILERS = {32: "i686-w64-mingw32-gcc", 64: "x86_64-w64-mingw32-gcc"}
CANARY_ENTRY = {32: "_CanaryMain@12", 64: "CanaryMain"}

PACKAGE = r"C:\Lumetra Package Root"
CALVANT_DIR = PACKAGE + r"\Calvant"
SDK = PACKAGE + r"\SDK"
START_DIR = r"C:\Users\Public\Downloads"
HALCON_ROOT = r"C:\Program Files\MVTec\HALCON-12.0"
MARKS = r"HKLM\Software\Ferrolux\Marks"
CANARY_MARKS = r"C:\canary-marks"
NEIGHBOUR = "ferroneighbour.dll"
LAYOUT_TIMEOUT = 300.0  # the layout may first bring the 64-bit part's build up to date

# DLLs that system libraries look for by name, found or not, in the classic planting reports.
ALSO_PLANTED = {"version.dll", "uxtheme.dll", "dwmapi.dll", "cryptbase.dll", "profapi.dll", "userenv.dll"}
# Wine's own core, which it never loads from a file beside a program, and the DLLs that Windows maps from
# its list of known DLLs whoever asks for them by name, never from a folder. Wine has no such list: its
# own libraries load these (ole32 among them, delay-loaded) by the process's default search path, which
# SetDefaultDllDirectories does not reach under Wine.
NEVER_NATIVE = {"ntdll.dll", "kernel32.dll", "kernelbase.dll", "user32.dll", "gdi32.dll", "advapi32.dll",
                "shell32.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll", "rpcrt4.dll", "shlwapi.dll",
                "imm32.dll", "comdlg32.dll", "ws2_32.dll", "sechost.dll", "combase.dll", "shcore.dll", "msctf.dll"}
# "PID:TID:trace:loaddll:build_module Loaded L"PATH" at ADDRESS: native" (or builtin). Wine names a builtin
# DLL after a file of that name it found on the search path, so only a native load is the file itself.
LOADED = re.compile(r'^([0-9a-f]+):[0-9a-f]+:trace:loaddll:\w+ Loaded L"([^"]+)" at (\w+): (\w+)$', re.MULTILINE)


def build(command: list[str]) -> None:
    subprocess.run(command, check=True, timeout=STEP_TIMEOUT, capture_output=True)


def build_fixtures() -> None:
    """The canary of each width and the stand-in control with the library it imports."""
    FIXTURES.mkdir(parents=True, exist_ok=True)
    for bits, compiler in COMPILERS.items():
        build([compiler, "-O2", "-Wall", "-Wextra", "-Werror", "-shared", "-nostdlib", "-e", CANARY_ENTRY[bits],
               "-o", str(FIXTURES / f"canary{bits}.dll"), str(SOURCES / "canary.c"), "-lkernel32"])
    compiler = COMPILERS[32]
    build([compiler, "-O2", "-Wall", "-Wextra", "-Werror", "-shared", "-o", str(FIXTURES / NEIGHBOUR),
           str(SOURCES / "neighbour.c"), f"-Wl,--out-implib,{FIXTURES / 'libferroneighbour.a'}"])
    build([compiler, "-O2", "-Wall", "-Wextra", "-Werror", "-shared", "-static-libgcc", "-Wl,--kill-at",
           "-o", str(FIXTURES / "Ferrocam.ocx"), str(SOURCES / "neighbour_control.c"),
           str(FIXTURES / "libferroneighbour.a"), "-ladvapi32"])


class DllPlantingTest(WineTestCase):
    @classmethod
    def setUpClass(cls):
        build_fixtures()

    def lay_out_package(self, p) -> None:
        # A fresh wineserver session, so that the desktop process runs with the headless graphics driver.
        p.kill_processes()
        p.start_server()
        subprocess.run(["bash", str(LAYOUT_SCRIPT), str(p.host_path(PACKAGE))], check=True,
                       timeout=LAYOUT_TIMEOUT, capture_output=True)
        for folder in ("x86sse2-win32", "x86-win32", "x64-win64"):
            p.host_path(HALCON_ROOT + "\\bin\\" + folder).mkdir(parents=True)
        # The control of this package needs a library of its own, which lies beside it.
        for name in ("Ferrocam.ocx", NEIGHBOUR):
            (p.host_path(SDK) / name).write_bytes((FIXTURES / name).read_bytes())
        p.host_path(START_DIR).mkdir(parents=True, exist_ok=True)
        p.host_path(CANARY_MARKS).mkdir(parents=True, exist_ok=True)

    def run_traced(self, p, overrides: str, log_name: str) -> tuple[dict[str, list[str]], list[str]]:
        """Runs "calvant.exe 1 a" from START_DIR with Wine's DLL load trace. The DLLs each process of the run
        loaded, in order, by process id and width ("32:pid" or "64:pid"; the first DLL being the program's
        own file), and every file that any process loaded as a native DLL."""
        env = p.env()
        env.update(WINEDEBUG="+pid,+loaddll", HALCONROOT=HALCON_ROOT)
        if overrides:
            env["WINEDLLOVERRIDES"] += ";" + overrides
        log_path = p.artifact_dir / log_name
        p.artifact_dir.mkdir(parents=True, exist_ok=True)
        with open(log_path, "wb") as log:
            popen = subprocess.Popen(["wine", CALVANT_DIR + r"\calvant.exe", "1", "a"], env=env,
                                     cwd=p.host_path(START_DIR), stdin=subprocess.DEVNULL, stdout=log, stderr=log)
            self.assertEqual(WineProcess(popen, "calvant.exe 1 a", p).wait(PROGRAM_TIMEOUT), 0)
        loads: dict[str, list[str]] = {}
        native: list[str] = []
        for process, path, address, kind in LOADED.findall(log_path.read_text("utf-8", "replace")):
            path = path.replace("\\\\", "\\")
            loads.setdefault(f"{4 * len(address)}:{process}", []).append(path)
            if kind == "native":
                native.append(path)
        # Wine's own services, started by the session, are not part of the run.
        return {process: paths for process, paths in loads.items() if is_run_program(paths[0])}, native

    def test_a_full_run_loads_no_planted_dll_and_the_control_finds_its_neighbour(self):
        for bits in (32, 64):
            with self.subTest(canaries=bits), self.prefix(kind="win64", version="win10") as p:
                self.lay_out_package(p)
                p.wine("reg", "query", r"HKCU\Software\Wine")  # the session's own services start here
                loads, _ = self.run_traced(p, "", "discovery.log")
                calvant = next(paths for paths in loads.values() if paths[0].lower().endswith("\\calvant.exe"))
                self.assertIn(NEIGHBOUR, [dll_name(path) for path in calvant], "the load trace was read")
                # What the loader maps before a program's first instruction (its imports and theirs) Windows
                # takes from its list of known DLLs, never from a folder. Wine has no such list: it takes a
                # DLL of such a name from the program's folder (version.dll among them, which Wine's own
                # advapi32 imports). Those are left out: a program cannot act before it starts. Every DLL
                # loaded from the start on (the first being setupapi.dll, which the programs load
                # themselves) is planted and forced to be looked for as a native DLL first.
                before_start = {dll_name(path) for process, paths in loads.items() if process.startswith(f"{bits}:")
                                for path in paths[:first_own_load(paths)]}
                names = {dll_name(path) for paths in loads.values() for path in paths if path.lower().endswith(".dll")}
                names = (names | ALSO_PLANTED | {NEIGHBOUR}) - before_start - NEVER_NATIVE
                self.assertIn(NEIGHBOUR, names)

                canary = (FIXTURES / f"canary{bits}.dll").read_bytes()
                planted = [folder + "\\" + name for folder in (CALVANT_DIR, START_DIR) for name in sorted(names)]
                for path in planted:
                    p.host_path(path).write_bytes(canary)
                overrides = ",".join(sorted(name.removesuffix(".dll") for name in names)) + "=n,b"
                _, native = self.run_traced(p, overrides, f"planted{bits}.log")

                marks = sorted(path.name for path in p.host_path(CANARY_MARKS).iterdir())
                self.assertEqual(marks, [], f"canaries loaded ({len(planted)} planted: {sorted(names)})")
                planted_paths = {path.lower() for path in planted}
                self.assertEqual([path for path in native if path.lower() in planted_paths], [])
                self.assertEqual(p.reg_value(MARKS, "FerrocamNeighbour", 32).data, "0x2a",
                                 "the control was loaded with the library beside it")
                self.assertEqual(p.reg_value(MARKS, "ModelsInf", 64).data, "installed", "the run went on to the end")


def dll_name(path: str) -> str:
    return PureWindowsPath(path).name.lower()


def first_own_load(paths: list[str]) -> int:
    """Where a process's own loads begin: its first setupapi.dll; a program that never loads it (a GigE
    installer of the package) loaded all it did before it started."""
    return next((index for index, path in enumerate(paths) if dll_name(path) == "setupapi.dll"), len(paths))


def is_run_program(path: str) -> bool:
    """The program of the run and the programs it starts: those of the package and the INF installer."""
    return path.lower().startswith(PACKAGE.lower() + "\\") or dll_name(path) == "rundll32.exe"
