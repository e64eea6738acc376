"""The DVD player with no disc configured and no drive: a button's request shows message
A, the first refresh writes "NO DVD" and shows message B, and after that nothing
refreshes any more."""

import os
import time
from e2e import Failure, run
from dvd_windows import DISPLAY_LABEL, PANEL_TITLE, PLAY, message_boxes, no_message_for, start_player


def dismiss(s, pid, what, timeout):
    box = s.wait_for(lambda: message_boxes(s, pid), timeout, what)[0]
    time.sleep(0.3)
    s.key(box, "Return")
    s.wait_for(lambda: not message_boxes(s, pid), 5, what + " to close")
    return box


def dvd_no_disc(s):
    if os.path.exists("/dev/dvd") or any(n.startswith("sr") for n in os.listdir("/dev")):
        print("SKIP: this machine has a DVD drive")
        return
    player, video, panel, started = start_player(s)
    display = s.pixels(panel, DISPLAY_LABEL)

    s.click(panel, *PLAY)
    dismiss(s, player.pid, "message A for a request without a disc", 5)
    if s.title(panel) != "Controls--MOVIE" or s.pixels(panel, DISPLAY_LABEL) != display:
        raise Failure("a refused request changed the status display")

    dismiss(s, player.pid, "message B from the first refresh", 15)
    if time.time() - started < 9.0:
        raise Failure("the first refresh came too early")
    if s.pixels(panel, DISPLAY_LABEL) == display:
        raise Failure("the display did not change to NO DVD")
    if not s.windows(name=PANEL_TITLE):
        raise Failure("a failed refresh wrote the panel's caption")

    # The refresh is off for good: no second message B.
    no_message_for(s, player.pid, 11.0, "a second refresh after the first one failed")
    if player.poll() is not None:
        raise Failure("the player ended")


if __name__ == "__main__":
    run(dvd_no_disc)
