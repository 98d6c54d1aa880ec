"""Deployment by the real calvant.exe under Wine, on the sample installation package: the runtime library
and capture filters in the real system folders, the HALCON interface, the control's and the model INF's
registry marks, the GigE installers started in order, and the numbered failure of a copy that cannot be
made, after which nothing else happens."""

from __future__ import annotations

import os
import subprocess
import unittest
from pathlib import Path
from unittest import mock

from harness import BUILD_DIR, IDOK, REPO_ROOT, STEP_TIMEOUT, WineTestCase

LAYOUT_SCRIPT = REPO_ROOT / "package" / "layout-package.sh"
PACKAGE_FILES = {32: BUILD_DIR / "mingw-i686" / "package-files", 64: BUILD_DIR / "mingw-x86_64" / "package-files"}

PACKAGE = r"C:\Lumetra Package Root"
PROGRAM = PACKAGE + r"\Calvant\calvant.exe"
SDK = PACKAGE + r"\SDK"
HALCON_ROOT = r"C:\Program Files\MVTec\HALCON-12.0"
MARKS = r"HKLM\Software\Ferrolux\Marks"
LAUNCH_LOG = r"C:\sample-package-launches.log"
UNINSTALL, INSTALL = "-TbGigeDriverAutoUninstall", "-TbGigeDriverAutoInstall"


