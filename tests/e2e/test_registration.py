"""The registration run of the real calvant.exe under Wine: what it leaves in each registry view, the
filter clean-up, its failure report and its success message in three languages, and a rebranded copy."""

from __future__ import annotations

import shutil
import subprocess
import unittest
from pathlib import Path

from harness import BUILD_DIR, CALVANT_EXE, IDOK, WineTestCase

REGDENY_EXE = BUILD_DIR / "mingw-i686" / "bin" / "regdeny.exe"
REBRAND_TOOL = BUILD_DIR / "native" / "tools" / "rebrand" / "calvant-rebrand"

PROGRAM_DIR = r"C:\Lumetra\Calvant"
INSTALL_DIR = r"C:\Lumetra"
SDK_DIR = r"C:\Lumetra\SDK"

SETTINGS = r"HKLM\Software\Selvanic\Settings"
SETTINGS_X64 = r"HKLM\Software\Selvanic\Settings_X64"
USER_SETTINGS = r"HKCU\Software\Selvanic\Lumetra\Settings"
USER_SETTINGS_X64 = r"HKCU\Software\Selvanic\Lumetra\Settings_X64"
FAMILY = r"HKLM\Software\Ferrolux"

BOTH_ROWS = {
    "Language": "Chinese",
    "IspInterfacePath": SDK_DIR,
    "DeviceInterfacePath": SDK_DIR,
    "InstallPath": INSTALL_DIR,
    "ParamFileSavePath": INSTALL_DIR,
    "DataFileSavePath": INSTALL_DIR,
    "CameraInfoPath": INSTALL_DIR + r"\Camera\Information",
    "SdkPath": SDK_DIR,
}
X64_ROWS = {
    "Language": "Chinese",
    "IspInterfacePath": SDK_DIR + r"\X64",
    "DeviceInterfacePath": SDK_DIR + r"\X64",
    "InstallPath": INSTALL_DIR + r"\X64",
    "ParamFileSavePath": INSTALL_DIR,
    "DataFileSavePath": INSTALL_DIR,
    "CameraInfoPath": INSTALL_DIR + r"\Camera\Information",
    "SdkPath": SDK_DIR + r"\X64",
}
USER_ROWS = {
    "MessageAfterRecord": "TRUE",
    "MessageAfterSnap": "TRUE",
    "MessageSaveOnClose": "TRUE",
    "ImageSavePath": INSTALL_DIR + r"\Image",
    "VideoSavePath": INSTALL_DIR + r"\Video",
    "UpdateInstall": "FALSE",
}

VIDEO_INSTANCES = r"HKCR\CLSID\{860BB310-5D01-11d0-BD3B-00A0C911CE86}\Instance"
LEGACY_INSTANCES = r"HKCR\CLSID\{083863F1-70DE-11d0-BD40-00A0C911CE86}\Instance"
OURS = "{F53B54C0-31C6-4147-B369-3415979A8E"
OTHERS = ["{17CCA71B-ECD7-11D0-B908-00A0C9223196}", "{F53B54C0-31C6-4147-B369-3415979A8F01}"]

SUCCESS_TEXT = {
    0: "Installation is successful,you can connect the camera to the computer and install the driver for the "
       "camera. If the camera has already been connected to the computer,re-connect it!thanks for your use!",
    1: "安装成功，请连接相机进行驱动安装。如果当前主机已经连接了相机，请重启相机或者拔掉连接线再次插上。感谢您的使用!",
    2: "安裝成功，請連接相機進行驅動安裝。如果當前主機已經連接了相機，請重啟相機或者拔掉連接線再次插上。感謝您的使用!",
}
LOCALE = {0: "en_US.UTF-8", 1: "zh_CN.UTF-8", 2: "zh_TW.UTF-8"}
FAILURE_TEXT = ("Product registration failed, some system resources are locked, please turn off the firewall "
                "software, restart the computer and then run the installation program again.\r\nerr=1")


