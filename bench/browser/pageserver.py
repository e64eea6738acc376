#!/usr/bin/env python3
"""A local page server and HTTP proxy for the browser benchmarks: every GET, whether for a
path or for a full address sent through it as a proxy, gets the same small page, and each
request line is written to the log. CONNECT (https) is refused. Nothing goes further.
Usage: pageserver.py <port> <log file>"""
import http.server
import socketserver
import sys

PAGE = b"""<!DOCTYPE html><html><head><title>Brambleton</title></head>
<body style="font-family:sans-serif"><h1>Brambleton</h1><p>A page served on 127.0.0.1.</p>
<ul>""" + b"".join(b"<li>Item %d: some text to lay out</li>" % i for i in range(40)) + b"</ul></body></html>"

log = open(sys.argv[2], "a", buffering=1)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def do_GET(self):
        log.write(self.requestline + "\n")
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(PAGE)))
        self.end_headers()
        self.wfile.write(PAGE)

    def do_CONNECT(self):
        log.write(self.requestline + "\n")
        self.send_error(502)

    def log_message(self, *args):
        pass


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


Server(("127.0.0.1", int(sys.argv[1])), Handler).serve_forever()
