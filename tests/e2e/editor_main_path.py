"""Editor: type a letter, save it through the real file dialog with Ctrl+S, open it again
with Ctrl+O, and exit with Ctrl+Q: the file holds the document format's bytes, the caption
gains the opened path, the closing question comes because the Open changed the text, and
the window's placement is in the settings store."""

import configparser
import os
import time
from e2e import Failure, run

TEXT = "Dear Ms. Brandt, 12 boxes"


def editor_main_path(s):
    editor = s.start("Editor")
    main = s.wait_window(name="^Text Editor$")
    x, y, w, h = s.geometry(main)
    s.x("mousemove", "--sync", str(x + w // 2), str(y + h // 2))
    s.x("click", "1")
    s.type(main, TEXT)

    target = os.path.join(s.home, "letter.qlt")
    s.key(main, "ctrl+s")
    dialog = s.wait_window(name="^Save$")
    s.type(dialog, target)
    s.key(dialog, "Return")
    s.wait_for(lambda: os.path.exists(target), 5, "the saved file")
    with open(target, "rb") as f:
        content = f.read()
    if content != b'"' + TEXT.encode() + b'"\r\n':
        raise Failure("saved bytes %r" % content)

    s.key(main, "ctrl+o")
    dialog = s.wait_window(name="^Open$")
    s.type(dialog, target)
    s.key(dialog, "Return")
    s.wait_for(lambda: s.title(main).endswith("[ %s ]" % target), 5, "the caption with the opened path")

    s.key(main, "ctrl+q")
    question = s.wait_window(name="^Quillet$", timeout=5)
    s.key(question, "n")   # No: leave the file as it is
    s.wait_for(lambda: editor.poll() is not None, 10, "Editor to end")
    with open(target, "rb") as f:
        if f.read() != content:
            raise Failure("No to the closing question still wrote the file")

    store = configparser.ConfigParser()
    store.read(s.config_file("Text Editor"))
    keys = [k.lower() for k in ("MainLeft", "MainTop", "MainWidth", "MainHeight")]
    if "Settings" not in store or any(k not in store["Settings"] for k in keys):
        raise Failure("the placement was not stored: %s" % open(s.config_file("Text Editor")).read())


if __name__ == "__main__":
    run(editor_main_path)
