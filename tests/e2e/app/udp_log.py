"""Logs every datagram arriving on a UDP port, one line each (repr of the
bytes), for a bounded time. Runs on a lab host to see what the program sent.
usage: udp_log.py PORT LOG SECONDS READY_FILE"""

import socket
import sys
import time

port, path, seconds, ready = int(sys.argv[1]), sys.argv[2], float(sys.argv[3]), sys.argv[4]
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("0.0.0.0", port))
open(ready, "w").close()
deadline = time.monotonic() + seconds
with open(path, "a", buffering=1) as out:
    while (left := deadline - time.monotonic()) > 0:
        s.settimeout(min(left, 1.0))
        try:
            data, sender = s.recvfrom(2048)
        except socket.timeout:
            continue
        out.write(f"{sender[0]} {data!r}\n")
