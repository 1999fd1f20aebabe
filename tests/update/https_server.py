#!/usr/bin/env python3
"""HTTPS server on 127.0.0.1 for the update tests and the download benchmark.

usage: https_server.py FOLDER CERT KEY
Prints its port on the first line of standard output and serves until it is killed.

  POST /api/updates   the body of FOLDER/answers/<app_key> (404 when there is none); the request's
                      headers and body are kept in FOLDER/last_request
  /files/NAME         FOLDER/files/NAME with its Content-Length
  /cut/N              announces 2N bytes, sends N and closes
  /unsized/N          N bytes without a Content-Length, ended by closing
  /redirect?to=URL    302 to URL
  /stall              answers nothing for a minute
  anything else       404 with a body
"""
import http.server
import os
import ssl
import sys
import time
import urllib.parse

FOLDER, CERT, KEY = sys.argv[1:4]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        self.route(b"")

    def do_POST(self):
        self.route(self.rfile.read(int(self.headers.get("Content-Length", "0"))))

    def send(self, status, body, headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def route(self, body):
        url = urllib.parse.urlsplit(self.path)
        parts = url.path.strip("/").split("/")
        if url.path == "/api/updates":
            with open(os.path.join(FOLDER, "last_request"), "wb") as log:
                log.write(str(self.headers).encode() + body)
            form = urllib.parse.parse_qs(body.rstrip(b"\0").decode())
            answer = os.path.join(FOLDER, "answers", form.get("app_key", [""])[0])
            if os.path.isfile(answer):
                with open(answer, "rb") as file:
                    return self.send(200, file.read(), [("Content-Type", "application/json")])
        elif parts[0] == "files" and len(parts) == 2:
            path = os.path.join(FOLDER, "files", parts[1])
            if os.path.isfile(path):
                self.send_response(200)
                self.send_header("Content-Length", str(os.path.getsize(path)))
                self.end_headers()
                with open(path, "rb") as file:
                    while chunk := file.read(1 << 20):
                        self.wfile.write(chunk)
                return None
        elif parts[0] in ("cut", "unsized") and len(parts) == 2:
            size = int(parts[1])
            self.send_response(200)
            if parts[0] == "cut":
                self.send_header("Content-Length", str(2 * size))
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(b"x" * size)
            self.close_connection = True
            return None
        elif url.path == "/redirect":
            target = urllib.parse.parse_qs(url.query)["to"][0]
            return self.send(302, b"", [("Location", target)])
        elif url.path == "/stall":
            time.sleep(60)
            return None
        return self.send(404, b"<html>not found</html>")


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(CERT, KEY)
server.socket = context.wrap_socket(server.socket, server_side=True)
print(server.server_address[1], flush=True)
server.serve_forever()
