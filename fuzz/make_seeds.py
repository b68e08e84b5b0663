#!/usr/bin/env python3
"""Writes the seed inputs of one fuzz target into a folder: scripts/fuzz.sh calls it."""
import os
import struct
import sys


def http_seeds():
    body = b"Result=Ok\r\nFiles=2\r\nFile1=HH2024-01-31 Alpha.txt\r\nFile2=HH2024-01-31 Beta.txt\r\n"
    head = b"HTTP/1.0 200 OK\r\nServer: test\r\nContent-Type: text/html; charset=utf-8\r\n"
    chunked = b"".join(b"%x;piece=%d\r\n%s\r\n" % (len(body[i:i + 7]), i, body[i:i + 7])
                       for i in range(0, len(body), 7))
    yield b"\x00" + head + b"Content-Length: %d\r\n\r\n" % len(body) + body
    yield b"\x05" + head + b"Transfer-Encoding: chunked\r\n\r\n" + chunked + b"0\r\nX-Trailer: end\r\n\r\n"
    yield b"\x03" + head + b"\r\n" + body
    yield b"\x01HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nok\r\n"
    yield b"\x02HTTP/1.0 302 Found\r\nLocation: /elsewhere\r\nSet-Cookie: a=b; Path=/\r\n\r\n"
    yield b"\x07HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\nContent-Length: 6\r\n\r\n\xe9t\xe9\r\n\r\n"
    yield b"\x04HTTP/1.0 200 OK\r\nContent-Type: text/plain; charset=\"windows-1252\"\r\n\r\nR\x80sult\rA\nB"


def settings_seeds():
    yield (b"[General]\nMainWidth=800\nMainHeight=600\nMainMax=0\nServerIP=127.0.0.1\nFilePort=8087\n"
           b"APIPath=api\nRememberPW=1\nPassword=\"a, b\"\nLastFolder=/home/op/HH\n"
           b"ViewWidth=600\nViewHeight=450\nViewMax=1\n")
    yield b"[General]\nPassword=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x10)\nServerIP=a, b, c\n"
    yield b"[General]\r\nLastFolder=C:\\\\HH\\\\\xc3\xa9t\xc3\xa9\r\nFilePort=0x1F\r\n[Other]\r\nx=1\r\n"
    yield b"MainWidth = -2147483648\n;comment\nViewHeight=99999999999\n[General\nPassword=@ByteArray(x)\n"


def csv_seeds():
    def text(b):
        return bytes([len(b)]) + b

    def table(columns, rows, german=False):
        out = bytes([len(columns) - 1, 1 if german else 0])
        for type_index, name in columns:
            out += bytes([type_index]) + text(name)
        for row in rows:
            for cell in row:
                out += cell
        return out

    null = b"\x00"
    def integer(v): return b"\x01" + struct.pack("<q", v)
    def real(v): return b"\x02" + struct.pack("<d", v)
    def txt(v): return b"\x03" + text(v)
    def blob(v): return b"\x04" + text(v)
    yield table([(0, b"Hand"), (2, b"Player"), (1, b"Share")],
                [[integer(1001), txt(b"Ann"), real(0.125)], [integer(1002), txt(b'say "hi", then\r\nbye'), null]])
    yield table([(1, b"Rake"), (5, b"Mixed")], [[real(1e-7), txt(b"12.5")], [real(-1234567890.125), real(3.0)]],
                german=True)
    yield table([(3, b"Data"), (4, b"Any")], [[blob(b"\x00\xff,\r\n"), integer(-1)], [null, txt(b"\xc3\xa9")]])
    yield table([(2, b'We"ird, name')], [[real(float("nan"))], [real(float("inf"))], [integer(-2**63)]])


def main():
    target, folder = sys.argv[1], sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    seeds = {"http": http_seeds, "settings": settings_seeds, "csv": csv_seeds}[target]
    for number, seed in enumerate(seeds()):
        with open(os.path.join(folder, "seed-%02d" % number), "wb") as f:
            f.write(seed)


if __name__ == "__main__":
    main()
