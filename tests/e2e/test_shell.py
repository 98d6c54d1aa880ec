"""The program's start under Wine: the setup dialog, the ways it ends, the unattended start and the About box."""

import unittest

from harness import CALVANT_EXE, IDOK, SC_CLOSE, WineTestCase

DIALOG_TITLE = "Lumetra"
ABOUT_TITLE = "关于 Calvant"
ABOUT_COMMAND = 0x0010
ABOUT_MENU_TEXT = "关于 Calvant(&A)..."
PROGRAM_DIR = r"C:\Lumetra\Calvant"
# The About entry and the About box come from Chinese resources; the program reads them as ANSI text.
CHINESE_LOCALE = "zh_CN.UTF-8"

WS_GROUP, WS_TABSTOP = 0x00020000, 0x00010000
WS_CAPTION, WS_SYSMENU, WS_MINIMIZEBOX, WS_MAXIMIZEBOX = 0x00C00000, 0x00080000, 0x00020000, 0x00010000
WS_EX_APPWINDOW = 0x00040000
BS_DEFPUSHBUTTON, BS_AUTOCHECKBOX, BS_GROUPBOX, BS_AUTORADIOBUTTON = 1, 3, 7, 9

# id -> (caption, button type, check state, style bits that must be set)
SETUP_CONTROLS = {
    1: ("OK", BS_DEFPUSHBUTTON, 0, WS_TABSTOP),
    1001: ("English", BS_AUTORADIOBUTTON, 0, WS_GROUP),
    1002: ("Simplified Chinese", BS_AUTORADIOBUTTON, 1, 0),
    1003: ("Traditional Chinese", BS_AUTORADIOBUTTON, 0, 0),
    1004: ("UsbCamera", BS_AUTOCHECKBOX, 1, WS_TABSTOP),
    1005: ("GigeCamera", BS_AUTOCHECKBOX, 0, WS_TABSTOP),
}
GROUP_BOXES = ["Language", "Drivers Setup"]


def start_calvant(prefix, arguments=(), locale=CHINESE_LOCALE):
    return prefix.start(prefix.install(CALVANT_EXE, PROGRAM_DIR), arguments, locale)


def check_states(probe, dialog):
    return {control.id: control.check for control in probe.controls(dialog) if control.id in SETUP_CONTROLS}


class SetupDialogTest(WineTestCase):
    def test_dialog_shows_its_controls_with_the_defaults(self):
        for kind in ("win64", "win32"):
            with self.subTest(kind=kind), self.prefix(kind=kind) as p:
                process = start_calvant(p)
                dialog = p.probe.wait_window(DIALOG_TITLE, owned=False)
                self.assert_setup_dialog(p.probe, dialog)
                self.assert_about_entry_ends_the_system_menu(p.probe, dialog)
                p.probe.system_command(dialog, SC_CLOSE)
                self.assertEqual(process.wait(), 0)

    def assert_setup_dialog(self, probe, dialog):
        self.assertEqual(dialog.class_name, "#32770")
        self.assertEqual(dialog.style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU)
        self.assertEqual(dialog.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0)
        self.assertTrue(dialog.exstyle & WS_EX_APPWINDOW)
        controls = probe.controls(dialog)
        shown = {control.id: (control.text, control.button_type, control.check, control.style & expected[3])
                 for control in controls if (expected := SETUP_CONTROLS.get(control.id))}
        self.assertEqual(shown, SETUP_CONTROLS)
        group_boxes = [control.text for control in controls if control.button_type == BS_GROUPBOX]
        self.assertEqual(group_boxes, GROUP_BOXES)
        self.assertTrue(all(control.class_name == "Button" and control.visible and control.enabled
                            for control in controls))

    def assert_about_entry_ends_the_system_menu(self, probe, dialog):
        *_, separator, about = probe.system_menu(dialog)
        self.assertTrue(separator.separator)
        self.assertEqual((about.id, about.text, about.grayed), (ABOUT_COMMAND, ABOUT_MENU_TEXT, False))

    def test_each_way_of_closing_ends_the_process_with_status_0(self):
        """OK and Enter run the registration, whose one message box is dismissed; the others end the
        dialog without a run and without a message."""
        closings = {
            "OK button": (lambda probe, dialog: probe.click(dialog, IDOK), True),
            "Enter": (lambda probe, dialog: probe.press_key(dialog, "enter"), True),
            "Escape": (lambda probe, dialog: probe.press_key(dialog, "escape"), False),
            "close box": (lambda probe, dialog: probe.system_command(dialog, SC_CLOSE), False),
            "Alt+F4": (lambda probe, dialog: probe.press_key(dialog, "alt+f4"), False),
        }
        with self.prefix(kind="win32") as p:
            for name, (close, runs_registration) in closings.items():
                with self.subTest(closing=name):
                    with p.probe.watch() as watch, start_calvant(p) as process:
                        dialog = p.probe.wait_window(DIALOG_TITLE, owned=False)
                        close(p.probe, dialog)
                        if runs_registration:
                            self.dismiss_message_box(p.probe)
                        self.assertEqual(process.wait(), 0)
                    message_boxes = [event for event in watch.events if event.shown and event.owner]
                    self.assertEqual(len(message_boxes), 1 if runs_registration else 0, message_boxes)

    def dismiss_message_box(self, probe):
        box = probe.wait_window(DIALOG_TITLE, owned=True)
        message = probe.message_box(box)
        self.assertEqual(message.caption, DIALOG_TITLE)
        self.assertTrue(message.text)
        probe.click(box, IDOK)


