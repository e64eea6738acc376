"""What the DVD player's end-to-end tests share: the panel's buttons, the windows'
sizes, the disc setting and a close box for a desktop without a window manager."""

import ctypes
import os
import subprocess
import time
from e2e import Failure, px

VIDEO_TITLE = "^Varrow's DVD Player$"
PANEL_TITLE = "^Controls--MOVIE$"
VIDEO_SIZE = (px(9465), px(6840))
PANEL_SIZE = (px(4680), px(1320))
# The panel's controls, client twips: left, top, width, height.
PLAY = (1920, 120, 735, 255)
SCENE_NEXT = (1920, 480, 735, 255)
OPEN_DVD_WINDOW = (1920, 840, 2415, 255)
DISPLAY_LABEL = (0, 240, 1575, 255)
SOURCE_DIR = os.path.dirname(os.path.abspath(__file__))


def set_device(s, device):
    """Points the player at a drive, an image or a VIDEO_TS folder, as the settings store holds it."""
    folder = os.path.join(s.env["XDG_CONFIG_HOME"], "tavolin")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "DVD Player.ini"), "w") as f:
        f.write("[Drive]\nDevice=%s\n" % device)


def test_disc(s):
    """The disc the build authored (tavolin_test_dvd), else one authored now."""
    built = os.path.join(s.build_dir, "fixtures", "testdisc")
    if os.path.exists(os.path.join(built, "VIDEO_TS", "VIDEO_TS.IFO")):
        return built
    disc = os.path.join(s.root, "testdisc")
    script = os.path.join(SOURCE_DIR, "..", "fixtures", "dvd", "make-test-dvd.sh")
    subprocess.run(["sh", script, disc], check=True, capture_output=True)
    return disc


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]


def close_box(s, wid):
    """What the window's close box does under a window manager: WM_DELETE_WINDOW."""
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(s.env["DISPLAY"].encode())
    if not display:
        raise Failure("cannot open the display")
    try:
        event = _ClientMessage()
        event.type = 33   # ClientMessage
        event.window = wid
        event.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.format = 32
        event.l[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.l[1] = 0    # CurrentTime
        x11.XSendEvent(display, wid, 0, 0, ctypes.byref(event))
        x11.XFlush(display)
    finally:
        x11.XCloseDisplay(display)
    time.sleep(0.2)


def message_boxes(s, pid):
    """The program's visible windows titled with its program title."""
    return [w for w in s.windows_of(pid) if s.title(w) == "DVD Player"]


def no_message_for(s, pid, seconds, what):
    s.never(lambda: message_boxes(s, pid), seconds, what)


def start_player(s):
    """Starts DVD; returns the process, the video window and the panel."""
    player = s.start("DVD")
    started = time.time()
    video = s.wait_window(name=VIDEO_TITLE, size=VIDEO_SIZE, timeout=15)
    panel = s.wait_window(name=PANEL_TITLE, size=PANEL_SIZE, timeout=15)
    # The panel sits a quarter of the way across and two thirds of the way down.
    screen_w, screen_h = (int(v) for v in s.x("getdisplaygeometry").split())
    x, y, _, _ = s.geometry(panel)
    if abs(x - screen_w / 4) > 1 or abs(y - screen_h / 1.5) > 1:
        raise Failure("the panel is at %d,%d on a %dx%d screen" % (x, y, screen_w, screen_h))
    # With no window manager the two may overlap; keep the video window clear of the panel.
    vx, vy, vw, vh = s.geometry(video)
    if vy + vh > y and vx < x + PANEL_SIZE[0] and vx + vw > x:
        s.x("windowmove", "--sync", str(video), "0", "0")
    return player, video, panel, started
