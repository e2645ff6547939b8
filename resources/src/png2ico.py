#!/usr/bin/env python3
"""Wraps one PNG picture into a Windows .ico file (PNG payload, one image)."""
import struct
import sys

source, target = sys.argv[1], sys.argv[2]
data = open(source, "rb").read()
width, height = struct.unpack(">II", data[16:24])
entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), 6 + 16)
with open(target, "wb") as out:
    out.write(struct.pack("<HHH", 0, 1, 1) + entry + data)
