#!/usr/bin/env python3
"""A host on the NetBIOS session service over TCP (RFC 1002), for the NetBIOS transport's tests.

Listens on ADDRESS:139, takes one session at a time: answers the SESSION REQUEST positively, sends
the prompt "login: ", and answers every line it receives with "host:" and the line. The line "bye"
makes it close the session. Each SESSION MESSAGE it receives is logged to <state>/messages.log as
"<length> <hex bytes>", the called name of each request (decoded) to <state>/called.log.
"""
import os
import socket
import struct
import sys
import time


def decode_name(encoded):
    half = [c - ord("A") for c in encoded[:32]]
    return bytes((half[i] << 4) | half[i + 1] for i in range(0, 32, 2)).decode("latin-1")


def read_exact(conn, n):
    data = b""
    while len(data) < n:
        chunk = conn.recv(n - len(data))
        if not chunk:
            return None
        data += chunk
    return data


def read_packet(conn):
    header = read_exact(conn, 4)
    if header is None:
        return None, None
    kind, flags, length = struct.unpack(">BBH", header)
    length |= (flags & 1) << 16
    body = read_exact(conn, length) if length else b""
    return kind, body


def send_message(conn, data):
    conn.sendall(struct.pack(">BBH", 0, 0, len(data)) + data)


def serve(conn, state):
    kind, body = read_packet(conn)
    if kind != 0x81:
        return
    called = decode_name(body[1:33]) if len(body) >= 33 else ""
    with open(os.path.join(state, "called.log"), "a") as f:
        f.write(called + "\n")
    conn.sendall(struct.pack(">BBH", 0x82, 0, 0))
    # Wine's client reads the session response with room for one byte more than it has; a
    # message right behind it would lose its first byte there.
    time.sleep(0.3)
    send_message(conn, b"login: ")
    line = b""
    while True:
        kind, body = read_packet(conn)
        if kind is None:
            return
        if kind == 0x85:  # keep-alive
            continue
        if kind != 0x00:
            continue
        with open(os.path.join(state, "messages.log"), "a") as f:
            f.write("%d %s\n" % (len(body), body.hex()))
        for byte in body:
            c = bytes([byte])
            if c in (b"\r", b"\n"):
                if line == b"bye":
                    return
                if line:
                    send_message(conn, b"host:" + line + b"\r\n")
                line = b""
            else:
                line += c


def main():
    address, state = sys.argv[1], sys.argv[2]
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind((address, 139))
    server.listen(4)
    open(os.path.join(state, "listening"), "w").close()
    while True:
        conn, _ = server.accept()
        try:
            serve(conn, state)
        except OSError:
            pass
        finally:
            conn.close()


if __name__ == "__main__":
    main()
