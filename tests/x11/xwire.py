"""The few X protocol requests the tests need that no command-line tool offers, spoken over the
server's local socket with the standard library alone.

- A close request as a window manager's close box sends it (WM_DELETE_WINDOW): xdotool can only
  destroy a window, which a program never sees as the operator closing it.
- The stream of a window's geometry changes up to its end, to follow the closing movement.
- A clipboard manager, the desktop's keeper of a clipboard whose owner ends.
- A _NET_WM_PING round trip, which proves a program has handled every event sent to it before.
"""

import random
import socket
import struct
import threading
import time

# Request opcodes and event codes of the core protocol.
_CREATE_WINDOW = 1
_CHANGE_WINDOW_ATTRIBUTES = 2
_INTERN_ATOM = 16
_CHANGE_PROPERTY = 18
_GET_PROPERTY = 20
_SET_SELECTION_OWNER = 22
_GET_SELECTION_OWNER = 23
_CONVERT_SELECTION = 24
_SEND_EVENT = 25
_GET_INPUT_FOCUS = 43
_DESTROY_NOTIFY = 17
_CONFIGURE_NOTIFY = 22
_SELECTION_REQUEST = 30
_SELECTION_NOTIFY = 31
_CLIENT_MESSAGE = 33
_STRUCTURE_NOTIFY_MASK, _CW_EVENT_MASK = 1 << 17, 1 << 11


