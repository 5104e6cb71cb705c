"""Drives the viewer on an X display: a private Xvfb, the viewer process, X11
input through XTest, client messages, and screenshots of the viewer window
read back with XGetImage. Standard library only (ctypes over libX11/libXtst).
"""

import array
import collections
import ctypes
import ctypes.util
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib

WINDOW_TITLE = "Tessaly OpenGL Application Frame"
WINDOW_CLASS = "Morvane"
ERROR_TITLE = "Application Error"

# --- Xlib through ctypes -----------------------------------------------------

Window = ctypes.c_ulong
Atom = ctypes.c_ulong


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", Window), ("message_type", Atom),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xclient", XClientMessageEvent), ("pad", ctypes.c_long * 24)]


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int), ("depth", ctypes.c_int),
                ("visual", ctypes.c_void_p), ("root", Window), ("class_", ctypes.c_int),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_char)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int), ("red_mask", ctypes.c_ulong),
                ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong)]


class XClassHint(ctypes.Structure):
    _fields_ = [("res_name", ctypes.c_void_p), ("res_class", ctypes.c_void_p)]


def _load(name, soname):
    path = ctypes.util.find_library(name) or soname
    return ctypes.CDLL(path)


xlib = _load("X11", "libX11.so.6")
xtst = _load("Xtst", "libXtst.so.6")

xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
xlib.XDefaultRootWindow.restype = Window
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XQueryTree.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(Window), ctypes.POINTER(Window),
                            ctypes.POINTER(ctypes.POINTER(Window)), ctypes.POINTER(ctypes.c_uint)]
xlib.XGetWindowProperty.argtypes = [ctypes.c_void_p, Window, Atom, ctypes.c_long, ctypes.c_long, ctypes.c_int,
                                    Atom, ctypes.POINTER(Atom), ctypes.POINTER(ctypes.c_int),
                                    ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
                                    ctypes.POINTER(ctypes.c_void_p)]
xlib.XFree.argtypes = [ctypes.c_void_p]
xlib.XGetClassHint.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(XClassHint)]
xlib.XGetWindowAttributes.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(XWindowAttributes)]
xlib.XTranslateCoordinates.argtypes = [ctypes.c_void_p, Window, Window, ctypes.c_int, ctypes.c_int,
                                       ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
                                       ctypes.POINTER(Window)]
xlib.XGetImage.restype = ctypes.POINTER(XImage)
xlib.XGetImage.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                           ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
xlib.XDestroyImage.argtypes = [ctypes.POINTER(XImage)]
xlib.XInternAtom.restype = Atom
xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
xlib.XSendEvent.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_long, ctypes.POINTER(XEvent)]
xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xlib.XFlush.argtypes = [ctypes.c_void_p]
xlib.XSetInputFocus.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_ulong]
xlib.XStringToKeysym.restype = ctypes.c_ulong
xlib.XStringToKeysym.argtypes = [ctypes.c_char_p]
xlib.XKeysymToKeycode.restype = ctypes.c_ubyte
xlib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                      ctypes.c_ulong]
xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

# Windows come and go while the tree is walked; a BadWindow must not end the
# test, so X errors are ignored and each call's result is checked instead.
_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
xlib.XSetErrorHandler(_ERROR_HANDLER)

ZPixmap = 2
AllPlanes = 0xFFFFFFFF
IsViewable = 2
ClientMessage = 33


_libc = ctypes.CDLL(None)


def _die_with_parent():
    """Children get SIGTERM when the test process dies, so a killed test
    leaves no Xvfb or viewer behind."""
    _libc.prctl(1, 15)  # PR_SET_PDEATHSIG, SIGTERM


class TestFailure(Exception):
    pass


class Unavailable(Exception):
    """What the test needs is not on this machine: the test is skipped."""


def check(condition, message):
    if not condition:
        raise TestFailure(message)


def log(*args):
    print(*args, flush=True)


# --- Screenshots -------------------------------------------------------------

