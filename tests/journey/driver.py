"""Drives korvane on its own Xvfb display by XTest input (xdotool); results are read from outside."""

import ctypes
import glob
import json
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

APP_NAME = "Korvane PC编程软件"


class JourneyFailure(AssertionError):
    pass


# The running journey's processes: time they spend blocked on the disk (a save syncs) does not count.
PROGRAMS = []
MOST_EXTRA = 300.0


def blocked_on_disk():
    for stat in (path for proc in PROGRAMS for path in glob.glob("/proc/%d/task/*/stat" % proc.pid)):
        try:
            with open(stat) as text:
                if text.read().rsplit(")", 1)[1].split()[0] == "D":
                    return True
        except OSError:
            pass  # the thread ended
    return False


def wait_for(condition, what, timeout=30.0, step=0.1):
    """Polls condition() until true; time blocked on the disk or stalled is added, up to MOST_EXTRA s."""
    end = time.monotonic() + timeout
    extra = 0.0
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            raise JourneyFailure("timed out waiting for " + what)
        before = time.monotonic()
        time.sleep(step)
        held = time.monotonic() - before
        if extra < MOST_EXTRA and (held > step + 1.0 or blocked_on_disk()):
            extra += held
            end += held


def check(condition, what):
    if not condition:
        raise JourneyFailure(what)


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]


