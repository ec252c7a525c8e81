"""Floods the PC with ICMP that answers none of its probes: echo requests,
echo replies with foreign identifiers (sent in the name of the candidate
addresses), time-stamp requests and router advertisements. Runs inside a lab
host until STOP-FILE exists or SECONDS have passed.

Usage: icmp_noise.py PC-ADDRESS STOP-FILE SECONDS SPOOFED-SOURCE..."""
import os
import socket
import sys
import time


def checksum(data):
    total = sum(data[i] << 8 | (data[i + 1] if i + 1 < len(data) else 0)
                for i in range(0, len(data), 2))
    while total > 0xFFFF:
        total = (total & 0xFFFF) + (total >> 16)
    return ~total & 0xFFFF


def icmp(kind, ident, seq, body=b"E" * 32):
    m = bytearray([kind, 0, 0, 0]) + ident.to_bytes(2, "little") + seq.to_bytes(2, "little") + body
    m[2:4] = checksum(m).to_bytes(2, "big")
    return bytes(m)


def ip(source, destination, payload):
    h = bytearray(20)
    h[0] = 0x45
    h[2:4] = (20 + len(payload)).to_bytes(2, "big")
    h[8], h[9] = 64, 1
    h[12:16] = socket.inet_aton(source)
    h[16:20] = socket.inet_aton(destination)
    h[10:12] = checksum(h).to_bytes(2, "big")
    return bytes(h) + payload


def main():
    pc, stop, seconds, spoofed = sys.argv[1], sys.argv[2], float(sys.argv[3]), sys.argv[4:]
    s = socket.socket(socket.AF_INET, socket.SOCK_RAW, socket.IPPROTO_RAW)
    own = os.environ.get("NOISE_SOURCE", "0.0.0.0")
    end = time.monotonic() + seconds
    sent = 0
    seq = 0
    while time.monotonic() < end and not os.path.exists(stop):
        seq = (seq + 1) % 8  # the small numbers the probes carry
        # Identifiers 1 to 3: no process of the PC's test has such a small id.
        frames = [ip(src, pc, icmp(0, 1 + seq % 3, seq)) for src in spoofed]
        frames.append(icmp(8, 0x4242, seq))
        frames.append(icmp(13, 0x4343, seq, bytes(12)))
        frames.append(icmp(9, 0, 0, bytes([1, 2, 0, 0]) + socket.inet_aton(own) + bytes(4)))
        for f in frames:
            if f[0] == 0x45:
                s.sendto(f, (pc, 0))
            else:
                s.sendto(ip(own, pc, f), (pc, 0))
            sent += 1
        time.sleep(0.002)
    print(sent)


main()