class Shot:
    """One screenshot: width, height and a list of 0xRRGGBB values."""

    def __init__(self, width, height, pixels):
        self.width, self.height, self.pixels = width, height, pixels
        self._histogram = None

    def at(self, x, y):
        v = self.pixels[y * self.width + x]
        return (v >> 16) & 255, (v >> 8) & 255, v & 255

    def histogram(self):
        if self._histogram is None:
            self._histogram = collections.Counter(self.pixels)
        return self._histogram

    def foreground(self, background, tolerance=3):
        """Colour -> count of the pixels that differ from the background."""
        return {v: n for v, n in self.histogram().items()
                if max(abs(a - b) for a, b in zip(rgb(v), background)) > tolerance}

    def foreground_fraction(self, background, tolerance=3):
        return sum(self.foreground(background, tolerance).values()) / len(self.pixels)

    def bbox(self, background, tolerance=3):
        """(left, top, right, bottom) of the pixels that differ from the
        background, or None."""
        fg = set(self.foreground(background, tolerance))
        if not fg:
            return None
        top = bottom = left = right = None
        w = self.width
        for y in range(self.height):
            row = self.pixels[y * w:(y + 1) * w]
            xs = [x for x, v in enumerate(row) if v in fg] if fg.intersection(row) else []
            if xs:
                top = y if top is None else top
                bottom = y
                left = xs[0] if left is None else min(left, xs[0])
                right = xs[-1] if right is None else max(right, xs[-1])
        return left, top, right, bottom

    def save_png(self, path):
        data = self.pixels.tobytes() if sys.byteorder == "little" else None
        if data is None:
            swapped = array.array("I", self.pixels)
            swapped.byteswap()
            data = swapped.tobytes()
        row = self.width * 3
        rgb_bytes = bytearray(len(self.pixels) * 3)
        rgb_bytes[0::3], rgb_bytes[1::3], rgb_bytes[2::3] = data[2::4], data[1::4], data[0::4]
        raw = bytearray()
        for y in range(self.height):
            raw.append(0)
            raw += rgb_bytes[y * row:(y + 1) * row]

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        png = (b"\x89PNG\r\n\x1a\n"
               + chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0))
               + chunk(b"IDAT", zlib.compress(bytes(raw), 6)) + chunk(b"IEND", b""))
        with open(path, "wb") as fh:
            fh.write(png)


def rgb(v):
    return (v >> 16) & 255, (v >> 8) & 255, v & 255


def near(colour, expected, tolerance):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


# --- The X display -----------------------------------------------------------