def send_delete_window(display, window):
    """Asks a window to close as a window manager's close box does."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    dpy = ctypes.c_void_p(x11.XOpenDisplay(display.encode()))
    check(dpy.value, "cannot open display " + display)
    event = _ClientMessage(type=33, send_event=1, window=window, format=32)  # ClientMessage
    event.message_type = x11.XInternAtom(dpy, b"WM_PROTOCOLS", 0)
    event.data[0] = x11.XInternAtom(dpy, b"WM_DELETE_WINDOW", 0)
    x11.XSendEvent(dpy, ctypes.c_ulong(window), 0, 0, ctypes.byref(event))
    x11.XFlush(dpy)
    x11.XCloseDisplay(dpy)


class Session:
    """One journey's world: a display, simulated radios, isolated folders and the program."""

    def __init__(self, tools, name):
        self.tools = tools
        self.dir = tempfile.mkdtemp(prefix="journey-%s-" % name)
        PROGRAMS.clear()
        self.procs = PROGRAMS
        self.env = dict(os.environ)
        for var, sub in (("HOME", "home"), ("XDG_CONFIG_HOME", "config"), ("XDG_DATA_HOME", "data"),
                         ("XDG_RUNTIME_DIR", "runtime")):
            self.env[var] = self.path(sub)
            os.makedirs(self.env[var], mode=0o700)
        self.env["QT_QPA_PLATFORM"] = "xcb"
        for var in ("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "WAYLAND_DISPLAY", "SESSION_MANAGER"):
            self.env.pop(var, None)
        self.main, self.faults = None, []
        self.sim_log, self.sim_memory = self.path("radio1.log"), self.path("radio1.rdw")

    def path(self, name):
        return os.path.join(self.dir, name)

    def expect(self, condition, what):
        """A check the journey goes on from: every failed one is reported at the end."""
        if not condition and what not in self.faults:
            print("  FAULT:", what, flush=True)
            self.faults.append(what)

    def __enter__(self):
        read_fd, write_fd = os.pipe()
        self.procs.append(subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24",
                                            "-nolisten", "tcp", "-noreset"], pass_fds=(write_fd,),
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        check(number, "Xvfb did not start")
        self.display = self.env["DISPLAY"] = ":" + number
        return self

    def __exit__(self, kind, *_):
        failed = kind or self.faults
        if failed:
            subprocess.run(["import", "-window", "root", self.path("failure.png")], env=self.env, capture_output=True)
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(10)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        if not failed:
            shutil.rmtree(self.dir, ignore_errors=True)
            return False
        print("journey files kept in", self.dir)
        if not kind:
            raise JourneyFailure("%d fault(s): %s" % (len(self.faults), "; ".join(self.faults)))
        return False

    def start_radio(self, *options, port=1):
        """A simulated radio on COMn, its log and memory file radioN.log and radioN.rdw; a model 0 unless told."""
        link = self.path("com%d" % port)
        args = [self.tools["sim"], "--link", link, "--log", self.path("radio%d.log" % port),
                "--save", self.path("radio%d.rdw" % port)]
        if "--model" not in options and "--file" not in options:
            args += ["--model", "0"]
        proc = subprocess.Popen(args + list(options), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.procs.append(proc)
        wait_for(lambda: os.path.exists(link), "the simulated radio's link")
        self.env["KORVANE_COM%d" % port] = link
        return proc

    def stop_radio(self, proc):
        proc.send_signal(signal.SIGTERM)
        wait_for(lambda: proc.poll() is not None, "the simulated radio to end")

    def launch(self, *radio_options):
        """A simulated radio on COM1 (returned) and korvane."""
        radio = self.start_radio(*radio_options)
        self.start()
        return radio

    def start(self, *args):
        """Starts korvane, waits through the splash and returns the main window's id."""
        self.splash_seen = False
        for attempt in range(3):
            self.app = subprocess.Popen([self.tools["korvane"]] + list(args), env=self.env, cwd=self.dir,
                                        stdout=open(self.path("korvane.out"), "ab"), stderr=subprocess.STDOUT)
            self.procs.append(self.app)
            self.main = wait_for(self._main_after_splash, "the main window", 90, 0.05)
            if self.main > 0:
                break
            out = open(self.path("korvane.out"), errors="replace").read()
            check("connect to display" in out and attempt < 2, "korvane stopped at start: " + out[-500:])
        self.focus(self.main)
        return self.main

    def _main_after_splash(self):
        if self.app.poll() is not None:
            return -1
        # One look at every window: xdotool's search is too slow to catch a short splash.
        tree = subprocess.run(["xwininfo", "-root", "-tree"], env=self.env, capture_output=True, text=True).stdout
        shown = []
        for line in tree.splitlines():
            found = re.match(r'\s*(0x[0-9a-f]+) "(.*)": \("korvane" "korvane"\)\s+(\d+)x(\d+)\+', line)
            if found and int(found.group(3)) > 50 and "IsViewable" in subprocess.run(
                    ["xwininfo", "-id", found.group(1)], env=self.env, capture_output=True, text=True).stdout:
                shown.append((int(found.group(1), 16), found.group(2), int(found.group(3))))
        # The untitled splash comes first; a box (a file that cannot be opened) may stand beside the main.
        splash = [win for win, title, width in shown if width < 700 and title in ("", "korvane")]
        self.splash_seen |= bool(splash)
        main = [win for win, title, width in shown if title.endswith(APP_NAME) and width >= 700]
        return main[0] if main and not splash else None

    def wait_exit(self, timeout=30):
        wait_for(lambda: self.app.poll() is not None, "korvane to end", timeout)
        return self.app.returncode

    def xdo(self, *args, ok_fail=False):
        for attempt in range(5):
            done = subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, capture_output=True,
                                  text=True)
            if done.returncode == 0 or ok_fail or "open display" not in done.stderr:
                break
            time.sleep(0.5)
        if done.returncode and not ok_fail:
            raise JourneyFailure("xdotool %s: %s" % (" ".join(map(str, args)), done.stderr.strip()))
        return done.stdout.strip()

    def windows(self, regex):
        return [int(w) for w in self.xdo("search", "--onlyvisible", "--name", regex, ok_fail=True).split()]

    def window(self, regex, what=None, timeout=30):
        """Waits for one shown window whose title matches regex (other than the main window)."""
        return wait_for(lambda: [w for w in self.windows(regex) if w != self.main], what or regex, timeout)[-1]

    def gone(self, win, what, timeout=30):
        wait_for(lambda: win not in self.windows("."), what + " to close", timeout)

    def caption(self, win=None):
        return self.xdo("getwindowname", win or self.main, ok_fail=True)

    def geometry(self, win):
        out = self.xdo("getwindowgeometry", "--shell", win, ok_fail=True)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return tuple(int(values.get(k, 0)) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def focus(self, win):
        self.xdo("windowfocus", "--sync", win)

    def key(self, *keys, win=None):
        self.focus(win or self.main)
        self.xdo("key", "--delay", 60, *keys)

    def type(self, text, win=None):
        self.focus(win or self.main)
        self.xdo("type", "--delay", 60, text)

    def click(self, x, y, win=None, button=1, times=1):
        """Clicks at (x, y) inside win (the main window when not given)."""
        self.xdo("mousemove", "--window", win or self.main, x, y, "click", "--repeat", times, "--delay", 120,
                 button)

    def click_button(self, win, from_right, from_bottom):
        """Clicks a point given by its distance from the window's bottom-right corner."""
        _, _, width, height = self.geometry(win)
        self.click(width - from_right, height - from_bottom, win=win)

    def close_request(self, win=None):
        send_delete_window(self.display, win or self.main)

    def menu(self, letter, *keys):
        """Opens a main-window menu by its Alt accelerator and presses keys in it."""
        self.key("alt+" + letter)
        wait_for(self.popup, "the menu to open", 10)
        if keys:
            self.xdo("key", "--delay", 80, *keys)

    def popup(self):
        """A shown drop-down or menu: a window without a title, other than the root window."""
        shown = [w for w in self.windows("^$") if w != self.main and 0 < self.geometry(w)[2] < 1280]
        return shown[-1] if shown else None

    def painted(self, name):
        """True once a PNG of the main window holds more than a few colours (not a blank window)."""
        path, (x, y, width, height) = self.path(name), self.geometry(self.main)
        subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (width, height, x, y), "+repage",
                        path], env=self.env, capture_output=True)
        return int(subprocess.run(["identify", "-format", "%k", path], capture_output=True, text=True).stdout or 0) > 16

    def box(self, title, timeout=30):
        return self.window("^" + re.escape(title) + "( |$)", "box " + title, timeout)

    def answer(self, title, *steps, timeout=30):
        """Works the box titled title (a text typed, a tuple of keys pressed; no steps: Return) until it closes."""
        win = self.box(title, timeout)
        for step in steps or (("Return",),):
            if isinstance(step, str):
                self.type(step, win=win)
            else:
                self.key(*step, win=win)
        self.gone(win, "box " + title)

    def cli(self, *args):
        done = subprocess.run([self.tools["cli"]] + [str(a) for a in args], env=self.env, capture_output=True,
                              text=True)
        check(done.returncode == 0, "korvane-cli %s: %s" % (" ".join(map(str, args)), done.stderr))
        return done

    def dump(self, path):
        wait_for(lambda: os.path.exists(path) and os.path.getsize(path) > 0, path + " to be written")
        return json.loads(self.cli("dump", path).stdout)

    def log_text(self):
        return open(self.sim_log, errors="replace").read() if os.path.exists(self.sim_log) else ""
