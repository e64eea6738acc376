#!/usr/bin/env python3
"""Writes a document file of about the given number of bytes: one quoted field of
Windows-1252 text lines of varying length, as the editor saves them."""
import sys

size = int(sys.argv[2])
words = ("the quick brown fox jumps over a lazy dog while caf\xe9 owners count "
         "their \xa3 and \x80 receipts, 1234567890 times; na\xefve r\xe9sum\xe9s").split()
out = bytearray(b'"')
i = 0
while len(out) < size - 3:
    n = 5 + (i * 7) % 13
    line = " ".join(words[(i + k) % len(words)] for k in range(n))
    out += line.encode("latin-1") + b"\r\n"
    i += 1
del out[size - 3:]
out += b'"\r\n'
with open(sys.argv[1], "wb") as f:
    f.write(out)
