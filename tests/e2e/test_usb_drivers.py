"""The USB camera driver step of the real calvant.exe under Wine, and the 64-bit installer part on its own.

Each test plants what an earlier installation leaves behind: kernel driver services whose image path holds
the driver's base name (in other letter case, and in a longer file name), a Win32 service and an unrelated
driver that must stay, a camera OEM package as oem7.inf, and device nodes (devnodes.exe, of the prefix's
bitness). Where Wine answers differently from Windows, the test asserts what the program must do with
Wine's answer and says which answer decided it; the unit tests cover Windows' own answers.
"""

from __future__ import annotations

import unittest
from pathlib import Path

from harness import BUILD_DIR, CALVANT_EXE, REPO_ROOT, WinePrefix, WineTestCase, run_step

BIN = {"win64": BUILD_DIR / "mingw-x86_64" / "bin", "win32": BUILD_DIR / "mingw-i686" / "bin"}
INSTALLER_PART_EXE = BIN["win64"] / "Installer_x64Part.exe"
USB_DRIVERS = REPO_ROOT / "package" / "usb" / "Drivers" / "USB"

PACKAGE = r"C:\Lumetra USB Package"
PROGRAM_DIR = PACKAGE + r"\Calvant"
INF_PATH = {version: PACKAGE + rf"\Drivers\USB\{version}\ZeZ2Idador.Inf" for version in ("WIN10", "WIN7")}
LAUNCH_LOG = r"C:\launches.log"
SERVICES_KEY = r"HKLM\System\CurrentControlSet\Services"

# name: (sc type, image path, removed by the step)
SERVICES = {
    "ZeZ2Idador": ("kernel", r"C:\windows\system32\drivers\ZeZ2Idador.sys", True),
    "OldCamera": ("kernel", r"C:\windows\system32\drivers\zez2IDADORold.sys", True),
    "CameraHelper": ("own", r"C:\Program Files\ZeZ2Idador\helper.exe", False),
    "Unrelated": ("kernel", r"C:\windows\system32\drivers\unrelated.sys", False),
}
# The maker's camera, a board listed in the driver INF, another vendor's device.
DEVICES = [r"USB\VID_F622&PID_0001\CAM1", r"USB\VID_F623&PID_0101\BOARD", r"USB\VID_ABCD&PID_0001\OTHER"]


