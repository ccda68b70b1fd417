"""The one harness of the real-program tests: a display (Xvfb, optionally with a window manager and a
screen reader's buses, or sway headless for Wayland) with the machine program on it, driven the way an
operator drives it. Wine's programs run on the same X server through a launcher.

Each test class gets its own Xvfb on a display the server picks itself (so tests run in parallel), and
each test its own program, started with no arguments. Keys go in through XTEST with xdotool, buttons are
pressed by clicking at their designed places, the clipboard is read by xclip from outside the program,
and the panel is read back from screenshots. Every child process dies with the test process, even when
ctest kills it, so no Xvfb is ever left behind.
"""

import ctypes
import json
import os
import pwd
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

import xwire
from panel_layout import MODELS, Model

PANEL_GREY = (192, 192, 192)
SCREEN_PIXELS = (1920, 1080)

_PR_SET_PDEATHSIG = 1
_libc = ctypes.CDLL(None, use_errno=True)


def _die_with_parent(death_signal=signal.SIGKILL):
    _libc.prctl(_PR_SET_PDEATHSIG, death_signal)


def wait_for(what, condition, timeout=10.0, interval=0.02):
    """Polls until condition() gives a true value and returns it; a bounded wait, never a fixed sleep."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


class Session:
    """What a display under test holds: a home folder of its own and children that die with the test
    process, each writing its stderr to a log in that folder."""

    def __init__(self, prefix):
        self.home = tempfile.mkdtemp(prefix=prefix)
        self.processes = []
        self.gentle = []  # children that end children of their own: asked to end, not killed

    def _log(self, name):
        """A log file for a child's stderr; the child holds its own copy of the descriptor."""
        return os.open(os.path.join(self.home, f"{name}.log"), os.O_WRONLY | os.O_CREAT | os.O_APPEND)

    def _popen(self, argv, log, death_signal=signal.SIGKILL, both=False, **kwargs):
        """Starts a child that gets `death_signal` when the test process ends; a child that must shut
        down children of its own asks for one it can handle. With `both` its stdout goes to the log too."""
        log_fd = self._log(log)
        try:
            process = subprocess.Popen(argv, stdout=log_fd if both else subprocess.DEVNULL, stderr=log_fd,
                                       preexec_fn=lambda: _die_with_parent(death_signal), **kwargs)
        finally:
            os.close(log_fd)
        # Clipboard servers end when the program takes the clipboard; poll() lays them to rest.
        self.processes = [p for p in self.processes if p.poll() is None] + [process]
        return process

    def log_text(self, name):
        try:
            with open(os.path.join(self.home, f"{name}.log"), errors="replace") as log:
                return log.read()
        except OSError:
            return ""

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is None and process in self.gentle:
                process.terminate()
                try:
                    process.wait(10)
                except subprocess.TimeoutExpired:
                    pass
            if process.poll() is None:
                process.kill()
            process.wait()
        shutil.rmtree(self.home, ignore_errors=True)