class RegistrationRunTest(WineTestCase):
    def run_unattended(self, prefix, program, *arguments: str) -> None:
        process = prefix.start(program, arguments)
        self.assertEqual(process.wait(), 0)

    def assert_values(self, prefix, key: str, view: int, expected: dict[str, str] | None) -> None:
        found = prefix.reg_query(key, view)
        if expected is None:
            self.assertIsNone(found, f"{key} must not exist in the {view}-bit view")
            return
        self.assertIsNotNone(found, f"{key} is missing in the {view}-bit view")
        self.assertEqual({name: value.data for name, value in found.values.items()}, expected, f"{key} /reg:{view}")
        self.assertEqual({value.type for value in found.values.values()}, {"REG_SZ"})

    def assert_layout_64(self, prefix) -> None:
        self.assert_values(prefix, FAMILY, 32, {"Company": "Selvanic"})
        self.assert_values(prefix, FAMILY, 64, {"Company": "Selvanic"})
        self.assert_values(prefix, SETTINGS, 32, BOTH_ROWS)
        self.assert_values(prefix, SETTINGS, 64, {**BOTH_ROWS, "WindowsPath": r"C:\windows"})
        self.assert_values(prefix, SETTINGS_X64, 64, X64_ROWS)
        self.assert_values(prefix, SETTINGS_X64, 32, None)
        self.assert_values(prefix, USER_SETTINGS, 32, USER_ROWS)
        self.assert_values(prefix, USER_SETTINGS_X64, 32, USER_ROWS)

    def plant_filters(self, prefix, view: int) -> None:
        for category in (VIDEO_INSTANCES, LEGACY_INSTANCES):
            for name in [OURS + "01}", OURS + "7F}", *OTHERS]:
                prefix.wine("reg", "add", f"{category}\\{name}", "/v", "FriendlyName", "/d", name, f"/reg:{view}", "/f")

    def assert_only_ours_gone(self, names: list[str]) -> None:
        """The platform's registrations are gone; the planted others and Wine's own stay."""
        self.assertEqual([name for name in names if name.startswith(OURS)], [])
        self.assertLessEqual(set(OTHERS), set(names))

    def filter_names(self, prefix, category: str, view: int) -> list[str]:
        found = prefix.reg_query(category, view)
        return sorted(path.rsplit("\\", 1)[1] for path in found.subkeys) if found else []

    def test_64_bit_windows_gets_both_views_and_a_second_run_changes_nothing(self):
        with self.prefix(kind="win64") as p:
            program = p.install(CALVANT_EXE, PROGRAM_DIR)
            self.plant_filters(p, 32)
            self.plant_filters(p, 64)
            self.run_unattended(p, program, "1")
            self.assert_layout_64(p)
            for category in (VIDEO_INSTANCES, LEGACY_INSTANCES):
                self.assert_only_ours_gone(self.filter_names(p, category, 32))
                self.assertLessEqual({OURS + "01}", OURS + "7F}", *OTHERS}, set(self.filter_names(p, category, 64)),
                                     "the 64-bit view is left alone")
            self.run_unattended(p, program, "1")
            self.assert_layout_64(p)

    def test_32_bit_windows_gets_each_key_once_and_a_rebranded_copy_writes_its_own_keys(self):
        with self.prefix(kind="win32") as p:
            program = p.install(CALVANT_EXE, PROGRAM_DIR)
            self.plant_filters(p, 32)
            self.run_unattended(p, program, "1")
            self.assert_values(p, FAMILY, 32, {"Company": "Selvanic"})
            self.assert_values(p, SETTINGS, 32, {**BOTH_ROWS, "WindowsPath": r"C:\windows"})
            self.assert_values(p, SETTINGS_X64, 32, X64_ROWS)
            self.assert_values(p, USER_SETTINGS, 32, USER_ROWS)
            self.assert_values(p, USER_SETTINGS_X64, 32, USER_ROWS)
            self.assert_only_ours_gone(self.filter_names(p, VIDEO_INSTANCES, 32))

            rebranded = self.rebranded_copy("Acme Optics")
            self.run_unattended(p, p.install(rebranded, r"C:\Acme\Calvant"), "0")
            self.assertEqual(p.reg_value(FAMILY, "Company", 32).data, "Acme Optics")
            acme = {**BOTH_ROWS, "Language": "English", "WindowsPath": r"C:\windows"}
            acme = {name: data.replace(r"C:\Lumetra", r"C:\Acme") for name, data in acme.items()}
            self.assert_values(p, r"HKLM\Software\Acme Optics\Settings", 32, acme)
            self.assertIsNotNone(p.reg_query(r"HKLM\Software\Acme Optics\Settings_X64", 32))
            self.assertIsNotNone(p.reg_query(r"HKCU\Software\Acme Optics\Lumetra\Settings_X64", 32))

    def rebranded_copy(self, company: str) -> Path:
        if not REBRAND_TOOL.is_file():
            self.fail(f"{REBRAND_TOOL} is missing: build the native preset")
        folder = self.artifact_dir / "rebranded"
        folder.mkdir(parents=True, exist_ok=True)
        copy = folder / "calvant.exe"
        shutil.copy2(CALVANT_EXE, copy)
        subprocess.run([str(REBRAND_TOOL), str(copy), "--company", company], check=True, capture_output=True)
        return copy

    def test_a_settings_key_that_refuses_writing_gives_the_numbered_failure(self):
        with self.prefix(kind="win64") as p:
            program = p.install(CALVANT_EXE, PROGRAM_DIR)
            p.wine(str(REGDENY_EXE), r"Software\Selvanic\Settings", "32")
            process = p.start(program, ["0"])
            box = p.probe.wait_window("Error")
            shown = p.probe.message_box(box)
            self.assertEqual(shown.caption, "Error")
            self.assertEqual(shown.text.replace("\r\n", "\n"), FAILURE_TEXT.replace("\r\n", "\n"))
            p.probe.click(box, IDOK)
            self.assertEqual(process.wait(), 0)
            self.assertIsNone(p.reg_value(SETTINGS, "WindowsPath", 64), "nothing after the failed step")

    def test_ok_shows_the_success_message_in_each_language(self):
        with self.prefix(kind="win64", screen=True) as p:
            program = p.install(CALVANT_EXE, PROGRAM_DIR)
            for language in (0, 1, 2):
                with self.subTest(language=language):
                    process = p.start(program, locale=LOCALE[language])
                    dialog = p.probe.wait_window("Lumetra", owned=False)
                    p.probe.click(dialog, 1001 + language)
                    p.probe.click(dialog, IDOK)
                    box = p.probe.wait_window("Lumetra", owned=True)
                    shown = p.probe.message_box(box)
                    self.assertEqual(shown.caption, "Lumetra")
                    self.assertEqual(shown.text, SUCCESS_TEXT[language])
                    p.screenshot(f"success-{LOCALE[language]}")
                    p.probe.click(box, IDOK)
                    self.assertEqual(process.wait(), 0)
                    expected = {0: "English", 1: "Chinese", 2: "TradChinese"}[language]
                    self.assertEqual(p.reg_value(SETTINGS, "Language", 64).data, expected)


if __name__ == "__main__":
    unittest.main()
