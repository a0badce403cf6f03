#!/usr/bin/env python3
"""A local stand-in for the maker's link service, for the demo and the tests.

usage: link_service.py --port N --installer FILE [--size BYTES] [--rate BYTES_PER_S]
                       [--mode MODE] [--lifetime S] [--proxy-host HOST ...]

Answers on 127.0.0.1 only, and stops by itself after --lifetime seconds.
  /vestoralinks/index.php?linkname=...&linktype=file
                  by --mode:
                  file      the installer FILE, padded with zeros to --size bytes, sent at --rate
                  stall     declares the installer's size, sends half, then holds the connection
                  silent    accepts the request and never answers
                  drip      declares the installer's size and sends one byte a second
                  redirect  redirects to itself for ever
                  html      200 with a 140 kB HTML page
                  busy      503 for every request
                  The file is served with an ETag and Range support; --cut B --cuts K closes
                  the first K answers (every one when K is 0) after B bytes of the body.
  /status/CODE    that status code
  /chunked        a chunked answer without a Content-Length
  /size/N         N bytes with their Content-Length
  /short/N        declares N bytes, sends half, and closes the connection
  /stall/N        declares N bytes, sends 1200000, then holds the connection for 10 minutes
  /silent         accepts the request and never answers
  /drip/N         declares N bytes and sends one byte a second
  /redirect/N     redirects to /redirect/N+1, for ever
  /hops/N         redirects N times (to /hops/N-1), then answers as /size/200000
  /long/N         redirects to an absolute address of N characters under /final/
  /final/...      answers as /size/200000
  /flaky/N?id=ID&...  N bytes with Range and ETag support, as a poor line or a busy server
                  serves them; its counts by ID: busy=K (the first K requests are 503,
                  with Retry-After: retry=S), cut=B&cuts=K (the first K answers, every one
                  when K is 0, end after B bytes: closed, or reset with reset=1), unanswered=1
                  (every request is reset before a byte of its answer), norange=1 (Range ignored), change=1 (after the first
                  request the file is another, with another ETag), hold=1 (the second
                  request is held for 10 minutes)
  /stats/ID       "requests R sent S": the requests for /flaky/...?id=ID, and the body bytes sent
  /r/...          a help page

As an HTTP proxy (requests with an absolute URI), it answers for the hosts
given with --proxy-host as if they were itself, and refuses every other host
with 502, without any outside connection.
"""
import argparse
import http.server
import os
import socket
import struct
import threading
import time
import urllib.parse

