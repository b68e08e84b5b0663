#!/usr/bin/env python3
"""A small stand-in for the poker server's file API, for tests and for trying the
remote page by hand.

It listens on 127.0.0.1 only and answers the "LogsHandHistory" command in its two
forms from a folder of hand-history files:
  list:  Command=LogsHandHistory&Password=PW            -> Result=Ok, Files=N, DateI=, NameI=
  fetch: Command=LogsHandHistory&Password=PW&Date=D&Name=T -> Result=Ok, then the file's lines

Options make it misbehave on purpose (see --help). Every raw request it receives is
kept in the --record folder as request-0001.bin, request-0002.bin, ...

Python standard library only; --tls also needs the openssl command to make a
self-signed certificate at start.
"""

import argparse
import os
import re
import shutil
import socketserver
import ssl
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

HEAD_LIMIT = 64 * 1024
CONNECTION_SECONDS = 120


def parse_args():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--port", type=int, default=8087, help="port to listen on; 0 picks a free one (default 8087)")
    p.add_argument("--folder", default=".", help="folder of HH*.txt files to serve (default: current folder)")
    p.add_argument("--password", default="secret", help="API password (default: secret)")
    p.add_argument("--api-path", default="api", help='API path (default: "api")')
    p.add_argument("--tls", action="store_true", help="speak https with a self-signed certificate made at start")
    p.add_argument("--framing", choices=["length", "chunked", "close"], default="length",
                   help="how the reply body is delimited (default: Content-Length, connection kept open)")
    p.add_argument("--status", type=int, default=200, help="reply status to send (e.g. 500, 302)")
    p.add_argument("--cut", action="store_true", help="announce the full length, send half the body, close")
    p.add_argument("--silent", action="store_true", help="read the request, then say nothing")
    p.add_argument("--trickle-ms", type=float, default=0,
                   help="send the reply one byte at a time, this many milliseconds apart")
    p.add_argument("--malformed-status", action="store_true", help='send the status line "HTTP/1.0 OK"')
    p.add_argument("--charset", default="utf-8",
                   help='name this charset in Content-Type and encode the body in it (default utf-8; '
                        '"" names none and sends ISO-8859-1, as older servers do)')
    p.add_argument("--content-type", default="text/html", help="media type of replies (default text/html)")
    p.add_argument("--set-cookie", action="append", default=[], help="send this Set-Cookie header (repeatable)")
    p.add_argument("--result-caps", action="store_true", help='answer "Result=OK" instead of "Result=Ok"')
    p.add_argument("--lowercase-keys", action="store_true", help="write every key in lower case")
    p.add_argument("--no-files-line", action="store_true", help="leave the Files line out of list replies")
    p.add_argument("--fail-name", action="append", default=[],
                   help="a fetch of this table name answers Result=Error (repeatable)")
    p.add_argument("--body-bytes", type=int, default=0,
                   help="answer every fetch with Result=Ok and filler lines, this many bytes in all "
                        "(made as they are sent, so a huge reply costs no memory)")
    p.add_argument("--record", default="", help="folder that receives every raw request")
    p.add_argument("--exit-on-stdin-eof", action="store_true", help="exit when standard input closes")
    p.add_argument("--max-seconds", type=float, default=0, help="exit after this many seconds (0: never)")
    return p.parse_args()


class Recorder:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0
        self.lock = threading.Lock()
        if folder:
            os.makedirs(folder, exist_ok=True)

    def keep(self, raw):
        if not self.folder:
            return
        with self.lock:
            self.count += 1
            name = os.path.join(self.folder, "request-%04d.bin" % self.count)
        # Written under another name first, so a reader never sees half a request.
        with open(name + ".part", "wb") as f:
            f.write(raw)
        os.replace(name + ".part", name)


def decode_file(data):
    if data.startswith(b"\xef\xbb\xbf"):
        return data[3:].decode("utf-8", "replace")
    if data.startswith(b"\xff\xfe"):
        return data[2:].decode("utf-16-le", "replace")
    if data.startswith(b"\xfe\xff"):
        return data[2:].decode("utf-16-be", "replace")
    try:
        return data.decode("utf-8")
    except UnicodeDecodeError:
        return data.decode("cp1252", "replace")


