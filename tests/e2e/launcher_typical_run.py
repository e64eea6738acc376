"""The typical run: Tavolin, "Gaming Programs", the game started from the folder view,
a win, "Close Window", then "Exit Tavolin" ending the launcher about five seconds later
while the game runs on."""

import os
import time
from e2e import Failure, px, run

# Main window controls (client twips: left, top, width, height).
GAMING_PROGRAMS = (1680, 4800, 5535, 615)
EXIT_TAVOLIN = (7680, 7440, 1215, 255)
CLOSE_WINDOW = (2280, 4560, 1935, 255)
# The game's click cells, by cell number.
CELLS = {1: (480, 840, 1092, 1092), 2: (480, 1920, 1092, 1212), 4: (1560, 840, 1212, 1092),
         5: (1560, 1920, 1212, 1212), 7: (2760, 840, 1092, 1092)}


def typical_run(s):
    tavolin = s.start("Tavolin")
    main = s.wait_window(name="^Tavolin$", size=(px(9000), px(7770)))

    s.click(main, *GAMING_PROGRAMS)
    view = s.wait_window(cls="Tavolin", size=(px(6675), px(4935)))
    with open(s.config_file("Norvel")) as f:
        if "Apps=4" not in f.read():
            raise Failure("the category was not stored")

    # The game's launcher is the first item of the folder view.
    x, y, _, _ = s.geometry(view)
    s.x("mousemove", "--sync", str(x + 48), str(y + 30))
    s.x("click", "--repeat", "2", "--delay", "80", "1")
    game = s.wait_window(name="^Tic Tac Toe$", timeout=15)

    for cell in (1, 2, 4, 5, 7):   # X completes the top row
        s.click(game, *CELLS[cell])
    box = s.wait_window(name="^The End$", timeout=5)
    s.key(box, "Return")
    s.wait_for(lambda: not s.windows(name="^The End$"), 5, "the announcement to close")

    # The desktop has no window manager to keep windows apart: move the game aside, as
    # a user would, before going back to the category view under it.
    s.x("windowmove", "--sync", str(game), "860", "0")
    s.click(view, *CLOSE_WINDOW)
    s.wait_for(lambda: not s.windows(cls="Tavolin") or
               all(s.geometry(w)[2:] != (px(6675), px(4935)) for w in s.windows(cls="Tavolin")),
               5, "the category view to close")

    s.click(main, *EXIT_TAVOLIN)
    started = time.time()
    s.wait_for(lambda: not s.windows(name="^Tavolin$"), 2, "the main window to go")
    code = s.wait_for(lambda: tavolin.poll() is not None, 10, "Tavolin to end")
    elapsed = time.time() - started
    if tavolin.returncode != 0:
        raise Failure("Tavolin ended with code %d" % tavolin.returncode)
    if not 4.0 <= elapsed <= 8.0:
        raise Failure("the closing screen ended the program after %.1f s" % elapsed)
    if not s.windows(name="^Tic Tac Toe$"):
        raise Failure("the game did not run on after the launcher ended")


if __name__ == "__main__":
    run(typical_run)
