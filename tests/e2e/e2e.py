"""Drives the installed programs as a user would: real executables on an X display,
xdotool for the mouse and keys, and checks of what a user sees (windows, message boxes,
files written, the settings store).

Each test gets its own $HOME and XDG folders and its own installation of the suite,
made by `cmake --install` from the build folder."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

TWIPS_PER_PIXEL = 15


def px(twips):
    return int(round(twips / TWIPS_PER_PIXEL))


class Failure(Exception):
    pass


class Session:
    def __init__(self, build_dir):
        self.build_dir = os.path.abspath(build_dir)
        self.root = tempfile.mkdtemp(prefix="tavolin-e2e-")
        self.prefix = os.path.join(self.root, "prefix")
        self.home = os.path.join(self.root, "home")
        for sub in ("home", "config", "data", "runtime", "cache"):
            os.makedirs(os.path.join(self.root, sub), exist_ok=True)
        os.chmod(os.path.join(self.root, "runtime"), 0o700)
        self.env = dict(os.environ)
        self.env.update({
            "HOME": self.home,
            "XDG_CONFIG_HOME": os.path.join(self.root, "config"),
            "XDG_DATA_HOME": os.path.join(self.root, "data"),
            "XDG_CACHE_HOME": os.path.join(self.root, "cache"),
            "XDG_RUNTIME_DIR": os.path.join(self.root, "runtime"),
            "XDG_DATA_DIRS": os.path.join(self.root, "no-system-data"),
        })
        self.env.pop("QT_QPA_PLATFORM", None)   # a real X display
        self.processes = []
        self.xvfb = None
        if not self.env.get("DISPLAY"):
            self._start_xvfb()
        self._install()

    # ---- set-up and tear-down

    def _start_xvfb(self):
        for n in range(150, 200):
            if not os.path.exists("/tmp/.X11-unix/X%d" % n) and not os.path.exists("/tmp/.X%d-lock" % n):
                display = ":%d" % n
                break
        self.xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.env["DISPLAY"] = display
        self.wait_for(lambda: subprocess.run(["xdpyinfo"], env=self.env, capture_output=True).returncode == 0,
                      5, "the X server")

    def _install(self):
        result = subprocess.run(["cmake", "--install", self.build_dir, "--prefix", self.prefix],
                                capture_output=True, text=True)
        if result.returncode != 0:
            raise Failure("cmake --install failed:\n" + result.stdout + result.stderr)

    def close(self):
        for p in self.processes:
            if p.poll() is None:
                p.kill()
                p.wait()
        # Programs that the programs started (the game from the launcher's folder view).
        subprocess.run(["pkill", "-KILL", "-f", self.prefix + "/bin/"], capture_output=True)
        if self.xvfb:
            self.xvfb.kill()
            self.xvfb.wait()
        shutil.rmtree(self.root, ignore_errors=True)

    # ---- programs

    def start(self, program):
        p = self._start_once(program)
        # A program that could not reach the X server at once (it was busy accepting other
        # clients) gets one more try; anything else it says stands.
        time.sleep(0.3)
        if p.poll() is not None:
            with open(p.log_path, "rb") as log:
                if b"could not connect to display" in log.read():
                    time.sleep(1)
                    p = self._start_once(program)
        return p

    def _start_once(self, program):
        # The program's output goes to a file: a pipe nobody drains would stop a talkative
        # program (the web engine's start-up report, say) once it filled up.
        log_path = os.path.join(self.root, "%s-%d.log" % (program, len(self.processes)))
        with open(log_path, "wb") as log:
            p = subprocess.Popen([os.path.join(self.prefix, "bin", program)], env=self.env,
                                 stdout=log, stderr=subprocess.STDOUT, cwd=self.home)
        p.log_path = log_path
        self.processes.append(p)
        return p

    def pids_of(self, program):
        out = subprocess.run(["pgrep", "-f", os.path.join(self.prefix, "bin", program)],
                             capture_output=True, text=True).stdout
        return [int(x) for x in out.split()]

    # ---- windows

    def x(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True).stdout.strip()

    def windows(self, name=None, cls=None, visible=True):
        args = ["search"]
        if visible:
            args.append("--onlyvisible")
        if name is not None:
            args += ["--name", name]
        else:
            args += ["--class", cls]
        return [int(w) for w in self.x(*args).split()]

    def windows_of(self, pid):
        """The process's visible windows (the search also names the root window)."""
        return [int(w) for w in self.x("search", "--onlyvisible", "--pid", str(pid), "").split()]

    def title(self, wid):
        return self.x("getwindowname", str(wid))

    def geometry(self, wid):
        out = subprocess.run(["xwininfo", "-id", str(wid)], env=self.env, capture_output=True, text=True).stdout
        grab = lambda key: int(re.search(key + r":\s+(-?\d+)", out).group(1))
        return grab("Absolute upper-left X"), grab("Absolute upper-left Y"), grab("Width"), grab("Height")

    def wait_for(self, condition, timeout, what):
        deadline = time.time() + timeout
        while time.time() < deadline:
            value = condition()
            if value:
                return value
            time.sleep(0.05)
        raise Failure("timed out waiting for " + what)

    def never(self, condition, seconds, what):
        """Fails with `what` if the condition comes true within the given time."""
        deadline = time.time() + seconds
        while time.time() < deadline:
            if condition():
                raise Failure(what)
            time.sleep(0.1)

    def wait_window(self, name=None, cls=None, size=None, timeout=10):
        def find():
            for w in self.windows(name=name, cls=cls):
                if size is None or self.geometry(w)[2:] == tuple(size):
                    return w
            return None
        wid = self.wait_for(find, timeout, "window %s" % (name or cls))
        time.sleep(0.4)   # let the program finish its first paint before input arrives
        return wid

    def click(self, wid, left_twips, top_twips, width_twips=0, height_twips=0, double=False):
        """Clicks the centre of a rectangle given in the window's client twips."""
        x, y, _, _ = self.geometry(wid)
        cx = x + px(left_twips + width_twips / 2)
        cy = y + px(top_twips + height_twips / 2)
        self.x("mousemove", "--sync", str(cx), str(cy))
        time.sleep(0.05)
        self.x("click", "--repeat", "2" if double else "1", "--delay", "80", "1")
        time.sleep(0.1)

    def key(self, wid, *keys):
        self.x("windowactivate", "--sync", str(wid))
        self.x("windowfocus", "--sync", str(wid))
        self.x("key", "--clearmodifiers", *keys)
        time.sleep(0.1)

    def type(self, wid, text):
        self.x("windowfocus", "--sync", str(wid))
        self.x("type", "--delay", "20", text)

    def pixels(self, wid, rect, inset=0):
        """The screen's pixels in a rectangle of the window's client twips (left, top, width,
        height), less `inset` pixels on each side."""
        x, y, _, _ = self.geometry(wid)
        left, top, width, height = (px(v) for v in rect)
        crop = "%dx%d+%d+%d" % (width - 2 * inset, height - 2 * inset, x + left + inset, y + top + inset)
        out = subprocess.run(["import", "-window", "root", "-crop", crop, "-depth", "8", "rgb:-"],
                             env=self.env, capture_output=True).stdout
        if not out:
            raise Failure("could not read the screen")
        return out

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env, capture_output=True)

    # ---- files

    def config_file(self, application):
        return os.path.join(self.env["XDG_CONFIG_HOME"], "tavolin", application + ".ini")


def run(test, build_dir=None):
    """Runs test(session); prints one closing line for the test runner."""
    build_dir = build_dir or (sys.argv[1] if len(sys.argv) > 1 else "build")
    session = Session(build_dir)
    try:
        test(session)
    except Exception as error:
        shot = os.path.join(tempfile.gettempdir(), "tavolin-e2e-failure-%s.png" % test.__name__)
        session.screenshot(shot)
        print("FAIL %s: %s (screen: %s)" % (test.__name__, error, shot))
        for p in session.processes:
            with open(p.log_path, "rb") as log:
                tail = log.read()[-2000:].decode(errors="replace")
            print("--- %s (%s)\n%s" % (p.args[0], "running" if p.poll() is None else "ended %s" % p.returncode, tail))
        print("0 passed, 1 failed")
        session.close()
        sys.exit(1)
    session.close()
    print("PASS %s" % test.__name__)
    print("1 passed, 0 failed")
