"""Runs the Windows programs of this repository under Wine for the end-to-end tests.

A test gets a fresh Wine prefix, copied from a template that is built once per kind ("win64": a 64-bit
prefix in which 32-bit programs run under WOW64, "win32": a 32-bit prefix) and cached under
build/wine-templates/. Each prefix has its own wineserver, kept alive for the test and killed at the
end, so nothing of one test reaches the next. Every Wine command runs under a timeout: a hang fails
the test instead of stalling the suite.

Windows are headless by default (Wine's null graphics driver: windows exist, can be read and driven,
but are drawn nowhere). With screen=True they are drawn on one Xvfb display shared by the suite, and
the test can save screenshots under build/e2e-artifacts/<test id>/.

The test reads and drives windows with winprobe.exe (tests/e2e/probe), reads the registry back per view
with `wine reg query`, and chooses the ANSI code page of a program by its locale (zh_CN.UTF-8 gives 936,
zh_TW.UTF-8 950, en_US.UTF-8 1252).

    class StartTest(WineTestCase):
        def test_dialog(self):
            with self.prefix(kind="win64", version="win10") as p:
                program = p.install(CALVANT_EXE, r"C:\\Lumetra\\Calvant")
                process = p.start(program)
                dialog = p.probe.wait_window("Lumetra", owned=False)
                ...
"""

from __future__ import annotations

import atexit
import contextlib
import fcntl
import functools
import json
import os
import re
import select
import shutil
import subprocess
import tempfile
import threading
import unittest
import uuid
from collections.abc import Iterator, Sequence
from typing import BinaryIO
from dataclasses import dataclass
from pathlib import Path, PureWindowsPath

REPO_ROOT = Path(__file__).resolve().parents[2]
BUILD_DIR = REPO_ROOT / "build"
TEMPLATE_CACHE_DIR = BUILD_DIR / "wine-templates"
PREFIX_DIR = BUILD_DIR / "wine-prefixes"
ARTIFACT_DIR = BUILD_DIR / "e2e-artifacts"

CALVANT_EXE = Path(os.environ.get("CALVANT_EXE", BUILD_DIR / "mingw-i686" / "bin" / "calvant.exe"))
WINPROBE_EXE = Path(os.environ.get("WINPROBE_EXE", BUILD_DIR / "mingw-i686" / "bin" / "winprobe.exe"))

WINE_ARCH = {"win64": "win64", "win32": "win32"}
WINE_ENVIRONMENT = {"WINEDEBUG": "-all", "WINEDLLOVERRIDES": "mscoree,mshtml="}
# Variables of the calling shell that would change how Wine behaves in a test.
INHERITED_VARIABLES_REMOVED = ("DISPLAY", "LANG", "LANGUAGE", "WINEARCH", "WINEPREFIX", "WINELOADER", "WINESERVER")

DEFAULT_LOCALE = "en_US.UTF-8"
# The ANSI and OEM code pages that Wine gives a program started with the locale. The console output of
# Wine's own tools (reg.exe) is in the OEM code page.
CODE_PAGES = {"en_US.UTF-8": (1252, 437), "zh_CN.UTF-8": (936, 936), "zh_TW.UTF-8": (950, 950)}

WINEBOOT_TIMEOUT = 300.0
STEP_TIMEOUT = 60.0
PROGRAM_TIMEOUT = 60.0
WINDOW_TIMEOUT = 20.0
MARLETT_FONT = Path("/usr/share/wine/fonts/marlett.ttf")  # from the fonts-wine package
TEMPLATE_FORMAT = 1  # raise when the template recipe changes, so that cached templates are rebuilt

SC_CLOSE = 0xF060
IDOK = 1


class WineTimeout(AssertionError):
    """A Wine step did not finish in time. It is a test failure: the program hung or waited."""


class ProbeError(RuntimeError):
    """winprobe could not do what it was asked (bad use, or Windows refused)."""


