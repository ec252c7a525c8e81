"""Holds the abstract name of a running instance busy: either squats it
(binds it and never listens), or opens COUNT connections to it and sends
nothing, or answers (listens and answers every start as its holder would,
adding one line to READY-FILE per start heard). Writes one line to
READY-FILE once done, then sleeps (at most LIFETIME seconds) holding
everything.
usage: idle_clients.py squat|connect|answer NAME COUNT READY-FILE LIFETIME"""

import resource
import socket
import struct
import sys
import time

mode, name, count, ready, lifetime = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4], \
    float(sys.argv[5])
soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
resource.setrlimit(resource.RLIMIT_NOFILE, (min(hard, count + 64), hard))
held = []
made = 0
if mode == "answer":
    s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    s.bind("\0" + name)
    s.listen(16)
    s.settimeout(1)
    with open(ready, "w") as f:
        f.write("listening\n")
    end = time.monotonic() + lifetime
    while time.monotonic() < end:
        try:
            peer, _ = s.accept()
        except socket.timeout:
            continue
        peer.settimeout(1)
        try:
            heard = peer.recv(300)
            peer.sendall(b"\n")
        except OSError:
            heard = b""
        peer.close()
        with open(ready, "a") as f:
            f.write(f"heard {heard!r}\n")
    sys.exit(0)
elif mode == "squat":
    s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    s.bind("\0" + name)
    held.append(s)
    made = 1
else:
    deadline = time.monotonic() + 60
    for _ in range(count):
        if time.monotonic() > deadline:
            break
        s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        # Blocking, with a time limit: a full backlog makes connect wait
        # (a non-blocking one would fail at once instead).
        s.setsockopt(socket.SOL_SOCKET, socket.SO_SNDTIMEO, struct.pack("ll", 2, 0))
        try:
            s.connect("\0" + name)
            made += 1
        except OSError:
            pass
        held.append(s)
with open(ready, "w") as f:
    f.write(f"{made}\n")
time.sleep(lifetime)