class Display:
    """A connection to an X server, started privately when asked."""

    def __init__(self, private):
        self.xvfb = None
        if private:
            self._start_xvfb()
        name = os.environ.get("DISPLAY", "")
        self.name = name
        self.dpy = xlib.XOpenDisplay(name.encode())
        check(self.dpy, "cannot open X display %r" % name)
        self.root = xlib.XDefaultRootWindow(self.dpy)

    def _start_xvfb(self):
        read_fd, write_fd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             "-noreset"], pass_fds=(write_fd,), preexec_fn=_die_with_parent,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        deadline = time.time() + 30
        while not number.endswith(b"\n") and time.time() < deadline:
            part = os.read(read_fd, 16)
            if not part:
                break
            number += part
        os.close(read_fd)
        check(number.strip(), "Xvfb did not start")
        os.environ["DISPLAY"] = ":" + number.decode().strip()

    def close(self):
        if self.dpy:
            xlib.XCloseDisplay(self.dpy)
            self.dpy = None
        if self.xvfb:
            self.xvfb.terminate()
            try:
                self.xvfb.wait(10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
            self.xvfb = None

    # windows

    def windows(self, parent=None):
        """Every window below `parent` (the root by default), depth first."""
        parent = self.root if parent is None else parent
        root, par = Window(), Window()
        children = ctypes.POINTER(Window)()
        count = ctypes.c_uint()
        if not xlib.XQueryTree(self.dpy, parent, ctypes.byref(root), ctypes.byref(par),
                               ctypes.byref(children), ctypes.byref(count)):
            return []
        found = [children[i] for i in range(count.value)]
        if children:
            xlib.XFree(children)
        result = []
        for w in found:
            result.append(w)
            result += self.windows(w)
        return result

    def property_text(self, window, name):
        """A text property of any type (STRING, UTF8_STRING, ...), or None."""
        kind, fmt = Atom(), ctypes.c_int()
        count, after = ctypes.c_ulong(), ctypes.c_ulong()
        data = ctypes.c_void_p()
        atom = xlib.XInternAtom(self.dpy, name.encode(), 1)
        if not atom or xlib.XGetWindowProperty(
                self.dpy, window, atom, 0, 1024, 0, 0, ctypes.byref(kind), ctypes.byref(fmt),
                ctypes.byref(count), ctypes.byref(after), ctypes.byref(data)) != 0:
            return None
        if not data.value:
            return None
        text = ctypes.string_at(data.value, count.value) if fmt.value == 8 else None
        xlib.XFree(data)
        return text.decode("utf-8", "replace") if text is not None else None

    def title(self, window):
        """The window's title: _NET_WM_NAME, else WM_NAME in whatever
        encoding it was stored (SDL's message box stores UTF8_STRING)."""
        return self.property_text(window, "_NET_WM_NAME") or self.property_text(window, "WM_NAME")

    def class_hint(self, window):
        hint = XClassHint()
        if not xlib.XGetClassHint(self.dpy, window, ctypes.byref(hint)):
            return None
        result = tuple(ctypes.string_at(p).decode("latin-1") if p else ""
                       for p in (hint.res_name, hint.res_class))
        for p in (hint.res_name, hint.res_class):
            if p:
                xlib.XFree(p)
        return result

    def attributes(self, window):
        attrs = XWindowAttributes()
        if not xlib.XGetWindowAttributes(self.dpy, window, ctypes.byref(attrs)):
            return None
        return attrs

    def find_window(self, title):
        """The first viewable window with the title, or None."""
        for w in self.windows():
            if self.title(w) == title:
                attrs = self.attributes(w)
                if attrs and attrs.map_state == IsViewable:
                    return w
        return None

    def wait_window(self, title, timeout, alive=None):
        deadline = time.time() + timeout
        while time.time() < deadline:
            w = self.find_window(title)
            if w:
                return w
            if alive is not None and not alive():
                return None
            time.sleep(0.1)
        return None

    def origin(self, window):
        """The window's top left corner in root coordinates."""
        x, y, child = ctypes.c_int(), ctypes.c_int(), Window()
        xlib.XTranslateCoordinates(self.dpy, window, self.root, 0, 0, ctypes.byref(x), ctypes.byref(y),
                                   ctypes.byref(child))
        return x.value, y.value

    def screenshot(self, window):
        attrs = self.attributes(window)
        check(attrs is not None, "the window is gone")
        image = xlib.XGetImage(self.dpy, window, 0, 0, attrs.width, attrs.height, AllPlanes, ZPixmap)
        check(image, "XGetImage failed")
        img = image.contents
        try:
            check(img.bits_per_pixel == 32 and img.red_mask == 0xFF0000 and img.blue_mask == 0xFF,
                  "unexpected pixel layout (%d bpp)" % img.bits_per_pixel)
            data = ctypes.string_at(img.data, img.bytes_per_line * img.height)
            words = array.array("I")
            words.frombytes(data)
            if sys.byteorder != "little":
                words.byteswap()
            stride = img.bytes_per_line // 4
            pixels = array.array("I", bytes(4 * img.width * img.height))
            for y in range(img.height):
                pixels[y * img.width:(y + 1) * img.width] = words[y * stride:y * stride + img.width]
            if any(v >> 24 for v in (pixels[0], pixels[-1])):
                pixels = array.array("I", (v & 0xFFFFFF for v in pixels))
            return Shot(img.width, img.height, pixels)
        finally:
            xlib.XDestroyImage(image)

    # input

    def move(self, x, y):
        xtst.XTestFakeMotionEvent(self.dpy, -1, x, y, 0)
        xlib.XSync(self.dpy, 0)

    def button(self, number, press):
        xtst.XTestFakeButtonEvent(self.dpy, number, 1 if press else 0, 0)
        xlib.XSync(self.dpy, 0)

    def key(self, keysym_name):
        code = xlib.XKeysymToKeycode(self.dpy, xlib.XStringToKeysym(keysym_name.encode()))
        check(code, "no key code for %s" % keysym_name)
        xtst.XTestFakeKeyEvent(self.dpy, code, 1, 0)
        xlib.XSync(self.dpy, 0)
        time.sleep(0.02)
        xtst.XTestFakeKeyEvent(self.dpy, code, 0, 0)
        xlib.XSync(self.dpy, 0)

    def focus(self, window):
        xlib.XSetInputFocus(self.dpy, window, 1, 0)  # RevertToPointerRoot, CurrentTime
        xlib.XSync(self.dpy, 0)

    def drag(self, window, button, start, end, step=8, pause=0.01):
        """Presses the button at `start` (window coordinates), moves in small
        steps to `end` and releases it there."""
        ox, oy = self.origin(window)
        x0, y0 = start
        x1, y1 = end
        self.move(ox + x0, oy + y0)
        time.sleep(0.05)
        self.button(button, True)
        time.sleep(0.05)
        steps = max(1, max(abs(x1 - x0), abs(y1 - y0)) // step)
        for i in range(1, steps + 1):
            self.move(ox + x0 + (x1 - x0) * i // steps, oy + y0 + (y1 - y0) * i // steps)
            time.sleep(pause)
        time.sleep(0.05)
        self.button(button, False)
        time.sleep(0.05)

    def client_message(self, window, type_name, data=(), repeat=1):
        event = XEvent()
        event.xclient.type = ClientMessage
        event.xclient.window = window
        event.xclient.message_type = xlib.XInternAtom(self.dpy, type_name.encode(), 0)
        event.xclient.format = 32
        for i, value in enumerate(data):
            event.xclient.data[i] = value
        for _ in range(repeat):
            check(xlib.XSendEvent(self.dpy, window, 0, 0, ctypes.byref(event)), "XSendEvent failed")
        xlib.XSync(self.dpy, 0)

    def close_window(self, window):
        """Asks the window to close the way a window manager does: an ICCCM
        WM_DELETE_WINDOW message under WM_PROTOCOLS."""
        delete = xlib.XInternAtom(self.dpy, b"WM_DELETE_WINDOW", 0)
        self.client_message(window, "WM_PROTOCOLS", (delete, 0))


def open_display():
    """A private Xvfb unless TESSALY_E2E_DISPLAY=existing asks for $DISPLAY:
    tests running side by side on one screen without a window manager would
    stack their windows on each other and spoil each other's screenshots."""
    use_existing = os.environ.get("TESSALY_E2E_DISPLAY") == "existing" and os.environ.get("DISPLAY")
    if not use_existing and not shutil.which("Xvfb"):
        if not os.environ.get("DISPLAY"):
            raise Unavailable("neither Xvfb nor a DISPLAY")
        use_existing = True
    return Display(private=not use_existing)


# --- The viewer process ------------------------------------------------------

class Viewer:
    """The viewer running in `folder`, its stderr collected in a file."""

    def __init__(self, display, command, folder, extra_env=None):
        self.display = display
        self.folder = folder
        env = dict(os.environ)
        env["LIBGL_ALWAYS_SOFTWARE"] = "1"
        env.update(extra_env or {})
        self.stderr_path = os.path.join(folder, "viewer.stderr")
        self._stderr = open(self.stderr_path, "wb")
        self.proc = subprocess.Popen(command, cwd=folder, env=env, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=self._stderr,
                                     preexec_fn=_die_with_parent)
        self.window = None

    def alive(self):
        return self.proc.poll() is None

    def stderr(self):
        self._stderr.flush()
        with open(self.stderr_path, "rb") as fh:
            return fh.read().decode("latin-1")

    def wait_window(self, timeout=60):
        self.window = self.display.wait_window(WINDOW_TITLE, timeout, self.alive)
        check(self.window, "the viewer window did not appear (exit code %s)\n%s"
              % (self.proc.poll(), self.stderr()))
        return self.window

    def wait_exit(self, timeout):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def kill(self):
        if self.alive():
            self.proc.kill()
            self.proc.wait(10)
        self._stderr.close()


def wait_for(what, condition, timeout, interval=0.1):
    """Polls `condition` until it gives a true value; fails after `timeout`."""
    deadline = time.time() + timeout
    last = None
    while time.time() < deadline:
        last = condition()
        if last:
            return last
        time.sleep(interval)
    raise TestFailure("timed out waiting for " + what)


class ShotLog:
    """Saves screenshots as PNG files into a folder kept for inspection."""

    def __init__(self, folder):
        self.folder = folder
        if folder:
            os.makedirs(folder, exist_ok=True)
            for name in os.listdir(folder):  # the last run's pictures
                if name.endswith(".png"):
                    os.remove(os.path.join(folder, name))

    def save(self, shot, name):
        if self.folder:
            shot.save_png(os.path.join(self.folder, name + ".png"))


def temp_folder(prefix):
    return tempfile.mkdtemp(prefix=prefix)