def run_step(command: Sequence[str], env: dict[str, str], timeout: float, what: str,
             check: bool = True) -> subprocess.CompletedProcess[bytes]:
    """Runs one command to its end under a timeout; with check, a non-zero status raises.

    The output goes through files, not pipes: a wineserver that the command starts inherits them and
    lives on, and a pipe would only reach its end when that server exits."""
    with tempfile.TemporaryFile() as stdout, tempfile.TemporaryFile() as stderr:
        try:
            returncode = subprocess.run(list(command), env=env, stdin=subprocess.DEVNULL, stdout=stdout,
                                        stderr=stderr, timeout=timeout).returncode
        except subprocess.TimeoutExpired as timeout_error:
            raise WineTimeout(f"{what} did not finish within {timeout:.0f} s: {' '.join(command)}") from timeout_error
        stdout.seek(0)
        stderr.seek(0)
        result = subprocess.CompletedProcess(command, returncode, stdout.read(), stderr.read())
    if check and result.returncode != 0:
        output = (result.stdout + result.stderr).decode("utf-8", "replace").strip()
        raise RuntimeError(f"{what} failed with status {result.returncode}: {' '.join(command)}\n{output}")
    return result


def wine_environment(prefix: Path, locale: str = DEFAULT_LOCALE, display: str | None = None,
                     arch: str | None = None) -> dict[str, str]:
    env = {name: value for name, value in os.environ.items()
           if name not in INHERITED_VARIABLES_REMOVED and not name.startswith("LC_")}
    env.update(WINE_ENVIRONMENT, WINEPREFIX=str(prefix), LC_ALL=locale)
    if display:
        env["DISPLAY"] = display
    if arch:
        env["WINEARCH"] = arch
    return env


@functools.cache
def available_locales() -> frozenset[str]:
    listing = subprocess.run(["locale", "-a"], capture_output=True, text=True, check=True).stdout
    return frozenset(name.lower() for name in listing.split())


def require_locale(locale: str) -> None:
    """Fails with a hint when the system lacks a locale that a test needs for its code page."""
    if locale.lower().replace("utf-8", "utf8") not in available_locales():
        raise AssertionError(f"locale {locale} is missing; scripts/install-deps.sh generates it")


# ---- template prefixes ----

def wine_version() -> str:
    return subprocess.run(["wine", "--version"], capture_output=True, text=True, check=True).stdout.strip()


class TemplateCache:
    """One finished prefix per kind, built on first use and kept while Wine (and its Marlett font) stays the same."""

    def __init__(self, root: Path = TEMPLATE_CACHE_DIR):
        self.root = root
        self._checked: set[str] = set()

    def template(self, kind: str) -> Path:
        if kind not in WINE_ARCH:
            raise ValueError(f"prefix kind {kind!r}: use one of {sorted(WINE_ARCH)}")
        path = self.root / kind
        if kind not in self._checked:
            self.root.mkdir(parents=True, exist_ok=True)
            with open(self.root / ".lock", "w") as lock:
                fcntl.flock(lock, fcntl.LOCK_EX)  # another suite may be building the same template
                if not self._is_valid(path, kind):
                    self._build(path, kind)
            self._checked.add(kind)
        return path

    @staticmethod
    def _stamp(kind: str) -> dict[str, object]:
        return {"kind": kind, "wine": wine_version(), "marlett": MARLETT_FONT.is_file(), "format": TEMPLATE_FORMAT}

    def _is_valid(self, path: Path, kind: str) -> bool:
        stamp_file = path / "calvant-template.json"
        try:
            return json.loads(stamp_file.read_text()) == self._stamp(kind)
        except (OSError, ValueError):
            return False

    def _build(self, path: Path, kind: str) -> None:
        """Builds beside the final place and renames, so an interrupted build is never taken for valid."""
        building = self.root / f"{kind}.building"
        shutil.rmtree(building, ignore_errors=True)
        env = wine_environment(building, arch=WINE_ARCH[kind])
        run_step(["wineboot", "-i"], env, WINEBOOT_TIMEOUT, f"wineboot of the {kind} template")
        # Wine draws the caption buttons with Marlett, which it finds only among the prefix's fonts. Its
        # other fonts stay out: with Tahoma there, captions would lose the fallback that shows Chinese.
        if MARLETT_FONT.is_file():
            shutil.copy2(MARLETT_FONT, building / "drive_c" / "windows" / "Fonts")
        # Unmanaged windows close without the X11 driver's 2 s wait for the window manager.
        run_step(["wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed", "/d", "N", "/f"],
                 env, STEP_TIMEOUT, "setting up the template")
        run_step(["wineserver", "-w"], env, STEP_TIMEOUT, "the template's wineserver")
        (building / "calvant-template.json").write_text(json.dumps(self._stamp(kind)))
        shutil.rmtree(path, ignore_errors=True)
        building.rename(path)


