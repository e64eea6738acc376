"""Browser: the start page, an address typed and opened with Go (Enter does nothing), a
quick link and File > Exit. Every request the engine makes goes to a proxy on 127.0.0.1,
which answers with a small page and records what was asked for, so nothing leaves the
machine and the test sees the engine's own requests."""

import http.server
import threading
import time
from e2e import Failure, px, run

requests = []


class Proxy(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        requests.append(self.path)
        body = b"<html><head><title>Served</title></head><body><h1>Served page</h1></body></html>"
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def window(s):
    # Looked up afresh each time: the window gets a new native window once the web
    # engine starts drawing in it.
    return s.wait_window(name="^Internet Browser$", timeout=20)


def client_click(s, menu_height, frame, control):
    """Clicks a control inside a frame; positions in client twips."""
    x, y, _, _ = s.geometry(window(s))
    left = frame[0] + control[0] + control[2] / 2
    top = frame[1] + control[1] + control[3] / 2
    s.x("mousemove", "--sync", str(x + px(left)), str(y + menu_height + px(top)))
    s.x("click", "1")
    time.sleep(0.1)


def browser_main_path(s):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Proxy)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    s.env["QTWEBENGINE_CHROMIUM_FLAGS"] = "--disable-gpu --proxy-server=http://127.0.0.1:%d" % server.server_port
    try:
        browser = s.start("Browser")
        s.wait_for(lambda: "http://www.brambleton.example/" in requests, 20, "the start page request")
        time.sleep(1)
        _, _, w, h = s.geometry(window(s))
        menu_height = h - px(10800)

        top_bar, bottom_bar = (240, 120), (240, 9960)
        client_click(s, menu_height, top_bar, (1200, 240, 6015, 375))   # the address box
        s.type(window(s), "www.example.org/typed")
        s.key(window(s), "Return")
        time.sleep(1.5)
        if any("typed" in r for r in requests):
            raise Failure("Enter in the address box navigated")
        client_click(s, menu_height, top_bar, (7320, 120, 735, 615))    # Go
        s.wait_for(lambda: "http://www.example.org/typed" in requests, 15, "the typed address")

        client_click(s, menu_height, bottom_bar, (2280, 240, 1815, 375))  # Google
        s.wait_for(lambda: "http://www.google.com/" in requests, 15, "the Google quick link")

        x, y, _, _ = s.geometry(window(s))
        s.x("mousemove", "--sync", str(x + 15), str(y + menu_height // 2))
        s.x("click", "1")   # the File menu
        time.sleep(0.5)
        # Its Exit item, the first of the menu that drops down under it.
        s.x("mousemove", "--sync", str(x + 40), str(y + menu_height + 11))
        s.x("click", "1")
        s.wait_for(lambda: browser.poll() is not None, 10, "Exit to end the program")
    finally:
        server.shutdown()


if __name__ == "__main__":
    run(browser_main_path)
