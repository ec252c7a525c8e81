# No unit on the segment: only the PC and the gateway.
:
