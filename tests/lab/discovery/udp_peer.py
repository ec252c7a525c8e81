#!/usr/bin/python3
"""Small UDP peer for the lab tests (runs inside a lab namespace).

hold PORT SECONDS READY_FILE [HEARD_FILE]
    Binds 0.0.0.0:PORT exclusively (no SO_REUSEADDR), writes its process id
    into READY_FILE and keeps the port for SECONDS;
    with HEARD_FILE, writes there the hex of every datagram received, a line each.
send HEX ADDRESS PORT SECONDS
    Sends the bytes HEX to ADDRESS:PORT every 20 ms for SECONDS.
exchange HEX WAIT_MS
    Binds 0.0.0.0:12310, broadcasts the bytes HEX to 255.255.255.255:12311, then
    a discovery request as a marker, and prints every datagram received before
    the first discovery reply as a JSON line {"from", "hex"}: a unit answers in
    the order it is asked, so an answer to HEX would have come first. Fails
    when no discovery reply comes within WAIT_MS.
"""
import json
import os
import socket
import sys
import time


def hold(port, seconds, ready, heard=None):
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    s.bind(("0.0.0.0", port))
    with open(ready, "w") as f:
        print(os.getpid(), file=f)
    end = time.monotonic() + seconds
    while (left := end - time.monotonic()) > 0:
        if heard is None:
            time.sleep(left)
            break
        s.settimeout(left)
        try:
            data = s.recv(65536)
        except socket.timeout:
            break
        with open(heard, "a") as f:
            print(data.hex(), file=f)


def send(payload, address, port, seconds):
    s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        s.sendto(payload, (address, port))
        time.sleep(0.02)


def exchange(payload, wait_ms):
    rx = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    rx.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
    rx.bind(("0.0.0.0", 12310))
    tx = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    tx.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
    tx.sendto(payload, ("255.255.255.255", 12311))
    tx.sendto(b"0C01S", ("255.255.255.255", 12311))
    tx.close()
    end = time.monotonic() + wait_ms / 1000.0
    while (left := end - time.monotonic()) > 0:
        rx.settimeout(left)
        try:
            data, peer = rx.recvfrom(65536)
        except socket.timeout:
            break
        if data.startswith(b"0C01R"):
            return True
        print(json.dumps({"from": peer[0], "hex": data.hex()}), flush=True)
    print("no discovery reply within %d ms" % wait_ms, file=sys.stderr)
    return False


def main():
    if len(sys.argv) in (5, 6) and sys.argv[1] == "hold":
        hold(int(sys.argv[2]), float(sys.argv[3]), *sys.argv[4:])
    elif len(sys.argv) == 6 and sys.argv[1] == "send":
        send(bytes.fromhex(sys.argv[2]), sys.argv[3], int(sys.argv[4]), float(sys.argv[5]))
    elif len(sys.argv) == 4 and sys.argv[1] == "exchange":
        if not exchange(bytes.fromhex(sys.argv[2]), int(sys.argv[3])):
            return 1
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main())