def split_lines(text):
    lines = re.split(r"\r\n|\r|\n", text)
    if lines and lines[-1] == "":
        lines.pop()
    return lines


class Api:
    def __init__(self, opts):
        self.opts = opts

    def key(self, name):
        return name.lower() if self.opts.lowercase_keys else name

    def ok(self):
        return self.key("Result") + ("=OK" if self.opts.result_caps else "=Ok")

    def error(self, message):
        return [self.key("Result") + "=Error", self.key("Error") + "=" + message]

    def entries(self):
        try:
            names = sorted(os.listdir(self.opts.folder))
        except OSError:
            names = []
        found = []
        for n in names:
            if n[:2].upper() == "HH" and n.lower().endswith(".txt") and len(n) >= 17 and n[12] == " ":
                found.append((n[2:12], n[13:-4], n))
        return found

    def answer(self, fields):
        if fields.get("Command") != "LogsHandHistory":
            return self.error("Unknown command")
        if fields.get("Password") != self.opts.password:
            return self.error("Invalid password")
        if "Date" not in fields and "Name" not in fields:
            entries = self.entries()
            lines = [self.ok()]
            if not self.opts.no_files_line:
                lines.append(self.key("Files") + "=%d" % len(entries))
            for i, (date, name, _) in enumerate(entries, 1):
                lines.append(self.key("Date") + "%d=%s" % (i, date))
                lines.append(self.key("Name") + "%d=%s" % (i, name))
            return lines
        date, name = fields.get("Date", ""), fields.get("Name", "")
        if name in self.opts.fail_name:
            return self.error("Could not read " + name)
        for d, n, file_name in self.entries():
            if d == date and n == name:
                with open(os.path.join(self.opts.folder, file_name), "rb") as f:
                    return [self.ok()] + split_lines(decode_file(f.read()))
        return self.error("File not found")


def read_request(conn):
    """Reads one request; returns (raw bytes, head text, body bytes) or None."""
    data = b""
    while b"\r\n\r\n" not in data:
        chunk = conn.recv(65536)
        if not chunk:
            return None
        data += chunk
        if data[:1] and not (b"A" <= data[:1] <= b"Z"):
            return "garbage"
        if len(data) > HEAD_LIMIT:
            return "garbage"
    head, _, body = data.partition(b"\r\n\r\n")
    match = re.search(rb"\r\ncontent-length:[ \t]*(\d+)", head, re.IGNORECASE)
    length = int(match.group(1)) if match else 0
    while len(body) < length:
        chunk = conn.recv(65536)
        if not chunk:
            break
        body += chunk
    return head + b"\r\n\r\n" + body, head.decode("latin-1"), body


def wait_for_close(conn):
    try:
        while conn.recv(65536):
            pass
    except OSError:
        pass


class Trickle:
    """A connection that sends every byte on its own, a pause apart: never silent
    for long, yet slow to finish."""

    def __init__(self, conn, pause):
        self.conn = conn
        self.pause = pause

    def sendall(self, data):
        for i in range(len(data)):
            self.conn.sendall(data[i:i + 1])
            time.sleep(self.pause)

    def __getattr__(self, name):
        return getattr(self.conn, name)


def generated_body(total):
    """Result=Ok, then 40-byte lines: exactly total bytes, in blocks."""
    head = b"Result=Ok\r\n"[:total]
    yield head
    line = b"Hand #1 - 2024-02-01 12:00:00 filler..\r\n"
    block = line * 1638
    left = total - len(head)
    while left > 0:
        piece = block[:left]
        yield piece
        left -= len(piece)