BLOCK = 16384
HOLD = 600  # seconds a hostile answer holds its connection, bounded by --lifetime


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

    def hold(self, seconds=HOLD):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            time.sleep(0.2)

    def send_installer(self):
        data, mode = self.server.installer, self.server.mode
        if mode == "silent":
            self.hold()
            self.close_connection = True
            return None
        if mode == "redirect":
            return self.redirect("/vestoralinks/index.php?linkname=VestoraEditorInstaller.exe&linktype=file&n=%d"
                                 % (time.monotonic_ns() % 1000000007))
        if mode == "busy":
            return self.send_status(503)
        if mode == "html":
            page = (b"<!DOCTYPE html><html><head><title>Offers</title></head><body>"
                    + b"<p>Special offers for you!</p>" * 5000 + b"</body></html>")[:140000]
            self.send_response(200)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(page)))
            self.end_headers()
            self.wfile.write(page)
            return None
        if mode == "file":
            start = time.monotonic()
            sent = self.send_resumable("installer", data, rate=self.server.rate, cut=self.server.cut,
                                       cuts=self.server.cuts)
            self.server.log.write("sent %d bytes in %.6f s\n" % (sent, time.monotonic() - start))
            self.server.log.flush()
            return None
        self.send_body_head(200, len(data))
        if mode == "stall":
            self.wfile.write(data[:len(data) // 2])
            self.wfile.flush()
            self.hold()
            self.close_connection = True
            return None
        if mode == "drip":
            for i in range(len(data)):
                self.wfile.write(data[i:i + 1])
                self.wfile.flush()
                time.sleep(1)
            return None
        return None

    def reset(self):
        """Ends the connection with a reset, as a broken connection does."""
        self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        os.close(self.connection.detach())
        self.close_connection = True

    def send_resumable(self, key, data, rate=0, cut=None, cuts=0, reset=False, busy=0, retry=None, unanswered=False,
                       norange=False, change=False, hold=False):
        """Serves data as a server with Range and ETag support, misbehaving as asked; the body bytes sent."""
        with self.server.lock:
            state = self.server.counts.setdefault(key, {"requests": 0, "sent": 0, "cuts": 0})
            state["requests"] += 1
            number = state["requests"]
            cutting = cut is not None and (cuts == 0 or state["cuts"] < cuts)
            state["cuts"] += 1 if cutting else 0
        if hold and number == 2:
            self.hold()
            self.close_connection = True
            return 0
        if number <= busy:
            self.send_status(503, [("Retry-After", retry)] if retry else [])
            return 0
        if unanswered:
            self.reset()
            return 0
        version = 2 if change and number > 1 else 1
        body = data if version == 1 else data.translate(bytes.maketrans(b"v", b"w"))
        etag = '"%d-%d"' % (version, len(body))
        first = 0
        asked = self.headers.get("Range", "")
        if asked.startswith("bytes=") and asked.endswith("-") and asked[6:-1].isdigit() and not norange \
                and self.headers.get("If-Range", etag) == etag and int(asked[6:-1]) < len(body):
            first = int(asked[6:-1])
        self.send_response(206 if first else 200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body) - first))
        self.send_header("ETag", etag)
        if first:
            self.send_header("Content-Range", "bytes %d-%d/%d" % (first, len(body) - 1, len(body)))
        self.end_headers()
        part = body[first:first + cut] if cutting else body[first:]
        try:
            self.send_bytes(part, rate)
        finally:
            with self.server.lock:
                state["sent"] += len(part)
        self.server.log.write("%s: %d %s, sent %d\n" % (key, 206 if first else 200, asked or "-", len(part)))
        self.server.log.flush()
        self.close_connection = cutting
        if cutting and reset:
            self.reset()
        return len(part)

    def redirect(self, location):
        self.send_response(302)
        self.send_header("Location", location)
        self.send_header("Content-Length", "0")
        self.end_headers()

    def do_GET(self):
        target = self.path
        if target.startswith("http://") or target.startswith("https://"):
            # A proxy request: only the hosts we stand in for are answered.
            absolute = urllib.parse.urlsplit(target)
            host = absolute.netloc[:-3] if absolute.netloc.endswith(":80") else absolute.netloc
            if absolute.scheme != "http" or host not in self.server.proxy_hosts:
                return self.send_status(502)
            target = urllib.parse.urlunsplit(("", "", absolute.path, absolute.query, ""))
        url = urllib.parse.urlsplit(target)
        parts = [p for p in url.path.split("/") if p]
        try:
            if url.path == "/vestoralinks/index.php":
                query = urllib.parse.parse_qs(url.query)
                if query.get("linktype") != ["file"] or not query.get("linkname"):
                    return self.send_status(404)
                return self.send_installer()
            if parts[:1] == ["status"] and len(parts) == 2:
                return self.send_status(int(parts[1]))
            if parts == ["silent"]:
                self.hold()
                self.close_connection = True
                return None
            if parts[:1] == ["drip"] and len(parts) == 2:
                size = int(parts[1])
                self.send_body_head(200, size)
                for _ in range(size):
                    self.wfile.write(b"v")
                    self.wfile.flush()
                    time.sleep(1)
                return None
            if parts[:1] == ["redirect"] and len(parts) == 2:
                return self.redirect("/redirect/%d" % (int(parts[1]) + 1))
            if parts[:1] == ["hops"] and len(parts) == 2 and int(parts[1]) > 0:
                return self.redirect("/hops/%d" % (int(parts[1]) - 1))
            if parts[:1] == ["long"] and len(parts) == 2:
                start = "http://127.0.0.1:%d/final/" % self.server.server_port
                return self.redirect(start + "b" * (int(parts[1]) - len(start)))
            if parts == ["hops", "0"] or parts[:1] == ["final"]:
                parts = ["size", "200000"]
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
                self.hold()
                self.close_connection = True
                return None
            if parts[:1] == ["flaky"] and len(parts) == 2:
                query = {k: v[0] for k, v in urllib.parse.parse_qs(url.query).items()}
                number = lambda name: int(query[name]) if name in query else None
                self.send_resumable(query.get("id", ""), b"v" * int(parts[1]), cut=number("cut"),
                                    cuts=number("cuts") or 0, reset="reset" in query, busy=number("busy") or 0,
                                    retry=query.get("retry"), unanswered="unanswered" in query,
                                    norange="norange" in query, change="change" in query, hold="hold" in query)
                return None
            if parts[:1] == ["stats"] and len(parts) == 2:
                with self.server.lock:
                    state = self.server.counts.get(parts[1], {"requests": 0, "sent": 0})
                    text = b"requests %d sent %d" % (state["requests"], state["sent"])
                self.send_response(200)
                self.send_header("Content-Length", str(len(text)))
                self.end_headers()
                self.wfile.write(text)
                return None
            if parts[:1] == ["r"]:
                return self.send_status(200)
            return self.send_status(404)
        except OSError:
            self.close_connection = True
            return None

    def do_CONNECT(self):
        self.send_status(502)

    def send_status(self, code, headers=()):
        body = b"status %d\n" % code
        self.send_response(code)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--installer", required=True)
    parser.add_argument("--size", type=int, default=0)
    parser.add_argument("--rate", type=int, default=0)
    parser.add_argument("--mode", default="file", choices=["file", "stall", "silent", "drip", "redirect", "html", "busy"])
    parser.add_argument("--cut", type=int)
    parser.add_argument("--cuts", type=int, default=0)
    parser.add_argument("--proxy-host", action="append", default=[])
    parser.add_argument("--lifetime", type=int, default=900)
    parser.add_argument("--log", default="/dev/null")
    args = parser.parse_args()

    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    with open(args.installer, "rb") as f:
        data = f.read()
    server.installer = data + b"\0" * max(0, args.size - len(data))
    server.rate = args.rate
    server.cut = args.cut
    server.cuts = args.cuts
    server.lock = threading.Lock()
    server.counts = {}
    server.mode = args.mode
    server.proxy_hosts = set(args.proxy_host)
    server.log = open(args.log, "a")
    threading.Timer(args.lifetime, server.shutdown).start()
    print(f"link service on 127.0.0.1:{args.port}", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