# ---- the shared X display ----

class VirtualDisplay:
    """One Xvfb server on a free display number, started on first use and stopped when Python exits."""

    _shared: VirtualDisplay | None = None
    _lock = threading.Lock()

    def __init__(self) -> None:
        # Xvfb writes its display number to the pipe when it is ready (and again at each server reset,
        # which -noreset avoids); the read end stays open while Xvfb runs, so that a write never fails.
        self._read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        self.name = ":" + self._read_display_number()

    def _read_display_number(self) -> str:
        ready, _, _ = select.select([self._read_end], [], [], STEP_TIMEOUT)
        number = os.read(self._read_end, 64).decode().strip() if ready else ""
        if not number.isdigit():
            self.stop()
            raise RuntimeError("Xvfb did not report its display number")
        return number

    def stop(self) -> None:
        self.process.terminate()
        self.process.wait(STEP_TIMEOUT)
        os.close(self._read_end)

    @classmethod
    def shared(cls) -> VirtualDisplay:
        with cls._lock:
            if cls._shared is None:
                cls._shared = VirtualDisplay()
                atexit.register(cls._shared.stop)
            return cls._shared


# ---- windows, as winprobe reports them ----

@dataclass(frozen=True)
class Window:
    hwnd: int
    title: str
    class_name: str
    owner: int
    style: int
    exstyle: int


@dataclass(frozen=True)
class Control:
    id: int
    class_name: str
    text: str
    style: int
    visible: bool
    enabled: bool
    check: int | None  # BM_GETCHECK of a button; None for other classes

    @property
    def button_type(self) -> int:
        return self.style & 0x0F  # BS_TYPEMASK


@dataclass(frozen=True)
class MenuItem:
    position: int
    id: int
    text: str
    separator: bool
    grayed: bool


@dataclass(frozen=True)
class MessageBox:
    hwnd: int
    caption: str
    text: str


@dataclass(frozen=True)
class WindowEvent:
    shown: bool
    hwnd: int
    owner: int
    title: str
    class_name: str


class WindowWatch:
    """Records every top-level window shown or hidden while it runs (see `Probe.watch`)."""

    def __init__(self, process: subprocess.Popen[bytes]):
        self._process = process
        self.events: list[WindowEvent] = []

    def wait_ready(self) -> None:
        ready, _, _ = select.select([self._process.stdout], [], [], STEP_TIMEOUT)
        line = self._process.stdout.readline() if ready else b""
        if json.loads(line or b"{}").get("event") != "ready":
            self._process.kill()
            raise ProbeError("winprobe watch did not start")

    def finish(self) -> None:
        try:
            output, _ = self._process.communicate(timeout=STEP_TIMEOUT)  # closes standard input first
        except subprocess.TimeoutExpired as timeout_error:
            self._process.kill()
            raise WineTimeout("winprobe watch did not end") from timeout_error
        for line in output.decode("utf-8").splitlines():
            fields = json.loads(line)
            self.events.append(WindowEvent(shown=fields["event"] == "show", hwnd=fields["hwnd"],
                                           owner=fields["owner"], title=fields["title"],
                                           class_name=fields["class"]))


