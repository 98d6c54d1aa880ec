"""Checks of the harness itself: what the end-to-end tests rely on when they read results back."""

import unittest

from harness import (CODE_PAGES, CALVANT_EXE, SC_CLOSE, RegKey, RegValue, WineTestCase,
                     parse_reg_query, queried_key)

SAMPLE_QUERY = (
    "\r\n"
    "HKEY_LOCAL_MACHINE\\Software\\Calvant Test\r\n"
    "    (Default)    REG_SZ    first value\r\n"
    "    Empty    REG_SZ    \r\n"
    "    Spaced  Name    REG_SZ    two  spaces\r\n"
    "    Count    REG_DWORD    0x2a\r\n"
    "\r\n"
    "HKEY_LOCAL_MACHINE\\Software\\Calvant Test\\Child\r\n"
    "\r\n")


class RegQueryParserTest(unittest.TestCase):
    def test_keys_values_and_subkeys(self):
        self.assertEqual(parse_reg_query(SAMPLE_QUERY), [
            RegKey(path="HKEY_LOCAL_MACHINE\\Software\\Calvant Test", subkeys=[], values={
                "(Default)": RegValue("REG_SZ", "first value"),
                "Empty": RegValue("REG_SZ", ""),
                "Spaced  Name": RegValue("REG_SZ", "two  spaces"),
                "Count": RegValue("REG_DWORD", "0x2a"),
            }),
            RegKey(path="HKEY_LOCAL_MACHINE\\Software\\Calvant Test\\Child", subkeys=[], values={}),
        ])

    def test_the_queried_key_is_told_from_its_subkeys(self):
        with_values = queried_key(r"HKLM\Software\Calvant Test", SAMPLE_QUERY)
        self.assertEqual(with_values.path, "HKEY_LOCAL_MACHINE\\Software\\Calvant Test")
        self.assertEqual(len(with_values.values), 4)
        self.assertEqual(with_values.subkeys, ["HKEY_LOCAL_MACHINE\\Software\\Calvant Test\\Child"])

        only_subkeys = "\r\nHKEY_CLASSES_ROOT\\CLSID\\X\\{1}\r\nHKEY_CLASSES_ROOT\\CLSID\\X\\{2}\r\n"
        self.assertEqual(queried_key(r"HKCR\CLSID\X", only_subkeys),
                         RegKey(path="HKEY_CLASSES_ROOT\\CLSID\\X", values={},
                                subkeys=["HKEY_CLASSES_ROOT\\CLSID\\X\\{1}", "HKEY_CLASSES_ROOT\\CLSID\\X\\{2}"]))

    def test_rejects_output_it_does_not_understand(self):
        for output in ("    Name    REG_SZ    value before a key\r\n", "HKEY_CURRENT_USER\\X\r\n  odd line\r\n"):
            with self.subTest(output=output), self.assertRaises(ValueError):
                parse_reg_query(output)


class WinePrefixTest(WineTestCase):
    KEY = r"HKLM\Software\Calvant Harness"

    def add_value(self, prefix, name, data, view, locale="en_US.UTF-8", value_type="REG_SZ"):
        prefix.wine("reg", "add", self.KEY, "/v", name, "/t", value_type, "/d", data, "/f", f"/reg:{view}",
                    locale=locale)

    def test_registry_read_back_keeps_the_64_bit_views_apart(self):
        with self.prefix(kind="win64") as p:
            self.add_value(p, "Bits", "64", view=64)
            self.add_value(p, "Bits", "32", view=32)
            self.add_value(p, "Count", "42", view=64, value_type="REG_DWORD")
            self.add_value(p, "Title", "关于 Calvant", view=64, locale="zh_CN.UTF-8")
            p.wine("reg", "add", self.KEY + r"\Child", "/f", "/reg:64")

            self.assertEqual(p.reg_value(self.KEY, "Bits", view=64), RegValue("REG_SZ", "64"))
            self.assertEqual(p.reg_value(self.KEY, "Bits", view=32), RegValue("REG_SZ", "32"))
            self.assertEqual(p.reg_value(self.KEY, "Count", view=64), RegValue("REG_DWORD", "0x2a"))
            self.assertIsNone(p.reg_value(self.KEY, "Count", view=32))
            self.assertIsNone(p.reg_value(self.KEY, "Missing", view=64))
            self.assertIsNone(p.reg_query(self.KEY + r"\Missing", view=64))
            self.assertEqual(p.reg_value(self.KEY, "Title", view=64, locale="zh_CN.UTF-8").data, "关于 Calvant")
            key = p.reg_query(self.KEY, view=64)
            self.assertEqual(sorted(key.values), ["Bits", "Count", "Title"])
            self.assertEqual(key.subkeys, ["HKEY_LOCAL_MACHINE\\Software\\Calvant Harness\\Child"])
            parent = p.reg_query(r"HKLM\Software", view=32)
            self.assertIn("HKEY_LOCAL_MACHINE\\Software\\Calvant Harness", parent.subkeys)
            self.assertEqual(parent.values, {})

    def test_a_32_bit_prefix_has_one_view(self):
        with self.prefix(kind="win32") as p:
            self.add_value(p, "Bits", "32", view=32)
            self.assertEqual(p.reg_value(self.KEY, "Bits", view=64), RegValue("REG_SZ", "32"))

    def test_the_locale_chooses_the_code_pages(self):
        with self.prefix(kind="win32") as p:
            for locale, code_pages in CODE_PAGES.items():
                with self.subTest(locale=locale):
                    self.assertEqual(p.probe.code_pages(locale), code_pages)

    def test_watch_records_a_window_that_is_shown_and_closed(self):
        """The control case for the tests that rely on the watch to show that no window appeared."""
        with self.prefix(kind="win32") as p:
            with p.probe.watch() as watch:
                process = p.start(p.install(CALVANT_EXE, r"C:\Lumetra\Calvant"))
                dialog = p.probe.wait_window("Lumetra", owned=False)
                p.probe.system_command(dialog, SC_CLOSE)
                self.assertEqual(process.wait(), 0)
            events = [(event.shown, event.hwnd, event.title) for event in watch.events]
            self.assertEqual(events, [(True, dialog.hwnd, "Lumetra"), (False, dialog.hwnd, "Lumetra")])


if __name__ == "__main__":
    unittest.main()