class XConnection:
    def __init__(self, display_number: int, timeout=10.0):
        self.socket = socket.socket(socket.AF_UNIX)
        self.socket.settimeout(timeout)
        self.socket.connect(f"/tmp/.X11-unix/X{display_number}")
        self.socket.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
        head = self._receive(8)
        setup = self._receive(struct.unpack_from("<H", head, 6)[0] * 4)
        if head[0] != 1:
            raise ConnectionError("the X server refused the connection")
        self.events = []
        self._next_id = struct.unpack_from("<I", setup, 4)[0]
        vendor_length, formats = struct.unpack_from("<H", setup, 16)[0], setup[21]
        self.root = struct.unpack_from("<I", setup, 32 + (vendor_length + 3) // 4 * 4 + 8 * formats)[0]

    def close(self):
        self.socket.close()

    def _receive(self, size):
        data = b""
        while len(data) < size:
            chunk = self.socket.recv(size - len(data))
            if not chunk:
                raise ConnectionError("the X server closed the connection")
            data += chunk
        return data

    def _reply(self):
        """The next reply; events that arrive before it are kept, an error is raised."""
        while True:
            packet = self._receive(32)
            if packet[0] == 0:
                raise OSError(f"X error {packet[1]} for request {packet[10]}")
            if packet[0] == 1:
                return packet + self._receive(struct.unpack_from("<I", packet, 4)[0] * 4)
            self.events.append(packet)

    def sync(self):
        self.socket.sendall(struct.pack("<BxH", _GET_INPUT_FOCUS, 1))
        self._reply()

    def intern_atom(self, name: str) -> int:
        encoded = name.encode()
        padding = b"\0" * (-len(encoded) % 4)
        self.socket.sendall(struct.pack("<BBHHxx", _INTERN_ATOM, 0, 2 + (len(encoded) + len(padding)) // 4,
                                        len(encoded)) + encoded + padding)
        return struct.unpack_from("<I", self._reply(), 8)[0]

    def create_window(self) -> int:
        """An unseen 1 by 1 input-only window, the owner and requestor of selections."""
        self._next_id += 1
        self.socket.sendall(struct.pack("<BBHIIhhHHHHII", _CREATE_WINDOW, 0, 8, self._next_id, self.root,
                                        0, 0, 1, 1, 0, 2, 0, 0))
        self.sync()
        return self._next_id

    def set_selection_owner(self, selection: int, owner: int):
        self.socket.sendall(struct.pack("<BxHIII", _SET_SELECTION_OWNER, 4, owner, selection, 0))

    def selection_owner(self, selection: int) -> int:
        self.socket.sendall(struct.pack("<BxHI", _GET_SELECTION_OWNER, 2, selection))
        return struct.unpack_from("<I", self._reply(), 8)[0]

    def convert_selection(self, requestor, selection, target, into):
        self.socket.sendall(struct.pack("<BxHIIIII", _CONVERT_SELECTION, 6, requestor, selection, target,
                                        into, 0))

    def take_property(self, window: int, name: int) -> bytes:
        return self.property(window, name, delete=True)

    def property(self, window: int, name: int, delete=False) -> bytes:
        self.socket.sendall(struct.pack("<BBHIIIII", _GET_PROPERTY, int(delete), 6, window, name, 0, 0, 1 << 20))
        reply = self._reply()
        unit, count = reply[1] // 8, struct.unpack_from("<I", reply, 16)[0]
        return reply[32:32 + unit * count]

    def change_property(self, window, name, kind, unit_bits, data: bytes):
        padding = b"\0" * (-len(data) % 4)
        length = 6 + (len(data) + len(padding)) // 4
        self.socket.sendall(struct.pack("<BBHIIIB3xI", _CHANGE_PROPERTY, 0, length, window, name, kind,
                                        unit_bits, len(data) * 8 // unit_bits) + data + padding)

    def notify_selection(self, time, requestor, selection, target, into):
        event = struct.pack("<BxHIIIII8x", _SELECTION_NOTIFY, 0, time, requestor, selection, target, into)
        self.socket.sendall(struct.pack("<BBHII", _SEND_EVENT, 0, 11, requestor, 0) + event)

    def send_delete_window(self, window: int):
        protocols, delete = self.intern_atom("WM_PROTOCOLS"), self.intern_atom("WM_DELETE_WINDOW")
        message = struct.pack("<BBHII5I", _CLIENT_MESSAGE, 32, 0, window, protocols, delete, 0, 0, 0, 0)
        self.socket.sendall(struct.pack("<BBHII", _SEND_EVENT, 0, 11, window, 0) + message)
        self.sync()

    def ping(self, window: int, serial: int, deadline: float):
        """Sends the window's client a _NET_WM_PING and waits for its answer, which it sends to the root
        window. The client answers when it reads the ping, so every event sent to it before is read by then.
        Needs watch_structure(self.root) first: the answer goes to those who watch the root's structure."""
        protocols, ping = self.intern_atom("WM_PROTOCOLS"), self.intern_atom("_NET_WM_PING")
        advertised = self.property(window, protocols)
        if ping not in struct.unpack(f"<{len(advertised) // 4}I", advertised):
            raise RuntimeError(f"window {window:#x} does not answer _NET_WM_PING (not in its WM_PROTOCOLS)")
        message = struct.pack("<BBHII5I", _CLIENT_MESSAGE, 32, 0, window, protocols, ping, serial, window, 0, 0)
        self.socket.sendall(struct.pack("<BBHII", _SEND_EVENT, 0, 11, window, 0) + message)
        while time.monotonic() < deadline:
            event = self.next_event()
            if (event[0] & 0x7F == _CLIENT_MESSAGE
                    and struct.unpack_from("<5I", event, 4) == (self.root, protocols, ping, serial, window)):
                return
        raise TimeoutError(f"window {window:#x} did not answer a _NET_WM_PING")

    def watch_structure(self, window: int):
        self.socket.sendall(struct.pack("<BxHIII", _CHANGE_WINDOW_ATTRIBUTES, 4, window, _CW_EVENT_MASK,
                                        _STRUCTURE_NOTIFY_MASK))
        self.sync()

    def next_event(self):
        if self.events:
            return self.events.pop(0)
        return self._receive(32)


def send_delete_window(display_number: int, window: int):
    connection = XConnection(display_number)
    try:
        connection.send_delete_window(window)
    finally:
        connection.close()


def handled_so_far(display_number: int, window: int, timeout=60.0):
    """Returns once the program owning `window` has handled every event sent to it before the call.

    Two pings one after the other: the toolkit may read the first in the same batch as the events before
    it and deliver those only after answering; it reads the second only once that batch is delivered."""
    connection = XConnection(display_number, timeout)
    try:
        connection.watch_structure(connection.root)
        deadline = time.monotonic() + timeout
        for _ in range(2):
            # In the timestamp's place, a number the window manager's own pings are unlikely to carry.
            connection.ping(window, random.randrange(1 << 31, 1 << 32), deadline)
    finally:
        connection.close()


class GeometryRecorder:
    """Records every position and size a window takes, from now until it is destroyed."""

    def __init__(self, display_number: int, window: int, timeout=30.0):
        self.geometries = []  # (x, y, width, height) in pixels, in the order the server made them
        self.destroyed = False
        self._connection = XConnection(display_number, timeout)
        self._connection.watch_structure(window)
        self._thread = threading.Thread(target=self._record, args=(window, time.monotonic() + timeout),
                                        daemon=True)
        self._thread.start()

    def _record(self, window, deadline):
        try:
            while time.monotonic() < deadline:
                event = self._connection.next_event()
                code = event[0] & 0x7F
                if code == _CONFIGURE_NOTIFY and struct.unpack_from("<I", event, 8)[0] == window:
                    self.geometries.append(struct.unpack_from("<hhHH", event, 16))
                elif code == _DESTROY_NOTIFY and struct.unpack_from("<I", event, 8)[0] == window:
                    self.destroyed = True
                    return
        except OSError:
            return
        finally:
            self._connection.close()

    def wait(self, timeout):
        self._thread.join(timeout)
        return self.destroyed


class ClipboardManager:
    """Keeps the clipboard's text when the program that owns it ends, as a desktop's manager does.

    A program that ends through its normal exit asks the manager to save its clipboard (SAVE_TARGETS
    on the CLIPBOARD_MANAGER selection); the manager reads the text while the program still runs,
    then owns the clipboard itself and hands the text to whoever asks later. `saved` holds the text,
    or None while nothing was handed over."""

    def __init__(self, display_number: int, timeout=30.0):
        self.saved = None
        self._handed_over = threading.Event()
        self._connection = x = XConnection(display_number, timeout)
        self._window = x.create_window()
        self._atoms = {name: x.intern_atom(name) for name in
                       ("CLIPBOARD_MANAGER", "SAVE_TARGETS", "CLIPBOARD", "UTF8_STRING", "TARGETS", "ATOM",
                        "ROVANTA_SAVED")}
        x.set_selection_owner(self._atoms["CLIPBOARD_MANAGER"], self._window)
        if x.selection_owner(self._atoms["CLIPBOARD_MANAGER"]) != self._window:
            raise RuntimeError("another clipboard manager is running")
        self._thread = threading.Thread(target=self._serve, daemon=True)
        self._thread.start()

    def _serve(self):
        x, atom = self._connection, self._atoms
        try:
            while True:
                event = x.next_event()
                if event[0] & 0x7F != _SELECTION_REQUEST:
                    continue
                time, _, requestor, selection, target, into = struct.unpack_from("<IIIIII", event, 4)
                into = into or target
                if selection == atom["CLIPBOARD_MANAGER"] and target == atom["SAVE_TARGETS"]:
                    self._save()
                    x.notify_selection(time, requestor, selection, target, into)
                    # Owning the clipboard from now on also tells the ending program it has let go.
                    x.set_selection_owner(atom["CLIPBOARD"], self._window)
                    self._handed_over.set()
                elif selection == atom["CLIPBOARD"] and target == atom["UTF8_STRING"] and self.saved:
                    x.change_property(requestor, into, target, 8, self.saved.encode())
                    x.notify_selection(time, requestor, selection, target, into)
                elif selection == atom["CLIPBOARD"] and target == atom["TARGETS"]:
                    x.change_property(requestor, into, atom["ATOM"], 32,
                                      struct.pack("<II", atom["TARGETS"], atom["UTF8_STRING"]))
                    x.notify_selection(time, requestor, selection, target, into)
                else:
                    x.notify_selection(time, requestor, selection, target, 0)
        except OSError:
            return

    def _save(self):
        x, atom = self._connection, self._atoms
        x.convert_selection(self._window, atom["CLIPBOARD"], atom["UTF8_STRING"], atom["ROVANTA_SAVED"])
        deadline = time.monotonic() + 10
        while (answer := x.next_event())[0] & 0x7F != _SELECTION_NOTIFY:
            if time.monotonic() > deadline:
                # An OSError ends the manager; its wait() then reports nothing saved.
                raise TimeoutError("the ending program never handed over its clipboard")
        if struct.unpack_from("<I", answer, 20)[0] != 0:
            self.saved = x.take_property(self._window, atom["ROVANTA_SAVED"]).decode()

    def wait(self, timeout):
        self._handed_over.wait(timeout)
        return self.saved

    def stop(self):
        self._connection.socket.shutdown(socket.SHUT_RDWR)
        self._thread.join(5)
        self._connection.close()
