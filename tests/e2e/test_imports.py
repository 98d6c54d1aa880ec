"""The programs that run elevated import system DLLs only, and only those that Windows takes from its
own list of known DLLs, whatever lies beside the program: a DLL that the loader would look for in the
program's folder (a package folder among downloads) could be planted there. The setup API, for one, is
loaded at run time from the system directory instead of being imported."""

from __future__ import annotations

import unittest
from pathlib import Path

from pe_imports import read_image

BUILD_DIR = Path(__file__).resolve().parents[2] / "build"

PROGRAMS = {
    "calvant.exe": (BUILD_DIR / "mingw-i686" / "bin" / "calvant.exe", 32),
    "Installer_x64Part.exe": (BUILD_DIR / "mingw-x86_64" / "bin" / "Installer_x64Part.exe", 64),
}

# System DLLs that the loader maps from the known-DLL list (the system directory) on every Windows the
# programs run on, without searching the program's folder.
KNOWN_SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "msvcrt.dll",
                     "ole32.dll", "oleaut32.dll"}
# System DLLs that are not on that list on every Windows: an import of one of them would be looked for
# beside the program first. Load them at run time by their full path in the system directory instead.
SEARCHED_SYSTEM_DLLS = {"setupapi.dll", "cfgmgr32.dll", "shlwapi.dll", "comctl32.dll", "version.dll",
                        "uxtheme.dll", "dwmapi.dll", "userenv.dll", "winmm.dll", "imm32.dll"}


class ImportTableTest(unittest.TestCase):
    def test_each_program_imports_only_known_system_dlls(self):
        for name, (path, bits) in PROGRAMS.items():
            with self.subTest(program=name):
                if not path.is_file():
                    self.fail(f"{path} is missing: build the MinGW presets first")
                image = read_image(path)
                self.assertEqual(image.bits, bits)
                imported = [dll.lower() for dll in image.imported_dlls() + image.delay_loaded_dlls()]
                self.assertIn("kernel32.dll", imported, "the import table was read")
                for dll in imported:
                    self.assertNotIn(dll, SEARCHED_SYSTEM_DLLS,
                                     f"{name} imports {dll}, which the loader would look for beside the program")
                    self.assertIn(dll, KNOWN_SYSTEM_DLLS, f"{name} imports {dll}, which is not a system DLL")

    def test_nothing_is_left_to_the_delay_loader(self):
        for name, (path, _) in PROGRAMS.items():
            with self.subTest(program=name):
                self.assertEqual(read_image(path).delay_loaded_dlls(), [])


if __name__ == "__main__":
    unittest.main()
