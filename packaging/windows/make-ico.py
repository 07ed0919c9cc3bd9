#!/usr/bin/env python3
"""Windows icon (.ico) from the program's PNG icons: each size is stored as a
PNG inside the icon file, as Windows Vista and later read them.
Usage: make-ico.py OUTPUT.ico SIZE.png..."""
import struct
import sys


def main(output, pngs):
    images = []
    for path in pngs:
        with open(path, "rb") as f:
            data = f.read()
        if data[:8] != b"\x89PNG\r\n\x1a\n":
            sys.exit(f"{path} : ce n'est pas une image PNG")
        width, height = struct.unpack(">II", data[16:24])
        images.append((width, height, data))
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, blobs = b"", b""
    for width, height, data in images:
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
        blobs += data
    with open(output, "wb") as f:
        f.write(header + entries + blobs)


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2:])
