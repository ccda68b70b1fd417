"""The few X protocol requests the tests need that no command-line tool offers, spoken over the
server's local socket with the standard library alone.

- A close request as a window manager's close box sends it (WM_DELETE_WINDOW): xdotool can only
  destroy a window, which a program never sees as the operator closing it.
- The stream of a window's geometry changes up to its end, to follow the closing movement.
"""

import socket
import struct
import threading
import time

_INTERN_ATOM, _CHANGE_WINDOW_ATTRIBUTES, _SEND_EVENT, _GET_INPUT_FOCUS = 16, 2, 25, 43
_CLIENT_MESSAGE, _CONFIGURE_NOTIFY, _DESTROY_NOTIFY = 33, 22, 17
_STRUCTURE_NOTIFY_MASK, _CW_EVENT_MASK = 1 << 17, 1 << 11


class XConnection:
    def __init__(self, display_number: int, timeout=10.0):
        self.socket = socket.socket(socket.AF_UNIX)
        self.socket.settimeout(timeout)
        self.socket.connect(f"/tmp/.X11-unix/X{display_number}")
        self.socket.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
        head = self._receive(8)
        self._receive(struct.unpack_from("<H", head, 6)[0] * 4)
        if head[0] != 1:
            raise ConnectionError("the X server refused the connection")
        self.events = []

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

    def send_delete_window(self, window: int):
        protocols, delete = self.intern_atom("WM_PROTOCOLS"), self.intern_atom("WM_DELETE_WINDOW")
        message = struct.pack("<BBHII5I", _CLIENT_MESSAGE, 32, 0, window, protocols, delete, 0, 0, 0, 0)
        self.socket.sendall(struct.pack("<BBHII", _SEND_EVENT, 0, 11, window, 0) + message)
        self.sync()

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
