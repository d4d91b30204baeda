"""What a user of an X desktop has: a window manager, a screen to look at, a
keyboard and a mouse. Real X events through xdotool (XTEST), screenshots through
ImageMagick's import; nothing here looks inside the program."""

import signal
import struct
import subprocess
import time
import zlib


class Timeout(AssertionError):
    pass


def wait_for(what, condition, timeout, interval=0.1):
    """The first true value of condition(), polled until timeout seconds passed."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Timeout(f"gave up after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


def run(*args, check=True, timeout=30):
    try:
        done = subprocess.run(args, capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Timeout(f"{' '.join(args)} did not finish within {timeout} s")
    if check and done.returncode != 0:
        raise AssertionError(f"{' '.join(args)} failed: {done.stderr.strip()}")
    return done


def xdotool(*args, check=True):
    return run("xdotool", *[str(a) for a in args], check=check)


class Image:
    """An RGB screenshot or a part of one: bytes, three per pixel, row by row."""

    def __init__(self, width, height, data, left=0, top=0):
        self.width, self.height, self.data = width, height, data
        self.left, self.top = left, top  # where the part lies on the screen

    def pixel(self, x, y):
        """The colour at screen position (x, y) as 0xRRGGBB."""
        i = ((y - self.top) * self.width + (x - self.left)) * 3
        return int.from_bytes(self.data[i : i + 3], "big")

    def row(self, y, x0=None, x1=None):
        """The bytes of screen row y from column x0 up to, not including, x1."""
        x0 = self.left if x0 is None else x0
        x1 = self.left + self.width if x1 is None else x1
        start = ((y - self.top) * self.width + (x0 - self.left)) * 3
        return self.data[start : start + (x1 - x0) * 3]

    def crop(self, left, top, width, height):
        left, top = max(left, self.left), max(top, self.top)
        width = min(width, self.left + self.width - left)
        height = min(height, self.top + self.height - top)
        rows = b"".join(self.row(y, left, left + width) for y in range(top, top + height))
        return Image(width, height, rows, left, top)

    def __eq__(self, other):
        return (self.width, self.height, self.data) == (other.width, other.height, other.data)

    def find(self, colour, x0=None, x1=None, y0=None, y1=None):
        """Screen positions of every pixel of one colour inside the given bounds."""
        x0 = self.left if x0 is None else max(x0, self.left)
        x1 = self.left + self.width if x1 is None else min(x1, self.left + self.width)
        y0 = self.top if y0 is None else max(y0, self.top)
        y1 = self.top + self.height if y1 is None else min(y1, self.top + self.height)
        needle = colour.to_bytes(3, "big")
        found = []
        for y in range(y0, y1):
            line = self.row(y, x0, x1)
            i = line.find(needle)
            while i >= 0:
                if i % 3 == 0:
                    found.append((x0 + i // 3, y))
                    i = line.find(needle, i + 3)
                else:
                    i = line.find(needle, i + 1)
        return found

    def save_png(self, path):
        raw = b"".join(
            b"\0" + self.data[y * self.width * 3 : (y + 1) * self.width * 3]
            for y in range(self.height)
        )

        def chunk(kind, body):
            return (
                struct.pack(">I", len(body))
                + kind
                + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
            )

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n")
            out.write(chunk(b"IHDR", header))
            out.write(chunk(b"IDAT", zlib.compress(raw, 1)))
            out.write(chunk(b"IEND", b""))


def read_ppm(data):
    """A binary PPM with 8-bit samples."""
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos : pos + 1].isspace():
            pos += 1
        if data[pos : pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end : end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    magic, width, height, maxval = fields[0], int(fields[1]), int(fields[2]), int(fields[3])
    if magic != b"P6" or maxval != 255:
        raise AssertionError(f"unexpected screenshot format {magic!r} {maxval}")
    pixels = data[pos + 1 : pos + 1 + width * height * 3]
    return Image(width, height, pixels)


def screenshot():
    """The whole screen as it is now."""
    try:
        done = subprocess.run(
            ["import", "-window", "root", "-depth", "8", "ppm:-"], capture_output=True, timeout=30
        )
    except subprocess.TimeoutExpired:
        raise Timeout("import took more than 30 s for a screenshot")
    if done.returncode != 0:
        raise AssertionError(f"import failed: {done.stderr.decode(errors='replace').strip()}")
    return read_ppm(done.stdout)


class WindowManager:
    """openbox on the X server named by DISPLAY, ready when it answers the
    desktop questions of the window-manager protocol. An openbox that could
    not reach the display (now and then, on a busy machine, right after the
    server came up) is started again."""

    def __init__(self, log_path):
        self.log = open(log_path, "w")
        self.process = None

        def ready():
            if self.process is None or self.process.poll() is not None:
                self.process = subprocess.Popen(
                    ["openbox", "--sm-disable"], stdout=self.log, stderr=subprocess.STDOUT
                )
                return False
            return xdotool("get_num_desktops", check=False).returncode == 0

        wait_for("the window manager", ready, timeout=60, interval=0.25)

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.log.close()


class Geometry:
    def __init__(self, x, y, width, height):
        self.x, self.y, self.width, self.height = x, y, width, height

    @property
    def right(self):
        return self.x + self.width

    @property
    def bottom(self):
        return self.y + self.height

    def __eq__(self, other):
        return (self.x, self.y, self.width, self.height) == (
            other.x, other.y, other.width, other.height)

    def __repr__(self):
        return f"{self.width}x{self.height}+{self.x}+{self.y}"


def shell_values(done):
    """NAME=number lines of xdotool's --shell output."""
    if done.returncode != 0:
        return None
    pairs = (line.split("=", 1) for line in done.stdout.split() if "=" in line)
    return {k: int(v) for k, v in pairs if v.lstrip("-").isdigit()}