class DeploymentTest(WineTestCase):
    def setUp(self):
        for bits, folder in PACKAGE_FILES.items():
            if not folder.is_dir():
                self.fail(f"{folder} is missing: build the sample_package target of the {bits}-bit MinGW preset")

    def lay_out_package(self, p) -> None:
        subprocess.run(["bash", str(LAYOUT_SCRIPT), str(p.host_path(PACKAGE))], check=True, timeout=STEP_TIMEOUT,
                       capture_output=True)
        for folder in ("x86sse2-win32", "x86-win32", "x64-win64"):
            p.host_path(HALCON_ROOT + "\\bin\\" + folder).mkdir(parents=True)

    def start(self, p, *arguments: str):
        with mock.patch.dict(os.environ, {"HALCONROOT": HALCON_ROOT}):
            return p.start(PROGRAM, arguments)

    def system_folder(self, p, name: str) -> Path:
        """A system folder as it lies on disk, whatever redirection a program would see."""
        return p.path / "drive_c" / "windows" / name

    def launches(self, p) -> list[tuple[str, str, str]]:
        log = p.host_path(LAUNCH_LOG)
        if not log.exists():
            return []
        return [tuple(line.split("\t")) for line in log.read_text().splitlines()]

    def assert_same_file(self, p, deployed: Path, package_file: str) -> None:
        self.assertTrue(deployed.is_file(), f"{deployed} is missing")
        self.assertEqual(deployed.read_bytes(), p.host_path(package_file).read_bytes(), deployed)

    def test_64_bit_windows_deploys_into_both_system_folders_and_starts_the_64_bit_installers(self):
        with self.prefix(kind="win64", version="win10") as p:
            self.lay_out_package(p)
            self.assertEqual(self.start(p, "1", "a").wait(), 0)

            system32, syswow64 = self.system_folder(p, "system32"), self.system_folder(p, "syswow64")
            self.assert_same_file(p, syswow64 / "RAZEDAVE.dll", SDK + r"\RAZEDAVE.dll")
            self.assert_same_file(p, syswow64 / "Selvanic.ax", SDK + r"\Selvanic.ax")
            self.assert_same_file(p, system32 / "RAZEDAVE_X64.dll", SDK + r"\X64\RAZEDAVE_X64.dll")
            self.assert_same_file(p, system32 / "Selvanic64.ax", SDK + r"\X64\Selvanic64.ax")
            self.assertFalse((system32 / "RAZEDAVE.dll").exists())
            self.assertFalse((system32 / "Selvanic.ax").exists())

            for folder in ("x86sse2-win32", "x86-win32"):
                self.assertTrue(p.host_path(HALCON_ROOT + rf"\bin\{folder}\hAcqSelvanic12.dll").is_file())
            self.assertTrue(p.host_path(HALCON_ROOT + r"\bin\x64-win64\hAcqSelvanic12_X64.dll").is_file())

            self.assertEqual(p.reg_value(MARKS, "Ferrocam", 32).data, SDK + r"\Ferrocam.ocx")
            self.assertEqual(p.reg_value(MARKS, "ModelsInf", 64).data, "installed",
                             "the native RUNDLL32 ran while redirection was off")
            self.assertIsNone(p.reg_value(MARKS, "ModelsInf", 32))

            gige = PACKAGE + r"\Drivers\GIGE\WIN10"
            working = PACKAGE + r"\Calvant"
            self.assertEqual(self.launches(p), [
                (gige + r"\51\TbDriverInstall_X64.exe", UNINSTALL, working),
                (gige + r"\60\TbDriverInstall_X64.exe", UNINSTALL, working),
                (gige + r"\60\TbDriverInstall_X64.exe", INSTALL, working),
            ])

    def test_32_bit_windows_deploys_into_system32_only_and_starts_the_32_bit_installers(self):
        with self.prefix(kind="win32", version="win7") as p:
            self.lay_out_package(p)
            self.assertEqual(self.start(p, "1", "a").wait(), 0)

            system32 = self.system_folder(p, "system32")
            self.assert_same_file(p, system32 / "RAZEDAVE.dll", SDK + r"\RAZEDAVE.dll")
            self.assert_same_file(p, system32 / "Selvanic.ax", SDK + r"\Selvanic.ax")
            self.assertFalse((system32 / "RAZEDAVE_X64.dll").exists())
            self.assertFalse((system32 / "Selvanic64.ax").exists())
            self.assertFalse(self.system_folder(p, "syswow64").exists())
            self.assertTrue(p.host_path(HALCON_ROOT + r"\bin\x64-win64\hAcqSelvanic12_X64.dll").is_file(),
                            "the 64-bit interface is copied on 32-bit Windows too")

            self.assertEqual(p.reg_value(MARKS, "Ferrocam", 32).data, SDK + r"\Ferrocam.ocx")
            self.assertEqual(p.reg_value(MARKS, "ModelsInf", 32).data, "installed")
            gige = PACKAGE + r"\Drivers\GIGE\WIN7"
            self.assertEqual([launch[:2] for launch in self.launches(p)], [
                (gige + r"\51\TbDriverInstall.exe", UNINSTALL),
                (gige + r"\60\TbDriverInstall.exe", UNINSTALL),
                (gige + r"\60\TbDriverInstall.exe", INSTALL),
            ])

    def test_each_windows_version_picks_its_own_gige_folder_and_installer(self):
        cases = {
            "win7": ["WIN7\\51", "WIN7\\60", "WIN7\\60"],
            "winxp64": ["WIN7\\51", "WIN7\\60", "WIN7\\51"],  # before Vista the "51" installer installs
        }
        for version, expected in cases.items():
            with self.subTest(version=version), self.prefix(kind="win64", version=version) as p:
                self.lay_out_package(p)
                self.assertEqual(self.start(p, "0", "g").wait(), 0)
                folders = [launch[0].split("\\GIGE\\")[1].rsplit("\\", 1)[0] for launch in self.launches(p)]
                self.assertEqual(folders, expected)
                self.assertEqual([launch[1] for launch in self.launches(p)], [UNINSTALL, UNINSTALL, INSTALL])

    def test_a_destination_that_cannot_be_replaced_stops_the_run_with_its_code(self):
        cases = [
            ("win32", r"system32\RAZEDAVE.dll", 3),
            ("win32", r"system32\Selvanic.ax", 5),
            ("win64", r"syswow64\RAZEDAVE.dll", 6),
            ("win64", r"system32\RAZEDAVE_X64.dll", 6),
            ("win64", r"system32\Selvanic64.ax", 8),
            ("win64", r"syswow64\Selvanic.ax", 9),
        ]
        for kind, blocked, code in cases:
            with self.subTest(kind=kind, blocked=blocked), self.prefix(kind=kind, version="win10") as p:
                self.lay_out_package(p)
                folder, name = blocked.split("\\")
                (self.system_folder(p, folder) / name).mkdir()  # a folder where the file must go
                process = self.start(p, "0", "a")
                box = p.probe.wait_window("Error")
                shown = p.probe.message_box(box)
                self.assertTrue(shown.text.endswith(f"\r\nerr={code}"), shown.text)
                p.probe.click(box, IDOK)
                self.assertEqual(process.wait(), 0)

                self.assertIsNone(p.reg_value(MARKS, "Ferrocam", 32), "the control was not registered")
                for view in (32, 64):
                    self.assertIsNone(p.reg_value(MARKS, "ModelsInf", view), "the model INF was not installed")
                self.assertEqual(self.launches(p), [], "no installer was started")
                self.assertFalse(p.host_path(HALCON_ROOT + r"\bin\x86-win32\hAcqSelvanic12.dll").exists())


if __name__ == "__main__":
    unittest.main()