class UsbDriverStepTest(WineTestCase):
    def lay_out(self, p: WinePrefix, installer_part: Path | None) -> str:
        """calvant.exe in the package with both USB driver folders; the file started as the 64-bit part."""
        program = p.install(CALVANT_EXE, PROGRAM_DIR)
        for version in ("WIN10", "WIN7"):
            for file in sorted((USB_DRIVERS / version).iterdir()):
                p.install(file, PACKAGE + rf"\Drivers\USB\{version}")
        if installer_part is not None:
            target = p.host_path(PROGRAM_DIR) / "Installer_x64Part.exe"
            target.write_bytes(installer_part.read_bytes())
        return program

    def plant(self, p: WinePrefix) -> None:
        # In a 64-bit prefix services are created with the 64-bit sc.
        sc = ["/usr/lib/wine/wine64", "sc"] if p.kind == "win64" else ["wine", "sc"]
        for name, (kind, image, _) in SERVICES.items():
            run_step([*sc, "create", name, "type=", kind, "binPath=", image], p.env(), 60, f"sc create {name}")
        camera_package = (USB_DRIVERS / "WIN7" / "ZeZ2Idador.Inf").read_bytes()
        p.host_path(r"C:\windows\inf\oem7.inf").write_bytes(camera_package)
        devnodes = p.install(BIN[p.kind] / "devnodes.exe", r"C:\fixtures")
        for instance_id in DEVICES:
            p.wine(devnodes, "plant", instance_id)
        self.assertEqual(sorted(set(DEVICES) & set(self.devices(p))), sorted(DEVICES))

    def devices(self, p: WinePrefix) -> list[str]:
        listed = p.wine(r"C:\fixtures\devnodes.exe", "list").stdout.decode().split()
        return [line.strip() for line in listed]

    def run_calvant(self, p: WinePrefix, program: str, drivers: str) -> None:
        self.assertEqual(p.start(program, ["1", drivers]).wait(), 0)

    def assert_services_removed(self, p: WinePrefix) -> None:
        for name, (_, _, removed) in SERVICES.items():
            present = p.reg_query(SERVICES_KEY + "\\" + name, 64) is not None
            self.assertEqual(present, not removed, name)

    def staged_inf(self, p: WinePrefix) -> str | None:
        # Wine's SetupCopyOEMInfA keeps the INF's own name (Windows would name it oemN.inf).
        staged = p.host_path(r"C:\windows\inf\ZeZ2Idador.Inf")
        return staged.read_text() if staged.exists() else None

    def launches(self, p: WinePrefix) -> list[str]:
        log = p.host_path(LAUNCH_LOG)
        return log.read_text().splitlines() if log.exists() else []

    def assert_left_as_wine_answers(self, p: WinePrefix) -> None:
        # Wine's SetupGetInfFileListA with a null directory lists nothing useful, so the camera package
        # oem7.inf is not found (on Windows it is uninstalled).
        self.assertTrue(p.host_path(r"C:\windows\inf\oem7.inf").exists())
        # The camera nodes stay: in a 32-bit prefix Wine's SetupDiSetClassInstallParamsA is a stub that
        # fails, and a refused parameter call skips the class installer; in a 64-bit prefix the 32-bit
        # program leaves them to the 64-bit part.
        self.assertEqual(sorted(set(DEVICES) & set(self.devices(p))), sorted(DEVICES))

    def test_64bit_run_starts_the_installer_part_with_the_win10_inf_and_stages_it(self):
        with self.prefix(kind="win64", version="win10") as p:
            program = self.lay_out(p, BIN["win64"] / "launchrecorder.exe")
            self.plant(p)
            self.run_calvant(p, program, "u")
            self.assertEqual(self.launches(p), ["-rdev " + INF_PATH["WIN10"]])
            self.assertIn("for Windows 10 and later", self.staged_inf(p) or "")
            self.assert_services_removed(p)
            self.assert_left_as_wine_answers(p)

    def test_64bit_remove_only_run_on_windows_7_starts_the_part_with_the_win7_inf_and_stages_nothing(self):
        with self.prefix(kind="win64", version="win7") as p:
            program = self.lay_out(p, BIN["win64"] / "launchrecorder.exe")
            self.plant(p)
            self.run_calvant(p, program, "ru")
            self.assertEqual(self.launches(p), ["-rdev " + INF_PATH["WIN7"]])
            self.assertIsNone(self.staged_inf(p))
            self.assert_services_removed(p)
            self.assert_left_as_wine_answers(p)

    def test_32bit_run_removes_devices_itself_and_stages_the_inf(self):
        with self.prefix(kind="win32", version="win10") as p:
            program = self.lay_out(p, BIN["win32"] / "launchrecorder.exe")
            self.plant(p)
            self.run_calvant(p, program, "u")
            self.assertEqual(self.launches(p), [], "no 64-bit part on 32-bit Windows")
            self.assertIn("for Windows 10 and later", self.staged_inf(p) or "")
            self.assert_services_removed(p)
            self.assert_left_as_wine_answers(p)

    def test_32bit_remove_only_run_stages_nothing(self):
        with self.prefix(kind="win32", version="win7") as p:
            program = self.lay_out(p, None)
            self.plant(p)
            self.run_calvant(p, program, "ru")
            self.assertIsNone(self.staged_inf(p))
            self.assert_services_removed(p)
            self.assert_left_as_wine_answers(p)

    def test_installer_part_alone_reads_an_inf_whose_path_has_spaces(self):
        with self.prefix(kind="win64", version="win10") as p:
            self.lay_out(p, INSTALLER_PART_EXE)
            self.plant(p)
            # A batch line hands the path over unquoted, as the setup program's shell start does.
            script = p.host_path(r"C:\fixtures\remove.bat")
            script.write_text(f'"{PROGRAM_DIR}\\Installer_x64Part.exe" -rdev {INF_PATH["WIN10"]} > C:\\part.txt\r\n')
            p.wine("cmd", "/c", r"C:\fixtures\remove.bat")
            report = p.host_path(r"C:\part.txt").read_text().splitlines()
            self.assertEqual(report[0], "INF: " + INF_PATH["WIN10"])
            self.assertEqual([line for line in report if line.startswith("hardware id: ")],
                             ["hardware id: " + hid for hid in
                              (r"USB\VID_F622&PID_0001", r"USB\VID_F622&PID_0002", r"USB\VID_F623&PID_0101")])
            # Both camera nodes are found through the INF and the vendor; Wine's failing
            # SetupDiSetClassInstallParamsA stub leaves them in place. The other vendor's node is not touched.
            camera_lines = [line for line in report if "removed: " in line]
            self.assertEqual(len(camera_lines), 2, report)
            self.assertTrue(any(line.startswith(r"not removed: USB\VID_F622&PID_0001\CAM1") for line in camera_lines))
            self.assertTrue(any(line.startswith(r"not removed: USB\VID_F623&PID_0101\BOARD") for line in camera_lines))
            self.assertEqual(sorted(set(DEVICES) & set(self.devices(p))), sorted(DEVICES))


if __name__ == "__main__":
    unittest.main()