class Window:
    """A top-level window as the X server knows it."""

    def __init__(self, wid):
        self.wid = wid

    def name(self):
        done = xdotool("getwindowname", self.wid, check=False)
        return done.stdout.rstrip("\n") if done.returncode == 0 else None

    def geometry(self):
        """The window's inside (without the frame) in screen coordinates. The
        size is xdotool's; its position counts the frame's offset twice under a
        reparenting window manager, so the position is where the pointer lands
        when it is put on the window's own corner."""
        size = shell_values(xdotool("getwindowgeometry", "--shell", self.wid, check=False))
        corner = shell_values(
            xdotool("mousemove", "--window", self.wid, 0, 0, "getmouselocation", "--shell",
                    check=False)
        )
        if not size or not corner:
            return None
        return Geometry(corner["X"], corner["Y"], size["WIDTH"], size["HEIGHT"])

    def mapped(self):
        done = xdotool("search", "--onlyvisible", "--name", ".", check=False)
        return str(self.wid) in done.stdout.split()

    def activate(self):
        xdotool("windowactivate", "--sync", self.wid, check=False)
        wait_for("the window to have the focus", lambda: self.has_focus(), timeout=10)

    def has_focus(self):
        done = xdotool("getactivewindow", check=False)
        return done.returncode == 0 and done.stdout.strip() == str(self.wid)

    def resize(self, width, height):
        """Asks for a size; the window manager keeps to the window's limits."""
        xdotool("windowsize", self.wid, width, height, check=False)


def find_window(pid, title_end, timeout):
    """The visible window of process pid whose title ends as given."""

    def look():
        done = xdotool("search", "--onlyvisible", "--pid", pid, check=False)
        for wid in done.stdout.split():
            window = Window(wid)
            name = window.name()
            if name and name.endswith(title_end):
                return window
        return None

    return wait_for(f"a window titled '...{title_end}'", look, timeout)


def key(*names):
    """Keys pressed and released one after the other, to the focused window."""
    xdotool("key", "--delay", 80, *names)


def move(x, y):
    # Not --sync: that waits for ever when the pointer is there already.
    xdotool("mousemove", x, y)


def click(x, y, button=1):
    xdotool("mousemove", x, y, "click", button)


def wheel(places, notches=1):
    """Wheel notches at each of some places in turn; positive ones scroll down."""
    button = 5 if notches > 0 else 4
    steps = []
    for x, y in places:
        steps += ["mousemove", x, y, "click", "--repeat", abs(notches), "--delay", 100, button]
        steps += ["sleep", 0.05]
    xdotool(*steps)
