"""A program rebranded with calvant-rebrand, under Wine: it writes its settings under its own company name,
deploys its own capture filter and recognises driver services and INFs by its own driver base name."""

from __future__ import annotations

import shutil
import subprocess
import unittest
from pathlib import Path

from harness import BUILD_DIR, CALVANT_EXE, WinePrefix, WineTestCase, run_step

REBRAND_TOOL = BUILD_DIR / "native" / "tools" / "rebrand" / "calvant-rebrand"
PACKAGE = r"C:\Acme Package"
SERVICES_KEY = r"HKLM\System\CurrentControlSet\Services"
COMPANY = "Acme Optics"
DRIVER = "AcmeUsb"

# An INF of the rebranded driver: the program stages it and removes packages naming its driver file.
DRIVER_INF = f"""[Version]
Signature="$WINDOWS NT$"
Class=Image
ClassGUID={{6bdd1fc6-810f-11d0-bec7-08002be2092f}}
Provider=%Maker%

[SourceDisksNames]
1=%Disk%

[SourceDisksFiles]
{DRIVER}.sys=1

[Strings]
Maker="Acme"
Disk="Acme driver disk"
DeviceID="VID_ACE1"
""".replace("\n", "\r\n")


class RebrandedProgramTest(WineTestCase):
    def rebranded_program(self) -> Path:
        if not REBRAND_TOOL.is_file():
            self.fail(f"{REBRAND_TOOL} is missing: build the native preset")
        folder = self.artifact_dir / "rebranded"
        folder.mkdir(parents=True, exist_ok=True)
        program = folder / "calvant.exe"
        shutil.copy2(CALVANT_EXE, program)
        subprocess.run([str(REBRAND_TOOL), str(program), "--company", COMPANY, "--driver", DRIVER], check=True,
                       capture_output=True)
        return program

    def lay_out(self, p: WinePrefix) -> str:
        program = p.install(self.rebranded_program(), PACKAGE + r"\Calvant")
        sdk = p.host_path(PACKAGE + r"\SDK")
        sdk.mkdir(parents=True)
        (sdk / f"{COMPANY}.ax").write_bytes(b"the rebranded capture filter")
        (sdk / "Selvanic.ax").write_bytes(b"the original maker's filter")
        usb = p.host_path(PACKAGE + r"\Drivers\USB")
        usb.mkdir(parents=True)
        (usb / f"{DRIVER}.Inf").write_bytes(DRIVER_INF.encode())
        (usb / f"{DRIVER}.sys").write_bytes(b"driver")
        return program

    def plant_services(self, p: WinePrefix) -> None:
        for name, image in (("AcmeOld", rf"C:\windows\system32\drivers\{DRIVER}.sys"),
                            ("ZeZ2Idador", r"C:\windows\system32\drivers\ZeZ2Idador.sys")):
            run_step(["wine", "sc", "create", name, "type=", "kernel", "binPath=", image], p.env(), 60,
                     f"sc create {name}")

    def test_the_rebranded_names_decide_keys_files_services_and_packages(self):
        with self.prefix(kind="win32") as p:
            program = self.lay_out(p)
            self.plant_services(p)
            self.assertEqual(p.start(program, ["0", "u"]).wait(), 0)

            self.assertEqual(p.reg_value(r"HKLM\Software\Ferrolux", "Company", 32).data, COMPANY)
            self.assertEqual(p.reg_value(rf"HKLM\Software\{COMPANY}\Settings", "SdkPath", 32).data,
                             PACKAGE + r"\SDK")
            self.assertIsNotNone(p.reg_value(rf"HKLM\Software\{COMPANY}\Settings_X64", "SdkPath", 32))
            self.assertIsNotNone(p.reg_value(rf"HKCU\Software\{COMPANY}\Lumetra\Settings", "UpdateInstall", 32))
            self.assertIsNone(p.reg_query(r"HKLM\Software\Selvanic", 32))

            system32 = p.path / "drive_c" / "windows" / "system32"
            self.assertEqual((system32 / f"{COMPANY}.ax").read_bytes(), b"the rebranded capture filter")
            self.assertFalse((system32 / "Selvanic.ax").exists())

            self.assertIsNone(p.reg_query(SERVICES_KEY + r"\AcmeOld", 32), "its own driver's service is removed")
            self.assertIsNotNone(p.reg_query(SERVICES_KEY + r"\ZeZ2Idador", 32), "the original driver's stays")
            # Wine's SetupCopyOEMInfA keeps the INF's own name where Windows would call it oemN.inf.
            staged = p.host_path(rf"C:\windows\inf\{DRIVER}.Inf")
            self.assertTrue(staged.is_file(), "the rebranded driver INF is staged")


if __name__ == "__main__":
    unittest.main()