class Probe:
    """Reads and drives the windows of the programs in one prefix through winprobe.exe."""

    def __init__(self, prefix: WinePrefix, executable: Path = WINPROBE_EXE):
        if not executable.is_file():
            raise FileNotFoundError(f"{executable} is missing: build the mingw-i686 preset (or set WINPROBE_EXE)")
        self.prefix = prefix
        self.executable = executable

    def _run(self, *arguments: str, timeout: float = STEP_TIMEOUT) -> list[dict]:
        command = ["wine", str(self.executable), *arguments]
        result = run_step(command, self.prefix.env(), timeout + STEP_TIMEOUT, "winprobe", check=False)
        error = result.stderr.decode("utf-8", "replace").strip()
        if result.returncode == 1:
            raise AssertionError(f"{error or 'winprobe found no matching window'}: {' '.join(arguments)}")
        if result.returncode != 0:
            raise ProbeError(f"winprobe {' '.join(arguments)}: status {result.returncode}: {error}")
        return [json.loads(line) for line in result.stdout.decode("utf-8").splitlines() if line.strip()]

    @staticmethod
    def _window(fields: dict) -> Window:
        return Window(hwnd=fields["hwnd"], title=fields["title"], class_name=fields["class"],
                      owner=fields["owner"], style=fields["style"], exstyle=fields["exstyle"])

    def wait_window(self, title: str, owned: bool | None = None, timeout: float = WINDOW_TIMEOUT) -> Window:
        """Waits until a window with this exact title is visible; fails the test after the timeout."""
        owner = [] if owned is None else ["--owned" if owned else "--unowned"]
        found = self._run("wait", "--title", title, *owner, "--timeout", str(int(timeout * 1000)), timeout=timeout)
        return self._window(found[0])

    def wait_gone(self, window: Window, timeout: float = WINDOW_TIMEOUT) -> None:
        """Waits until the window is no longer visible (hidden or destroyed)."""
        self._run("gone", "--hwnd", str(window.hwnd), "--timeout", str(int(timeout * 1000)), timeout=timeout)

    def controls(self, window: Window) -> list[Control]:
        """The window's controls, read after the window has handled the clicks and keys sent before."""
        return [Control(id=fields["id"], class_name=fields["class"], text=fields["text"], style=fields["style"],
                        visible=bool(fields["visible"]), enabled=bool(fields["enabled"]),
                        check=fields.get("check"))
                for fields in self._run("controls", "--hwnd", str(window.hwnd))]

    def control(self, window: Window, control_id: int) -> Control:
        matching = [control for control in self.controls(window) if control.id == control_id]
        if len(matching) != 1:
            raise AssertionError(f"window {window.title!r} has {len(matching)} controls with id {control_id}")
        return matching[0]

    def system_menu(self, window: Window) -> list[MenuItem]:
        """The items of the window's system menu, read inside the window's own process."""
        return [MenuItem(position=fields["position"], id=fields["id"], text=fields["text"],
                         separator=bool(fields["separator"]), grayed=bool(fields["grayed"]))
                for fields in self._run("sysmenu", "--hwnd", str(window.hwnd))]

    def message_box(self, window: Window) -> MessageBox:
        fields = self._run("msgbox", "--hwnd", str(window.hwnd))[0]
        return MessageBox(hwnd=fields["hwnd"], caption=fields["caption"], text=fields["text"])

    def click(self, window: Window, control_id: int) -> None:
        """Presses the button as a mouse click does (BM_CLICK): a check box or radio button changes its
        state, and the window gets WM_COMMAND with BN_CLICKED."""
        self._run("click", "--hwnd", str(window.hwnd), str(control_id))

    def system_command(self, window: Window, command: int) -> None:
        """Posts WM_SYSCOMMAND, as the system menu or the close box does (SC_CLOSE = 0xF060)."""
        self._run("syscommand", "--hwnd", str(window.hwnd), hex(command))

    def code_pages(self, locale: str) -> tuple[int, int]:
        """The ANSI and OEM code pages of a program started with this locale."""
        require_locale(locale)
        command = ["wine", str(self.executable), "codepage"]
        result = run_step(command, self.prefix.env(locale), STEP_TIMEOUT, "winprobe codepage")
        fields = json.loads(result.stdout)
        return fields["ansi"], fields["oem"]

    def press_key(self, window: Window, key: str) -> None:
        """Presses "escape", "enter" or "alt+f4" in the window's focused control."""
        self._run("key", "--hwnd", str(window.hwnd), key)

    @contextlib.contextmanager
    def watch(self) -> Iterator[WindowWatch]:
        """Records every top-level window that is shown or hidden inside the block, however briefly."""
        command = ["wine", str(self.executable), "watch"]
        process = subprocess.Popen(command, env=self.prefix.env(), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL)
        watch = WindowWatch(process)
        try:
            watch.wait_ready()
            yield watch
        finally:
            watch.finish()


# ---- registry read-back ----

@dataclass(frozen=True)
class RegValue:
    type: str  # REG_SZ, REG_DWORD, ...
    data: str  # as `reg query` prints it: REG_DWORD as 0x..., REG_BINARY as hex digits


@dataclass(frozen=True)
class RegKey:
    path: str
    values: dict[str, RegValue]  # the default value is named "(Default)"
    subkeys: list[str]  # full paths