class CommandLineStartTest(WineTestCase):
    def test_a_language_argument_runs_without_waiting_for_the_dialog(self):
        """Wine shows a dialog whose template is visible once its initialisation returns, even when the
        dialog ended there; so the dialog may appear, but only for that instant, and nothing else may."""
        argument_lists = [["1"], ["0", "g"], ["2", "ra"], ["1", "U"]]
        for kind in ("win64", "win32"):
            with self.prefix(kind=kind) as p:
                for arguments in argument_lists:
                    with self.subTest(kind=kind, arguments=arguments):
                        with p.probe.watch() as watch, start_calvant(p, arguments) as process:
                            self.assertEqual(process.wait(timeout=30), 0)
                        self.assert_only_an_instant_of_the_dialog(watch.events)

    def assert_only_an_instant_of_the_dialog(self, events):
        shown = [(event.shown, event.title, event.owner) for event in events]
        self.assertIn(shown, ([], [(True, DIALOG_TITLE, 0), (False, DIALOG_TITLE, 0)]))

    def test_an_unrecognised_language_argument_shows_the_dialog(self):
        argument_lists = [["3"], ["01"], ["1 "], [""], ["en", "g"], ["-1"]]
        with self.prefix(kind="win32") as p:
            for arguments in argument_lists:
                with self.subTest(arguments=arguments), start_calvant(p, arguments) as process:
                    dialog = p.probe.wait_window(DIALOG_TITLE, owned=False)
                    self.assertEqual(check_states(p.probe, dialog)[1004], 1)
                    p.probe.system_command(dialog, SC_CLOSE)
                    self.assertEqual(process.wait(), 0)


class AboutBoxTest(WineTestCase):
    def test_about_box_opens_and_closes_any_number_of_times(self):
        with self.prefix(kind="win32", screen=True) as p:
            process = start_calvant(p)
            dialog = p.probe.wait_window(DIALOG_TITLE, owned=False)
            p.screenshot("setup-dialog")
            for choice in (1001, 1004, 1005):  # English, UsbCamera off, GigeCamera on
                p.probe.click(dialog, choice)
            choices = check_states(p.probe, dialog)
            self.assertEqual(choices, {1: 0, 1001: 1, 1002: 0, 1003: 0, 1004: 0, 1005: 1})

            for opening in range(3):
                p.probe.system_command(dialog, ABOUT_COMMAND)
                about = p.probe.wait_window(ABOUT_TITLE)
                self.assertEqual(about.owner, dialog.hwnd)
                controls = p.probe.controls(about)
                self.assertEqual(p.probe.control(about, IDOK).text, "确定")
                self.assertIn("Calvant 1.0 版", [control.text for control in controls])
                if opening == 0:
                    p.screenshot("about-box")
                p.probe.click(about, IDOK)
                p.probe.wait_gone(about)

            self.assertEqual(check_states(p.probe, dialog), choices)
            p.probe.system_command(dialog, SC_CLOSE)
            self.assertEqual(process.wait(), 0)


if __name__ == "__main__":
    unittest.main()
