#!/usr/bin/env python3
"""A local stand-in for the maker's link service, for the demo and the tests.

usage: link_service.py --port N --installer FILE [--size BYTES] [--rate BYTES_PER_S] [--lifetime S]

Answers on 127.0.0.1 only, and stops by itself after --lifetime seconds.
  /vestoralinks/index.php?linkname=...&linktype=file
                  the installer FILE, padded with zeros to --size bytes, sent at --rate
  /status/CODE    that status code
  /chunked        a chunked answer without a Content-Length
  /size/N         N bytes with their Content-Length
  /short/N        declares N bytes, sends half, and closes the connection
  /stall/N        declares N bytes, sends 1200000, then waits (up to 30 s) for the client to go
  /r/...          a help page
"""
import argparse
import http.server
import threading
import time
import urllib.parse

BLOCK = 16384


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, fmt, *args):
        self.server.log.write((fmt % args) + "\n")
        self.server.log.flush()

    def send_body_head(self, status, length):
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(length))
        self.end_headers()

    def send_bytes(self, data, rate=0):
        start = time.monotonic()
        sent = 0
        for offset in range(0, len(data), BLOCK):
            chunk = data[offset:offset + BLOCK]
            self.wfile.write(chunk)
            sent += len(chunk)
            if rate:
                ahead = sent / rate - (time.monotonic() - start)
                if ahead > 0:
                    time.sleep(ahead)

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        parts = [p for p in url.path.split("/") if p]
        try:
            if url.path == "/vestoralinks/index.php":
                query = urllib.parse.parse_qs(url.query)
                if query.get("linktype") != ["file"] or not query.get("linkname"):
                    return self.send_status(404)
                data = self.server.installer
                self.send_body_head(200, len(data))
                return self.send_bytes(data, self.server.rate)
            if parts[:1] == ["status"] and len(parts) == 2:
                return self.send_status(int(parts[1]))
            if parts == ["chunked"]:
                self.send_response(200)
                self.send_header("Transfer-Encoding", "chunked")
                self.end_headers()
                for _ in range(20):
                    self.wfile.write(b"%x\r\n%s\r\n" % (BLOCK, b"x" * BLOCK))
                self.wfile.write(b"0\r\n\r\n")
                return None
            if parts[:1] in (["size"], ["short"], ["stall"]) and len(parts) == 2:
                size = int(parts[1])
                self.send_body_head(200, size)
                if parts[0] == "size":
                    return self.send_bytes(b"v" * size)
                if parts[0] == "short":
                    self.send_bytes(b"v" * (size // 2))
                    self.close_connection = True
                    return None
                self.send_bytes(b"v" * min(size, 1200000))
                self.wfile.flush()
                deadline = time.monotonic() + 30
                while time.monotonic() < deadline:
                    time.sleep(0.2)
                    self.wfile.write(b"")
                self.close_connection = True
                return None
            if parts[:1] == ["r"]:
                return self.send_status(200)
            return self.send_status(404)
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True
            return None

    def send_status(self, code):
        body = b"status %d\n" % code
        self.send_body_head(code, len(body))
        self.wfile.write(body)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--installer", required=True)
    parser.add_argument("--size", type=int, default=0)
    parser.add_argument("--rate", type=int, default=0)
    parser.add_argument("--lifetime", type=int, default=900)
    parser.add_argument("--log", default="/dev/null")
    args = parser.parse_args()

    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    with open(args.installer, "rb") as f:
        data = f.read()
    server.installer = data + b"\0" * max(0, args.size - len(data))
    server.rate = args.rate
    server.log = open(args.log, "a")
    threading.Timer(args.lifetime, server.shutdown).start()
    print(f"link service on 127.0.0.1:{args.port}", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