VALUE_LINE = re.compile(r"^ {4}(?P<name>.*?) {4}(?P<type>REG_[A-Z_]+) {4}(?P<data>.*)$")
EMPTY_VALUE_LINE = re.compile(r"^ {4}(?P<name>.*?) {4}(?P<type>REG_[A-Z_]+)$")
ROOT_KEY_NAMES = {"HKLM": "HKEY_LOCAL_MACHINE", "HKCU": "HKEY_CURRENT_USER", "HKCR": "HKEY_CLASSES_ROOT",
                  "HKU": "HKEY_USERS", "HKCC": "HKEY_CURRENT_CONFIG"}


def parse_reg_query(output: str) -> list[RegKey]:
    """Parses the output of `reg query KEY [/v NAME]`: each key line, followed by its value lines."""
    keys: list[RegKey] = []
    for line in output.splitlines():
        if not line.strip():
            continue
        value = VALUE_LINE.match(line) or EMPTY_VALUE_LINE.match(line)
        if value:
            if not keys:
                raise ValueError(f"value line before any key: {line!r}")
            keys[-1].values[value["name"]] = RegValue(value["type"], value.groupdict().get("data") or "")
        elif line.startswith(" "):
            raise ValueError(f"unexpected line in reg query output: {line!r}")
        else:
            keys.append(RegKey(path=line, values={}, subkeys=[]))
    return keys


def full_key_path(key: str) -> str:
    """HKLM\\Software -> HKEY_LOCAL_MACHINE\\Software, as reg query prints it."""
    root, separator, rest = key.partition("\\")
    return ROOT_KEY_NAMES.get(root.upper(), root.upper()) + separator + rest


def queried_key(key: str, output: str) -> RegKey:
    """The key that `reg query KEY` asked for: its values and its subkeys. Wine prints the key's own line
    only when it has values; every other key line is a subkey."""
    path = full_key_path(key)
    found = RegKey(path=path, values={}, subkeys=[])
    for block in parse_reg_query(output):
        if block.path.lower() == path.lower():
            found.values.update(block.values)
        else:
            found.subkeys.append(block.path)
    return found


# ---- prefixes and programs ----

def registry_file_string(text: str) -> str:
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def registry_file_sections(keys: dict[str, dict[str, str]]) -> str:
    """String values in the text format of Wine's user.reg and system.reg (keys relative to the hive)."""
    sections = []
    for key, values in keys.items():
        escaped_key = key.replace("\\", "\\\\")
        lines = [f"[{escaped_key}] 0"]
        lines += [f"{registry_file_string(name)}={registry_file_string(value)}" for name, value in values.items()]
        sections.append("\n".join(lines) + "\n")
    return "\n" + "\n".join(sections)


class WineProcess:
    """A program started in the background in a prefix. As a context manager it kills the program if it
    still runs at the end of the block, so that a failed check leaves nothing behind for the next one."""

    def __init__(self, popen: subprocess.Popen[bytes], description: str, prefix: WinePrefix):
        self._popen = popen
        self.description = description
        self._prefix = prefix

    def wait(self, timeout: float = PROGRAM_TIMEOUT) -> int:
        """The exit status; fails the test (and kills the prefix's processes) when it runs on too long."""
        try:
            return self._popen.wait(timeout)
        except subprocess.TimeoutExpired as timeout_error:
            self._prefix.kill_processes()
            self._popen.wait(STEP_TIMEOUT)
            raise WineTimeout(f"{self.description} did not end within {timeout:.0f} s") from timeout_error

    def __enter__(self) -> WineProcess:
        return self

    def __exit__(self, *exception_info: object) -> None:
        if self._popen.poll() is None:
            self._popen.kill()
            self._popen.wait(STEP_TIMEOUT)