class Handler(socketserver.BaseRequestHandler):
    def handle(self):
        server = self.server
        opts = server.opts
        conn = self.request
        conn.settimeout(CONNECTION_SECONDS)
        try:
            if server.tls_context is not None:
                conn = server.tls_context.wrap_socket(conn, server_side=True)
            got = read_request(conn)
            if got is None:
                return
            if got == "garbage":
                conn.sendall(b"HTTP/1.0 400 Bad Request\r\nContent-Length: 0\r\n\r\n")
                return
            raw, head, body = got
            server.recorder.keep(raw)
            if opts.silent:
                wait_for_close(conn)
                return
            self.reply(conn, head, body)
        except (OSError, ssl.SSLError):
            pass
        finally:
            try:
                conn.close()
            except OSError:
                pass

    def reply(self, conn, head, body):
        opts = self.server.opts
        if opts.trickle_ms > 0:
            conn = Trickle(conn, opts.trickle_ms / 1000.0)
        target = head.split("\r\n", 1)[0].split(" ")
        api = Api(opts)
        if len(target) < 2 or target[1] != "/" + opts.api_path:
            status, lines, fields = 404, api.error("No such path"), {}
        else:
            fields = dict(urllib.parse.parse_qsl(body.decode("ascii", "replace"), keep_blank_values=True))
            status, lines = opts.status, api.answer(fields)
            if status >= 400:
                lines = api.error("Server error %d" % status)
        text = "".join(line + "\r\n" for line in lines)
        encoded = text.encode(opts.charset or "latin-1", "replace")
        generated = opts.body_bytes > 0 and status == 200 and "Name" in fields
        length = opts.body_bytes if generated else len(encoded)
        pieces = generated_body(length) if generated else [encoded]
        content_type = opts.content_type + ("; charset=" + opts.charset if opts.charset else "")

        reason = {200: "OK", 302: "Found", 404: "Not Found", 500: "Internal Server Error"}.get(status, "Status")
        out = ["Server: test", "Content-Type: " + content_type]
        if 300 <= status < 400:
            out.append("Location: /elsewhere")
        out += ["Set-Cookie: " + c for c in opts.set_cookie]
        framing = opts.framing
        if framing == "chunked":
            out.append("Transfer-Encoding: chunked")
        elif framing == "length" or opts.cut:
            out += ["Content-Length: %d" % length, "Connection: keep-alive"]
        status_line = "HTTP/1.0 OK" if opts.malformed_status else "HTTP/1.0 %d %s" % (status, reason)
        conn.sendall((status_line + "\r\n" + "".join(h + "\r\n" for h in out) + "\r\n").encode("latin-1"))

        if opts.cut:
            conn.sendall(encoded[: len(encoded) // 2])
            return
        if framing == "chunked":
            # Small odd-sized chunks, so that lines and characters are split between them
            # (larger ones for a big file, which would otherwise take ages to send).
            step = 7 if length < 65536 else 65521
            sent = 0
            for block in pieces:
                for i in range(0, len(block), step):
                    piece = block[i:i + step]
                    ext = ";piece=%d" % sent if sent == 0 else ""
                    conn.sendall(b"%x%s\r\n%s\r\n" % (len(piece), ext.encode(), piece))
                    sent += len(piece)
            conn.sendall(b"0\r\nX-Trailer: end\r\n\r\n")
            wait_for_close(conn)
        elif framing == "length":
            for block in pieces:
                conn.sendall(block)
            # HTTP/1.0 keep-alive: the client must stop at the length, not wait for a close.
            wait_for_close(conn)
        else:
            for block in pieces:
                conn.sendall(block)
            if isinstance(conn, ssl.SSLSocket):
                # Send close_notify, then close at once instead of waiting for the client's.
                try:
                    conn.setblocking(False)
                    conn.unwrap()
                except (OSError, ssl.SSLError, ValueError):
                    pass


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True


def make_tls_context():
    folder = tempfile.mkdtemp(prefix="kestrum-test-server-")
    try:
        key, cert = os.path.join(folder, "key.pem"), os.path.join(folder, "cert.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                        "-nodes", "-keyout", key, "-out", cert, "-days", "2", "-subj", "/CN=localhost"],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        return context
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def watch_stdin():
    try:
        while sys.stdin.buffer.read(1):
            pass
    except OSError:
        pass
    os._exit(0)


def main():
    opts = parse_args()
    server = Server(("127.0.0.1", opts.port), Handler)
    server.opts = opts
    server.recorder = Recorder(opts.record)
    server.tls_context = make_tls_context() if opts.tls else None
    if opts.exit_on_stdin_eof:
        threading.Thread(target=watch_stdin, daemon=True).start()
    if opts.max_seconds > 0:
        threading.Timer(opts.max_seconds, lambda: os._exit(0)).start()
    port = server.server_address[1]
    print("listening on 127.0.0.1 port %d (%s)" % (port, "https" if opts.tls else "http"), flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
