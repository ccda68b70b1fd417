#!/usr/bin/env python3
"""The Windows installer under wine, on an X server with a window manager, as on any Windows desktop: it
installs silently into a fresh prefix, both installed programs open their window at the panel's size,
encipher the README's known answers typed on the keyboard (read back through the clipboard) and end with exit
code 0 when their window is closed, and the uninstaller removes everything the installer put in place.

Usage: installed_programs.py <wine64> <installer.exe> <folder for the screenshots>
The prefix is $WINEPREFIX, made by the caller with `wineboot -i`.
"""

import os
import re
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "x11"))

import xsession  # noqa: E402
import xwire  # noqa: E402
from panel_layout import MODELS, SELECTORS, WINDOW_DOWN, WINDOW_UP  # noqa: E402

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
INSTALL_FOLDER = r"C:\Rovanta"
CLOSE_BOUND_SECONDS = 20
WINE, INSTALLER, SCREENSHOTS = sys.argv[1:4] if len(sys.argv) >= 4 else (None, None, None)

# The fonts the panel asks for, stood in for by Liberation's, which have the same metrics.
FONT_REPLACEMENTS = {"Arial": "Liberation Sans", "Courier New": "Liberation Mono"}


def known_answers():
    """The README's table of known answers: model, keys, windows, plain text and cipher text."""
    rows = []
    with open(os.path.join(ROOT, "README.md")) as readme:
        for line in readme:
            match = re.match(r"\| `rovanta-(v\d)` \| ([\d ]+) \| ([\d ]+) \| ([A-Z]+) \| ([A-Z]+) \|", line)
            if match:
                model, keys, windows, plain, cipher = match.groups()
                rows.append((model, [int(k) for k in keys.split()], [int(w) for w in windows.split()],
                             plain, cipher))
    return rows


def unix_path(windows_path):
    drive, rest = windows_path.split(":", 1)
    return os.path.join(os.environ["WINEPREFIX"], f"drive_{drive.lower()}", *rest.strip("\\").split("\\"))


def wine(*argv, timeout=120):
    return subprocess.run([WINE, *argv], capture_output=True, text=True, timeout=timeout)


def wait_for_wine(timeout=120):
    """Waits until every program of the prefix has ended (the uninstaller runs on from a copy of itself)."""
    subprocess.run([os.path.join(os.path.dirname(WINE), "wineserver64"), "-w"], timeout=timeout, check=False)


class InstalledProgramsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # Without a window manager wine holds every window's unmapping for two seconds, waiting for the
        # manager to confirm it: the close would be timed with wine's wait in it. The server's Linux platform
        # name for Qt never reaches the programs: wine hands a Windows program no QT_ variable.
        cls.x = xsession.XServer(window_manager=True).start()
        cls.addClassCleanup(cls.x.stop)
        for family, replacement in FONT_REPLACEMENTS.items():
            wine("reg", "add", r"HKCU\Software\Wine\Fonts\Replacements", "/v", family, "/d", replacement, "/f")
        wait_for_wine()  # wine writes its registry out when its last program has ended
        before, cls.keys_before = cls.files(), set(cls.registry_keys())
        installed = wine(INSTALLER, "/S", f"/D={INSTALL_FOLDER}")
        assert installed.returncode == 0, installed.stderr
        wait_for_wine()
        cls.installed = sorted(set(cls.files()) - set(before))
        cls.installed_keys = sorted(set(cls.registry_keys()) - cls.keys_before)
        print("\nInstalled:\n  " + "\n  ".join(cls.installed + cls.installed_keys))

    @staticmethod
    def files():
        found = []
        drive = unix_path("C:")
        for folder, _, names in os.walk(drive):
            found += [os.path.relpath(os.path.join(folder, name), drive) for name in names]
        return found

    @staticmethod
    def registry_keys():
        """Every key of the machine's and the user's software registry, as wine keeps them."""
        keys = []
        for hive in ("system.reg", "user.reg"):
            with open(os.path.join(os.environ["WINEPREFIX"], hive), encoding="utf-8", errors="replace") as f:
                keys += [f"{hive}:{match.group(1)}" for match in re.finditer(r"^\[([^\]]+)\]", f.read(), re.M)]
        return keys

    def test_1_installs_programs_libraries_plugins_and_start_menu_entries(self):
        folder = os.path.relpath(unix_path(INSTALL_FOLDER), unix_path("C:"))
        expected = ["rovanta-v5.exe", "rovanta-v4.exe", "Uninstall.exe", "Qt6Core.dll", "Qt6Gui.dll",
                    "Qt6Widgets.dll", "platforms/qwindows.dll", "styles/qwindowsvistastyle.dll",
                    "libstdc++-6.dll", "libgcc_s_seh-1.dll", "libwinpthread-1.dll"]
        for name in expected:
            self.assertIn(os.path.join(folder, name), self.installed)
        links = sorted(os.path.basename(f) for f in self.installed if f.endswith(".lnk"))
        self.assertEqual(links, ["Rovanta V4.lnk", "Rovanta V5.1.lnk", "Uninstall.lnk"])

    def test_2_programs_encipher_the_known_answers_and_close(self):
        for name in ("v5", "v4"):
            with self.subTest(model=name):
                self.run_program(name)

    def run_program(self, name):
        model = MODELS[name]
        machine = xsession.Machine(self.x, unix_path(rf"{INSTALL_FOLDER}\rovanta-{name}.exe"), model,
                                   launcher=[WINE])
        self.addCleanup(machine.stop)
        machine.start()
        self.assertEqual(machine.geometry()[2:], model.client_pixels(), "the window at the panel's size")
        keys = [1, 2, 3, 4]
        for row_model, row_keys, windows, plain, cipher in known_answers():
            if row_model != name:
                continue
            machine.click("Command1")  # Reset: windows at 01; the five-point-one model's keys at 1 to 4
            if not model.reset_keeps_keys:
                keys = [1, 2, 3, 4]
            for selector, now, wanted in zip(SELECTORS, keys, row_keys):
                for _ in range((wanted - now) % 100):
                    machine.click(selector)
            keys = row_keys
            for window, wanted in zip((1, 2, 3), windows):
                up = (wanted - 1) % 26
                for _ in range(up if up <= 13 else 0):
                    machine.click(WINDOW_UP[window])
                for _ in range(0 if up <= 13 else 26 - up):
                    machine.click(WINDOW_DOWN[window])
            machine.focus_message()
            machine.type(plain.lower())
            enciphered = machine.output()
            print(f"\n  rovanta-{name}: keys {row_keys}, windows {windows}: {plain} -> {enciphered}", end="")
            self.assertEqual(enciphered, cipher)
        subprocess.run(["import", "-window", str(machine.window),
                        os.path.join(SCREENSHOTS, f"rovanta-{name}-windows.png")], env=self.x.env(), check=True,
                       timeout=20)
        started = time.monotonic()
        xwire.send_delete_window(self.x.number, machine.window)
        code = machine.wait_exit(CLOSE_BOUND_SECONDS)
        print(f"\n  rovanta-{name} closed in {time.monotonic() - started:.2f} s with exit code {code}", end="")
        self.assertEqual(code, 0, self.x.log_text("program"))

    def test_3_uninstaller_removes_everything_it_installed(self):
        removed = wine(unix_path(rf"{INSTALL_FOLDER}\Uninstall.exe"), "/S")
        self.assertEqual(removed.returncode, 0, removed.stderr)
        wait_for_wine()
        left = sorted(set(self.installed) & set(self.files()))
        self.assertEqual(left, [], "files the uninstaller left")
        self.assertTrue(self.installed_keys, "the installer registers its uninstaller")
        # Wine writes out only the keys that hold values or nothing at all: an emptied parent key shows up
        # as a new key.
        left = sorted(set(self.registry_keys()) - self.keys_before)
        self.assertEqual(left, [], "registry keys the uninstaller left")
        folders = {os.path.dirname(name) for name in self.installed if name.endswith(".lnk")}
        folders.add(os.path.relpath(unix_path(INSTALL_FOLDER), unix_path("C:")))
        for folder in folders:
            self.assertFalse(os.path.exists(os.path.join(unix_path("C:"), folder)), f"{folder} is gone")


if __name__ == "__main__":
    if WINE is None:
        sys.exit(__doc__)
    unittest.main(argv=sys.argv[:1] + sys.argv[4:], verbosity=2)