class WinePrefix:
    """A fresh prefix of one kind, with its own wineserver, for one test."""

    def __init__(self, path: Path, kind: str, display: str | None, artifact_dir: Path):
        self.path = path
        self.kind = kind
        self.display = display
        self.artifact_dir = artifact_dir
        self.probe = Probe(self)
        self._log: BinaryIO | None = None
        self._processes: list[subprocess.Popen[bytes]] = []

    def env(self, locale: str = DEFAULT_LOCALE) -> dict[str, str]:
        return wine_environment(self.path, locale=locale, display=self.display)

    def wine(self, *arguments: str, locale: str = DEFAULT_LOCALE, timeout: float = STEP_TIMEOUT,
             check: bool = True) -> subprocess.CompletedProcess[bytes]:
        """Runs `wine ARGUMENTS` to its end, e.g. wine("reg", "add", ...)."""
        return run_step(["wine", *arguments], self.env(locale), timeout, f"wine {arguments[0]}", check=check)

    def start_server(self) -> None:
        """Starts the prefix's wineserver and keeps it until `close`, so every program shares one session."""
        run_step(["wineserver", "-p"], self.env(), STEP_TIMEOUT, "wineserver -p")

    def configure(self, version: str, headless: bool) -> None:
        """Windows version (win10, win7, winxp, winxp64, ...) and graphics driver, set before the
        wineserver starts: the first process of a session (explorer /desktop) chooses the driver."""
        settings = {r"Software\Wine": {"Version": version}}
        if headless:
            settings[r"Software\Wine\Drivers"] = {"Graphics": "null"}
        with open(self.path / "user.reg", "a", encoding="utf-8") as user_registry:
            user_registry.write(registry_file_sections(settings))

    def host_path(self, windows_path: str) -> Path:
        """The file behind a path on drive C: of this prefix."""
        path = PureWindowsPath(windows_path)
        if path.drive.upper() != "C:":
            raise ValueError(f"{windows_path}: only drive C: lies inside the prefix")
        return self.path / "drive_c" / Path(*path.parts[1:])

    def install(self, host_file: Path, windows_dir: str) -> str:
        """Copies a file into a folder on drive C: and returns its Windows path."""
        if not host_file.is_file():
            raise FileNotFoundError(f"{host_file} is missing: build it first")
        target = self.host_path(windows_dir)
        target.mkdir(parents=True, exist_ok=True)
        shutil.copy2(host_file, target / host_file.name)
        return str(PureWindowsPath(windows_dir) / host_file.name)

    def start(self, program: str, arguments: Sequence[str] = (), locale: str = DEFAULT_LOCALE) -> WineProcess:
        """Starts a program (a Windows path or a host path) in the background with the locale's code page."""
        require_locale(locale)
        if self._log is None:
            self.artifact_dir.mkdir(parents=True, exist_ok=True)
            self._log = open(self.artifact_dir / "programs.log", "ab")
        self._log.write(f"--- {program} {list(arguments)} ({locale})\n".encode())
        self._log.flush()
        popen = subprocess.Popen(["wine", program, *arguments], env=self.env(locale), stdin=subprocess.DEVNULL,
                                 stdout=self._log, stderr=self._log)
        self._processes.append(popen)
        return WineProcess(popen, f"{PureWindowsPath(program).name} {' '.join(arguments)}".strip(), self)

    def reg_query(self, key: str, view: int, locale: str = DEFAULT_LOCALE) -> RegKey | None:
        """The key's values and subkeys in the 32- or 64-bit registry view, or None when it is missing.
        Text that the locale's OEM code page cannot show reads as '?'."""
        output = self._reg_query_output([key], view, locale)
        return None if output is None else queried_key(key, output)

    def reg_value(self, key: str, name: str, view: int, locale: str = DEFAULT_LOCALE) -> RegValue | None:
        """One value in the 32- or 64-bit registry view, or None when it (or its key) is missing."""
        output = self._reg_query_output([key, "/v", name], view, locale)
        return None if output is None else queried_key(key, output).values.get(name)

    def _reg_query_output(self, arguments: list[str], view: int, locale: str) -> str | None:
        result = self.wine("reg", "query", *arguments, f"/reg:{view}", locale=locale, check=False)
        if result.returncode == 1:
            return None
        if result.returncode != 0:
            raise RuntimeError(f"reg query {' '.join(arguments)} failed with status {result.returncode}")
        return result.stdout.decode(f"cp{CODE_PAGES[locale][1]}", "replace")

    def screenshot(self, name: str) -> Path:
        """Saves the whole screen as <artifact dir>/<name>.png (screen mode only)."""
        if not self.display:
            raise RuntimeError("screenshots need a prefix opened with screen=True")
        self.artifact_dir.mkdir(parents=True, exist_ok=True)
        path = self.artifact_dir / f"{name}.png"
        run_step(["import", "-display", self.display, "-window", "root", str(path)], os.environ.copy(),
                 STEP_TIMEOUT, "import (ImageMagick)")
        return path

    def kill_processes(self) -> None:
        run_step(["wineserver", "-k"], self.env(), STEP_TIMEOUT, "wineserver -k", check=False)

    def close(self) -> None:
        """Ends every process of the prefix and its wineserver; the files stay until the factory deletes them."""
        self.kill_processes()
        run_step(["wineserver", "-w"], self.env(), STEP_TIMEOUT, "wineserver -w", check=False)
        for process in self._processes:
            process.wait(STEP_TIMEOUT)
        if self._log is not None:
            self._log.close()


