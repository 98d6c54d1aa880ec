"""Bad input for the real calvant.exe under Wine: over-long, empty, quoted and unconvertible arguments, and a
program without its package. Each run ends by itself with status 0 and the outcome the program gives."""

from __future__ import annotations

import unittest

from harness import CALVANT_EXE, WinePrefix, WineTestCase

PROGRAM_DIR = r"C:\Lumetra\Calvant"
SETTINGS = r"HKLM\Software\Selvanic\Settings"


def long_path(length: int) -> str:
    """An absolute path of exactly this many characters, in folders of at most 200 characters."""
    path = "C:\\" + "p" * 200
    while len(path) < length:
        path += "\\" + "q" * min(200, length - len(path) - 1)
    return path[:length]


class BadInputTest(WineTestCase):
    def run_with(self, p: WinePrefix, program: str, arguments: list[str], locale: str = "en_US.UTF-8") -> None:
        with p.probe.watch() as watch:
            self.assertEqual(p.start(program, arguments, locale=locale).wait(), 0)
        shown = [event.title for event in watch.events if event.shown and event.title != "Lumetra"]
        self.assertEqual(shown, [], "an unattended run that succeeds shows no message")

    def setting(self, p: WinePrefix, name: str) -> str:
        return p.reg_value(SETTINGS, name, 32).data

    def test_long_empty_quoted_and_unconvertible_arguments(self):
        with self.prefix(kind="win32") as p:
            program = p.install(CALVANT_EXE, PROGRAM_DIR)
            for length in (259, 260, 261, 320):
                with self.subTest(length=length):
                    install, sdk = long_path(length), long_path(length) + "S"
                    self.run_with(p, program, ["1", "u", install, sdk, long_path(length) + "D"])
                    self.assertEqual(self.setting(p, "InstallPath"), install, "kept whole, never cut")
                    self.assertEqual(self.setting(p, "SdkPath"), sdk)
            with self.subTest("empty and quoted"):
                self.run_with(p, program, ["1", "u", "", r"C:\With Space\SDK", ""])
                self.assertEqual(self.setting(p, "InstallPath"), r"C:\Lumetra")
                self.assertEqual(self.setting(p, "SdkPath"), r"C:\With Space\SDK")
            with self.subTest("not in the code page"):
                self.run_with(p, program, ["0", "u", "C:\\\u4e2d\u6587"], locale="en_US.UTF-8")
                self.assertEqual(self.setting(p, "InstallPath"), r"C:\Lumetra", "an unconvertible argument is empty")
                self.assertEqual(self.setting(p, "Language"), "English")

    def test_a_program_without_its_package_still_writes_its_settings(self):
        with self.prefix(kind="win64") as p:
            program = p.install(CALVANT_EXE, PROGRAM_DIR)
            self.run_with(p, program, ["2", "ra"])
            self.assertEqual(p.reg_value(SETTINGS, "Language", 64).data, "TradChinese")
            self.assertEqual(p.reg_value(SETTINGS, "WindowsPath", 64).data, r"C:\windows")
            self.assertFalse((p.path / "drive_c" / "windows" / "syswow64" / "RAZEDAVE.dll").exists())


if __name__ == "__main__":
    unittest.main()