class XServer(Session):
    """Xvfb at 96 dots per inch, so one pixel is 15 twips, optionally with a window manager on it and with
    a reader's buses: a session bus and the accessibility bus, whose programs then run with the toolkit's
    accessibility on, as on a desktop where a screen reader is running."""

    def __init__(self, window_manager=False, reader=False):
        super().__init__("rovanta-x11-")
        self.window_manager = window_manager
        self.reader = reader
        self.display = None
        self.bus = None

    def start(self):
        read_end, write_end = os.pipe()
        screen = "{}x{}x24".format(*SCREEN_PIXELS)
        server = self._popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen, "-dpi", "96",
                              "-nolisten", "tcp", "-noreset"], "Xvfb", pass_fds=[write_end])
        os.close(write_end)
        with os.fdopen(read_end) as announced:
            number = announced.readline().strip()
        if not number:
            raise RuntimeError(f"Xvfb did not start (exit code {server.poll()})")
        self.display = f":{number}"
        self.number = int(number)
        if self.window_manager:
            self._start_window_manager()
        if self.reader:
            self._start_reader_buses()
        return self

    def _start_reader_buses(self):
        read_end, write_end = os.pipe()
        self.spawn(["dbus-daemon", "--session", "--nofork", "--nosyslog", f"--print-address={write_end}"],
                   log="dbus-daemon", pass_fds=[write_end])
        os.close(write_end)
        with os.fdopen(read_end) as announced:
            self.bus = announced.readline().strip()
        if not self.bus:
            raise RuntimeError("the session bus did not start:\n" + self.log_text("dbus-daemon"))
        # The launcher starts the accessibility bus as a child of its own, which it ends only when it is
        # asked to end, not when it is killed.
        self.gentle.append(self.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                      log="at-spi-bus-launcher", death_signal=signal.SIGTERM))

    def _start_window_manager(self):
        self.spawn(["openbox", "--sm-disable"], log="openbox")
        wait_for("the window manager", lambda: "window id #" in self.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False).stdout)

    def env(self):
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("QT_", "XDG_", "WAYLAND_")) and k not in ("DISPLAY", "XAUTHORITY")}
        runtime = os.path.join(self.home, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env.update(DISPLAY=self.display, QT_QPA_PLATFORM="xcb", HOME=self.home, XDG_RUNTIME_DIR=runtime,
                   XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                   XDG_CACHE_HOME=os.path.join(self.home, "cache"))
        if self.bus:
            env.update(DBUS_SESSION_BUS_ADDRESS=self.bus, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       QT_ACCESSIBILITY="1")
        return env

    def spawn(self, argv, log=None, **kwargs):
        return self._popen(argv, log or os.path.basename(argv[0]), env=self.env(), **kwargs)

    def run(self, argv, check=True, timeout=10, input=None):
        return subprocess.run(argv, env=self.env(), capture_output=True, text=True, check=check,
                              timeout=timeout, input=input)


class Compositor(Session):
    """sway on its headless backend, without XWayland, run as the unprivileged user nobody when the tests
    run as root (sway refuses root). Where it cannot run, unavailable() says why."""

    def __init__(self):
        super().__init__("rovanta-wayland-")
        self.user = None
        if os.geteuid() == 0:
            try:
                self.user = pwd.getpwnam("nobody")
            except KeyError:
                self.unavailable("running as root, and there is no user nobody for sway to run as")
        if self.user:
            os.chown(self.home, self.user.pw_uid, self.user.pw_gid)
        os.chmod(self.home, 0o700)
        self.env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.home,
                    "XDG_RUNTIME_DIR": self.home, "LANG": "C.UTF-8"}

    def unavailable(self, reason):
        raise unittest.SkipTest(reason)

    def _as_user(self):
        return {"user": self.user.pw_uid, "group": self.user.pw_gid, "extra_groups": []} if self.user else {}

    def spawn(self, argv, log_name, extra_env=None):
        process = self._popen(argv, log_name.removesuffix(".log"), both=True, stdin=subprocess.DEVNULL,
                              env={**self.env, **(extra_env or {})}, cwd=self.home, **self._as_user())
        self.gentle.append(process)
        return process

    def run(self, argv, timeout=5, check=True):
        return subprocess.run(argv, env=self.env, cwd=self.home, capture_output=True, text=True,
                              timeout=timeout, check=check, **self._as_user())

    def start(self):
        config = os.path.join(self.home, "config")
        with open(config, "w") as file:
            file.write("xwayland disable\n")
        self.sway = self.spawn(["sway", "-c", config], "sway.log",
                               {"WLR_BACKENDS": "headless", "WLR_LIBINPUT_NO_DEVICES": "1",
                                "WLR_RENDERER": "pixman"})

        def ready():
            if self.sway.poll() is not None:
                self.unavailable(f"sway ended with status {self.sway.returncode}:\n{self.log('sway.log')}")
            names = os.listdir(self.home)
            sockets = [n for n in names if n.startswith("sway-ipc.")]
            displays = [n for n in names if n.startswith("wayland-") and not n.endswith(".lock")]
            return sockets and displays and (sockets[0], displays[0])

        try:
            socket, display = wait_for("sway's sockets", ready, timeout=10)
        except TimeoutError:
            self.unavailable(f"sway did not start within 10 s:\n{self.log('sway.log')}")
        self.env.update({"SWAYSOCK": os.path.join(self.home, socket), "WAYLAND_DISPLAY": display})
        # The headless seat has a keyboard only while a virtual one exists. Were each wtype's keyboard the
        # only one, the seat would gain a keyboard with it, and the program would bind that keyboard only
        # after wtype's first keys were gone: this idle one keeps the seat's keyboard for the whole test.
        self.spawn(["wtype", "-s", "600000"], "keyboard.log")
        return self

    def log(self, name):
        return self.log_text(name.removesuffix(".log"))[-4000:] or "(no log)"

    def windows(self):
        def walk(node):
            if node.get("pid"):
                yield node
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                yield from walk(child)

        return list(walk(json.loads(self.run(["swaymsg", "-t", "get_tree", "-r"]).stdout)))