class PrefixFactory:
    """Hands out fresh copies of the template prefixes for one test run.

    Copying a 64-bit prefix takes seconds, so while a test runs the next copy of its kind is already being
    made, and used prefixes are deleted in the background."""

    def __init__(self, templates: TemplateCache):
        self.templates = templates
        self.run_dir = PREFIX_DIR / f"run-{os.getpid()}"
        self._remove_abandoned_runs()
        self.run_dir.mkdir(parents=True, exist_ok=True)
        self._spares: dict[str, tuple[Path, subprocess.Popen[bytes]]] = {}
        self._deletions: list[subprocess.Popen[bytes]] = []
        atexit.register(self._clean_up)

    @staticmethod
    def _remove_abandoned_runs() -> None:
        """Copies left by a run that was killed: their process is gone."""
        for run_dir in PREFIX_DIR.glob("run-*"):
            pid = int(run_dir.name.removeprefix("run-"))
            if not Path(f"/proc/{pid}").exists():
                shutil.rmtree(run_dir, ignore_errors=True)

    def copy(self, kind: str) -> Path:
        target, process = self._spares.pop(kind, None) or self._start_copy(kind)
        try:
            status = process.wait(WINEBOOT_TIMEOUT)
        except subprocess.TimeoutExpired as timeout_error:
            process.kill()
            raise WineTimeout(f"copying the {kind} template took over {WINEBOOT_TIMEOUT:.0f} s") from timeout_error
        if status != 0:
            raise RuntimeError(f"copying the {kind} template to {target} failed with status {status}")
        self._spares[kind] = self._start_copy(kind)
        return target

    def _start_copy(self, kind: str) -> tuple[Path, subprocess.Popen[bytes]]:
        template = self.templates.template(kind)
        target = self.run_dir / f"{kind}-{uuid.uuid4().hex[:8]}"
        return target, subprocess.Popen(["cp", "-a", str(template), str(target)], stdin=subprocess.DEVNULL)

    def delete(self, prefix: Path) -> None:
        self._deletions = [process for process in self._deletions if process.poll() is None]
        self._deletions.append(subprocess.Popen(["rm", "-rf", str(prefix)], stdin=subprocess.DEVNULL))

    def _clean_up(self) -> None:
        for _, process in self._spares.values():
            process.kill()
            process.wait()
        for process in self._deletions:
            process.wait()
        shutil.rmtree(self.run_dir, ignore_errors=True)


class WineTestCase(unittest.TestCase):
    """Base class of the end-to-end tests: `with self.prefix(...) as p:` gives a fresh prefix."""

    _factory: PrefixFactory | None = None

    @classmethod
    def factory(cls) -> PrefixFactory:
        if WineTestCase._factory is None:
            WineTestCase._factory = PrefixFactory(TemplateCache())
        return WineTestCase._factory

    @property
    def artifact_dir(self) -> Path:
        return ARTIFACT_DIR / self.id()

    @contextlib.contextmanager
    def prefix(self, kind: str = "win64", version: str = "win10", screen: bool = False) -> Iterator[WinePrefix]:
        """A fresh prefix of the kind ("win64" or "win32") reporting the Windows version; headless unless
        screen is set, in which case windows are drawn on the suite's Xvfb display."""
        display = VirtualDisplay.shared().name if screen else None
        prefix = WinePrefix(self.factory().copy(kind), kind, display, self.artifact_dir)
        try:
            prefix.configure(version, headless=not screen)
            prefix.start_server()
            yield prefix
        finally:
            prefix.close()
            self.factory().delete(prefix.path)
