"""Every installed program starts and stays up with a corrupt settings file, a config
and data folder that cannot be read or created, no fonts, and no sound device."""

import os
import time
from e2e import Failure, run

MAIN_WINDOWS = {
    "Tavolin": "^Tavolin$",
    "Gridlark": "^Tic Tac Toe$",
    "Editor": "^Text Editor$",
    "Mp3": "^Mp3 Player$",
    "Browser": "^Internet Browser$",
    "DVD": "^Controls--MOVIE$",
}
SETTINGS_FILES = ["Norvel", "Text Editor", "DVD Player", "Mp3 Player", "Internet Browser"]


def corrupt_settings(s):
    folder = os.path.join(s.env["XDG_CONFIG_HOME"], "tavolin")
    os.makedirs(folder, exist_ok=True)
    for name in SETTINGS_FILES:
        with open(os.path.join(folder, name + ".ini"), "wb") as f:
            f.write(b"\xff\xfe[Tav\x00olin\nApps===\n[[[Settings\nMainLeft=-99999999999999999999\n" + os.urandom(256))


def unreadable_folders(s):
    # Root reads any folder whatever its mode, so the folders are made impossible instead:
    # each path names a plain file.
    for key in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"):
        blocker = os.path.join(s.root, key.lower() + "-is-a-file")
        open(blocker, "w").close()
        s.env[key] = blocker


def no_fonts(s):
    conf = os.path.join(s.root, "fonts.conf")
    with open(conf, "w") as f:
        f.write('<?xml version="1.0"?><fontconfig><dir>/nonexistent</dir>'
                '<cachedir>%s</cachedir></fontconfig>' % os.path.join(s.root, "fc-cache"))
    s.env["FONTCONFIG_FILE"] = conf


def no_sound(s):
    s.env["PULSE_SERVER"] = "unix:/nonexistent/pulse"
    s.env["ALSA_CONFIG_PATH"] = os.path.join(s.root, "no-alsa.conf")
    open(s.env["ALSA_CONFIG_PATH"], "w").close()


CONDITIONS = [("corrupt settings", corrupt_settings), ("unreadable folders", unreadable_folders),
              ("no fonts", no_fonts), ("no sound device", no_sound)]


def hostile_start(s):
    installed = [p for p in MAIN_WINDOWS if os.path.exists(os.path.join(s.prefix, "bin", p))]
    if "Tavolin" not in installed:
        raise Failure("the suite is not installed")
    clean_env = dict(s.env)
    for label, prepare in CONDITIONS:
        s.env = dict(clean_env)
        prepare(s)
        for program in installed:
            proc = s.start(program)
            try:
                s.wait_window(name=MAIN_WINDOWS[program], timeout=20)
            except Failure:
                raise Failure("%s showed no window with %s" % (program, label))
            time.sleep(1.0)
            if proc.poll() is not None:
                raise Failure("%s ended (code %s) with %s" % (program, proc.returncode, label))
            proc.terminate()
            proc.wait(10)


if __name__ == "__main__":
    run(hostile_start)
