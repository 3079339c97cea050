#!/usr/bin/env python3
"""Makes res/icons/keltally.ico (32 x 32 and 16 x 16, 32-bit BMP entries) from
the two RGBA PNG icons, so the Windows resource script can take icon 128.
Usage: scripts/make-ico.py res/icons/keltally-32.png res/icons/keltally-16.png res/icons/keltally.ico"""
import struct
import sys
import zlib


def read_png(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    at, idat, width, height = 8, b"", 0, 0
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert depth == 8 and colour == 6 and interlace == 0, "8-bit RGBA, not interlaced"
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    raw, rows, stride, prev = zlib.decompress(idat), [], width * 4, bytearray(width * 4)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 4] if i >= 4 else 0
            b = prev[i]
            c = prev[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        prev = line
    return width, height, rows


def bmp_entry(width, height, rows):
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes(v for i in range(0, len(r), 4) for v in (r[i + 2], r[i + 1], r[i], r[i + 3]))
                      for r in reversed(rows))
    mask_stride = ((width + 31) // 32) * 4
    mask = b"".join(bytes(mask_stride) for _ in rows)  # the alpha channel decides
    return header + pixels + mask


def main(args):
    entries = [(w, h, bmp_entry(w, h, rows)) for w, h, rows in map(read_png, args[:-1])]
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for w, h, body in entries:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    open(args[-1], "wb").write(out + b"".join(body for _, _, body in entries))


if __name__ == "__main__":
    main(sys.argv[1:])
