"""The MP3 player's main path: Open, a file chosen in the file dialog by typing its path,
Pause and Play, Back, Close, a file that is no MP3 at all (the media layer's own error
text in a box titled "Mp3 Player"), and Exit ending the program.

Button captions and enabled states are read as a user reads them: from what the
button shows ("Pause" or "Play", black or greyed text), compared with how the same
button looked before."""

import os
import subprocess
import time
from e2e import Failure, px, run

WINDOW = (px(4425), px(1230))
# Client twips: left, top, width, height.
OPEN = (120, 120, 975, 375)
CLOSE = (1200, 120, 975, 375)
PAUSE = (120, 600, 975, 375)
BACK = (1200, 600, 975, 375)
EXIT = (2400, 600, 975, 375)


def make_mp3(path, seconds):
    subprocess.run(["ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
                    "-f", "lavfi", "-i", "sine=frequency=440:duration=%d:sample_rate=44100" % seconds,
                    "-ac", "2", "-c:a", "libmp3lame", "-b:a", "128k", path], check=True)


def face(s, wid, rect):
    """What the button shows: its inner area (inside the frame and focus mark), as pixels."""
    s.x("mousemove", "1200", "1000")   # away from the buttons: no hover highlight
    time.sleep(0.3)
    return s.pixels(wid, rect, inset=5)


def other_windows(s, pid, main):
    # The search also names the root window, which has no title.
    return [w for w in s.windows_of(pid) if w != main and s.title(w)]


def choose_in_dialog(s, pid, main, path):
    """Types the path into the file dialog's file-name box and presses Return."""
    dialog = s.wait_for(lambda: other_windows(s, pid, main), 10, "the file dialog")[0]
    time.sleep(0.5)
    s.type(dialog, path)
    s.key(dialog, "Return")
    s.wait_for(lambda: dialog not in other_windows(s, pid, main), 5, "the file dialog to close")


def expect_no_new_window(s, pid, main, seconds, what):
    s.never(lambda: other_windows(s, pid, main), seconds, what)


def mp3_main_path(s):
    music = os.path.join(s.home, "My Music")
    os.makedirs(music)
    song = os.path.join(music, "a tone.mp3")
    make_mp3(song, 4)
    not_mp3 = os.path.join(music, "notes.mp3")
    with open(not_mp3, "w") as f:
        f.write("These are notes, not music.\n" * 40)

    player = s.start("Mp3")
    main = s.wait_window(name="^Mp3 Player$", size=WINDOW)
    if s.geometry(main)[:2] != (px(345), px(630)):
        raise Failure("the player is at %s, not at its fixed place" % (s.geometry(main)[:2],))
    pid = player.pid

    open_idle, pause_idle = face(s, main, OPEN), face(s, main, PAUSE)

    # Open, and the song chosen by typing its path.
    s.click(main, *OPEN)
    choose_in_dialog(s, pid, main, song)
    expect_no_new_window(s, pid, main, 1.5, "a message came up for a playable MP3")
    if face(s, main, OPEN) == open_idle:
        raise Failure("Open still looks enabled while a file is loaded")
    pause_playing = face(s, main, PAUSE)
    if pause_playing == pause_idle:
        raise Failure("Pause still looks disabled while the file plays")
    s.click(main, *OPEN)   # disabled: no second dialog
    expect_no_new_window(s, pid, main, 1.0, "Open offered a second file while one is loaded")

    # Pause reads "Play" while paused, "Pause" again after Play and after Back.
    s.click(main, *PAUSE)
    pause_paused = face(s, main, PAUSE)
    if pause_paused == pause_playing:
        raise Failure("the Pause button did not change its caption when paused")
    s.click(main, *PAUSE)
    if face(s, main, PAUSE) != pause_playing:
        raise Failure("Play did not bring the caption back to Pause")
    s.click(main, *PAUSE)
    if face(s, main, PAUSE) != pause_paused:
        raise Failure("the second pause looks different from the first")
    s.click(main, *BACK)
    if face(s, main, PAUSE) != pause_playing:
        raise Failure("Back did not bring the caption back to Pause")

    # Close: back to the idle buttons.
    s.click(main, *CLOSE)
    if face(s, main, OPEN) != open_idle or face(s, main, PAUSE) != pause_idle:
        raise Failure("Close did not bring back the idle buttons")

    # A file that is no MP3: the media layer's error text, titled with the program title.
    s.click(main, *OPEN)
    choose_in_dialog(s, pid, main, not_mp3)
    box = s.wait_for(lambda: [w for w in other_windows(s, pid, main) if s.title(w) == "Mp3 Player"],
                     10, "the error box titled Mp3 Player")[0]
    time.sleep(0.3)
    s.key(box, "Return")
    s.wait_for(lambda: not other_windows(s, pid, main), 5, "the error box to close")
    if face(s, main, PAUSE) != pause_playing:
        raise Failure("after a refused open the buttons are not those of a loaded file")
    s.click(main, *CLOSE)
    if face(s, main, OPEN) != open_idle:
        raise Failure("Close after a refused open did not enable Open")

    # The song once more, and Exit while it plays.
    s.click(main, *OPEN)
    choose_in_dialog(s, pid, main, song)
    expect_no_new_window(s, pid, main, 1.0, "a message came up for a playable MP3")
    s.click(main, *EXIT)
    s.wait_for(lambda: player.poll() is not None, 10, "the player to end after Exit")
    if player.returncode != 0:
        raise Failure("the player ended with code %d" % player.returncode)
    if s.windows(name="^Mp3 Player$"):
        raise Failure("a player window is left after Exit")


if __name__ == "__main__":
    run(mp3_main_path)
