"""Uses the ICMP helper the way any local user could: starts it with a socket
pair on descriptor 3 and asks for what the program never asks. Prints one
PASS or FAIL line per check; exits 1 on any failure.
usage: helper_as_tool.py HELPER TARGET   (TARGET: a host that answers ping)"""

import os
import socket
import struct
import subprocess
import sys
import time

helper, target = sys.argv[1], sys.argv[2]
REPLY_SIZE = 8 + 1024
fails = 0


def checksum(data):
    total = sum(struct.unpack("!%dH" % (len(data) // 2), data))
    while total > 0xFFFF:
        total = (total & 0xFFFF) + (total >> 16)
    return ~total & 0xFFFF


def echo(sequence, payload=b"E" * 32):
    body = struct.pack("<HHI", 0x4D52, sequence, 0) + bytes(8) + payload
    return bytes([8, 0]) + struct.pack("!H", checksum(bytes([8, 0, 0, 0]) + body)) + body


def request(address, message, wait_ms=0):
    data = socket.inet_aton(address) + message + struct.pack("<H", wait_ms)
    return data + bytes(64 - len(data))


def start():
    ours, theirs = socket.socketpair(socket.AF_UNIX, socket.SOCK_SEQPACKET)

    def as_three():
        if theirs.fileno() == 3:
            os.set_inheritable(3, True)
        else:
            os.dup2(theirs.fileno(), 3)

    proc = subprocess.Popen([helper], close_fds=False, preexec_fn=as_three)
    theirs.close()
    ours.settimeout(5)
    return ours, proc


def check(name, ok):
    global fails
    print(("PASS: " if ok else "FAIL: ") + name)
    fails += 0 if ok else 1


def refused(name, data):
    """The helper sends nothing for data: it ends without an answer."""
    pair, proc = start()
    try:
        pair.send(data)
        answer = pair.recv(REPLY_SIZE)
    except OSError:
        answer = b""
    try:
        status = proc.wait(timeout=5)
    except subprocess.TimeoutExpired:
        proc.kill()
        status = None
    check("%s: refused (answer %d bytes, status %s)" % (name, len(answer), status),
          answer == b"" and status == 4)


refused("multicast 224.0.0.1", request("224.0.0.1", echo(1)))
refused("loopback 127.0.0.1", request("127.0.0.1", echo(1)))
refused("limited broadcast", request("255.255.255.255", echo(1)))
refused("another payload", request(target, echo(1, b"X" * 32)))
bad = bytearray(echo(1))
bad[2] ^= 0xFF
refused("a wrong checksum", request(target, bytes(bad)))

# Fast repeats to a real host: answered, but never faster than ten a second.
pair, proc = start()
count = 10
began = time.monotonic()
answered = 0
for sequence in range(count):
    pair.send(request(target, echo(sequence), wait_ms=50))
    reply = pair.recv(REPLY_SIZE)
    answered += len(reply) == REPLY_SIZE and reply[0] == 1
elapsed = time.monotonic() - began
pair.close()
proc.wait(timeout=5)
check("%d requests took %.2f s (at least %.1f), %d answered" % (count, elapsed, 0.1 * (count - 1),
                                                                 answered),
      elapsed >= 0.1 * (count - 1) and answered > 0)
sys.exit(1 if fails else 0)