class Screenshot:
    def __init__(self, ppm: bytes):
        fields = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", ppm)
        if not fields or int(fields.group(3)) != 255:
            raise ValueError("not an 8-bit PPM picture")
        self.width, self.height = int(fields.group(1)), int(fields.group(2))
        self.data = ppm[fields.end():]

    def pixel(self, x, y):
        offset = 3 * (y * self.width + x)
        return tuple(self.data[offset:offset + 3])

    def colours(self, box):
        x0, y0, x1, y1 = box
        return {self.pixel(x, y) for y in range(y0, y1) for x in range(x0, x1)}


class Machine:
    """One running machine program and its window."""

    _sync_count = 0

    def __init__(self, xserver: XServer, program: str, model: Model, launcher=()):
        self.x = xserver
        self.program = program
        self.launcher = list(launcher)
        self.model = model
        self.process = None
        self.window = None

    def start(self):
        self.process = self.x.spawn([*self.launcher, self.program], log="program")
        title = "^" + re.escape(self.model.title) + "$"
        self.window = int(wait_for(f"the window titled {self.model.title!r}",
                                   lambda: self._search(title) or self._check_alive()).split()[0])
        self.focus()
        return self

    def _search(self, title_regex):
        found = self.x.run(["xdotool", "search", "--onlyvisible", "--name", title_regex], check=False)
        return found.stdout.strip()

    def _check_alive(self):
        if self.process.poll() is not None:
            raise RuntimeError(f"{self.program} ended with {self.process.returncode}:\n"
                               + self.x.log_text("program"))
        return None

    def windows_titled(self, title):
        return [int(w) for w in self._search("^" + re.escape(title) + "$").split()]

    def focus(self, window=None):
        window = window or self.window
        if self.x.window_manager:
            self.x.run(["xdotool", "windowactivate", "--sync", str(window)], timeout=10)
        else:
            self.x.run(["xdotool", "windowfocus", "--sync", str(window)], timeout=10)

    def geometry(self, window=None):
        """The client area's absolute left, top, width and height in pixels."""
        info = self.x.run(["xwininfo", "-id", str(window or self.window)]).stdout
        value = {key: int(re.search(rf"{key}:\s+(-?\d+)", info).group(1))
                 for key in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")}
        return (value["Absolute upper-left X"], value["Absolute upper-left Y"], value["Width"],
                value["Height"])

    def frame(self):
        """The window that holds the client area: a window manager's frame, else the window itself."""
        tree = self.x.run(["xwininfo", "-id", str(self.window), "-tree"]).stdout
        parent = int(re.search(r"Parent window id: (0x[0-9a-f]+)", tree).group(1), 16)
        root = int(re.search(r"Root window id: (0x[0-9a-f]+)", tree).group(1), 16)
        return self.window if parent == root else parent

    def property(self, name):
        return self.x.run(["xprop", "-id", str(self.window), name]).stdout

    # --- operator actions --------------------------------------------------------------------

    def click(self, name, double=False):
        self.click_at(*self.model.rect(name).centre(), double=double)

    def click_at(self, x, y, double=False, button=1):
        clicks = ["--repeat", "2", "--delay", "40"] if double else []
        self.x.run(["xdotool", *self._move(x, y), "click", *clicks, str(button)])

    def _move(self, x, y):
        left, top, _, _ = self.geometry()
        return ["mousemove", str(left + x), str(top + y)]

    def type(self, text):
        self.x.run(["xdotool", "type", "--delay", "15", text], timeout=30)

    def key(self, *keys):
        self.x.run(["xdotool", "key", "--delay", "15", *keys])

    def paste(self, text, keys=("shift+Insert",)):
        """Puts text on the clipboard from another program, clicks into Text2 and pastes it there with
        `keys` (the box's menu: shift+F10, p)."""
        self.set_clipboard(text)
        self.focus_message()
        self.key(*keys)

    # --- reading the machine from outside ----------------------------------------------------

    def read_selection(self, selection="clipboard", timeout=10):
        """The selection's text, or None when nobody holds it or its holder did not answer in time."""
        try:
            result = subprocess.run(["xclip", "-o", "-selection", selection], env=self.x.env(),
                                    capture_output=True, timeout=timeout)
        except subprocess.TimeoutExpired:
            return None
        return result.stdout.decode() if result.returncode == 0 else None

    def set_clipboard(self, text, selection="clipboard"):
        server = self.x.spawn(["xclip", "-quiet", "-i", "-selection", selection], stdin=subprocess.PIPE)
        server.stdin.write(text.encode())
        server.stdin.close()
        # Until xclip has taken the selection, a silent holder may still have it: ask again, briefly.
        wait_for(f"the {selection} to hold {text!r}", lambda: self.read_selection(selection, timeout=1) == text)

    def handled_so_far(self):
        """Returns once the program has handled every key and click sent to it before."""
        xwire.handled_so_far(self.x.number, self.window)

    def _sentinel(self):
        Machine._sync_count += 1
        return f"sync-{os.getpid()}-{Machine._sync_count}"

    def output(self):
        """Presses Copy To ClipBoard and returns what it put on the clipboard (the whole of Text3).
        The button keeps the focus, as it does for an operator.

        The clipboard first holds a text the machine never writes, so the copy is seen to have
        happened; every key and click sent before has then been handled too."""
        sentinel = self._sentinel()
        self.set_clipboard(sentinel)
        self.click("Command10")
        seen = []

        def copied():
            seen.append(self.read_selection())
            return seen[-1] not in (None, sentinel)

        wait_for("Copy To ClipBoard", copied)
        return seen[-1]

    def message(self):
        """Reads Text2: a double click selects its one word, and X hands a selection to PRIMARY.

        Like output(), it leaves the focus on Copy To ClipBoard."""
        sentinel = self._sentinel()
        self.set_clipboard(sentinel, "primary")
        x0, y0, _, y1 = self.model.rect("Text2").inner(0)
        self.click_at(x0 + 12, (y0 + y1) // 2, double=True)
        self.output()  # every event before it has been handled
        text = self.read_selection("primary")
        return "" if text == sentinel else text

    def focus_message(self):
        """Clicks into Text2 and puts the caret after the last letter.

        End also drops the word selection that a click soon after another at the same place makes
        (a double click); it gives the box no character, so the machine ignores it."""
        _, y0, x1, y1 = self.model.rect("Text2").inner(0)
        self.click_at(x1 - 4, (y0 + y1) // 2)
        self.key("End")

    def screenshot(self):
        ppm = subprocess.run(["import", "-window", str(self.window), "-depth", "8", "ppm:-"],
                             env=self.x.env(), capture_output=True, check=True, timeout=20).stdout
        return Screenshot(ppm)

    # --- the end -----------------------------------------------------------------------------

    def close(self):
        if self.x.window_manager:
            self.focus()
            self.key("alt+F4")
        else:
            xwire.send_delete_window(self.x.number, self.window)

    def wait_exit(self, timeout):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()


class MachineTest(unittest.TestCase):
    """Base of the real-X tests: one X server per class, a freshly started program per test."""

    window_manager = False
    reader = False
    program = None
    model = None

    @classmethod
    def setUpClass(cls):
        cls.x = XServer(cls.window_manager, cls.reader).start()
        cls.addClassCleanup(cls.x.stop)

    def setUp(self):
        self.machine = Machine(self.x, self.program, self.model)
        self.addCleanup(self.machine.stop)
        self.machine.start()


def main():
    """Runs a test file as `<file> <program> v5|v4 [unittest arguments]`."""
    if len(sys.argv) < 3 or sys.argv[2] not in MODELS:
        sys.exit(f"usage: {sys.argv[0]} PROGRAM v5|v4 [unittest options]")
    MachineTest.program = os.path.abspath(sys.argv[1])
    MachineTest.model = MODELS[sys.argv[2]]
    unittest.main(argv=[sys.argv[0], "-v", *sys.argv[3:]])
