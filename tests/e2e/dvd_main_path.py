"""The DVD player's main path on the authored test disc: both windows come up, "Play >"
plays, the 10-second refresh writes the chapter into the panel's caption, "Scene >"
moves on, the video window closed with its close box comes back through "Open DVD
Window", and closing the panel ends the program."""

import re
import time
from e2e import Failure, run
from dvd_windows import (OPEN_DVD_WINDOW, PLAY, SCENE_NEXT, VIDEO_SIZE, VIDEO_TITLE, close_box,
                         no_message_for, set_device, start_player, test_disc)

REFRESHED = re.compile(r"^Control--MOVIE \((\d+)\)$")


def dvd_main_path(s):
    set_device(s, test_disc(s))
    player, video, panel, started = start_player(s)

    s.click(panel, *PLAY)
    no_message_for(s, player.pid, 1.0, "the disc refused to play")

    # The first refresh comes 10 seconds after the panel loaded.
    title = s.wait_for(lambda: REFRESHED.match(s.title(panel)), 15, "the refresh to write the caption")
    waited = time.time() - started
    if waited < 9.0:
        raise Failure("the caption was refreshed %.1f s after start-up" % waited)
    if not 1 <= int(title.group(1)) <= 3:
        raise Failure("the caption names chapter %s of a three-chapter disc" % title.group(1))

    s.click(panel, *SCENE_NEXT)
    no_message_for(s, player.pid, 1.0, "the disc refused the next scene")

    # The video window's close box: the panel stays, and "Open DVD Window" brings it back.
    close_box(s, video)
    s.wait_for(lambda: not s.windows(name=VIDEO_TITLE), 5, "the video window to close")
    if player.poll() is not None:
        raise Failure("closing the video window ended the program")
    s.click(panel, *OPEN_DVD_WINDOW)
    video = s.wait_window(name=VIDEO_TITLE, size=VIDEO_SIZE, timeout=10)
    no_message_for(s, player.pid, 0.5, "a message came up when the video window came back")

    # Closing the panel takes the video window with it and ends the program.
    close_box(s, panel)
    s.wait_for(lambda: player.poll() is not None, 10, "the player to end")
    if player.returncode != 0:
        raise Failure("the player ended with code %d" % player.returncode)
    if s.windows(name=VIDEO_TITLE) or s.windows(name="MOVIE"):
        raise Failure("a window is left after the panel closed")


if __name__ == "__main__":
    run(dvd_main_path)
