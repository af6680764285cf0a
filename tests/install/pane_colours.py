"""pane_colours.py PNG X Y W H...: prints, for each rectangle, how many distinct colours the
picture has there (8-bit RGB or RGBA PNGs without interlacing, decoded with the standard library)."""
import struct
import sys
import zlib


def read_png(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit(f"{path}: not a PNG")
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour not in (2, 6) or interlace:
                raise SystemExit(f"{path}: not 8-bit RGB or RGBA without interlacing")
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    channels = 3 if colour == 2 else 4
    stride = width * channels
    raw = zlib.decompress(idat)
    rows, previous = [], bytearray(stride)
    for y in range(height):
        filt = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = row[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if filt == 1:
                row[i] = (row[i] + left) & 0xFF
            elif filt == 2:
                row[i] = (row[i] + up) & 0xFF
            elif filt == 3:
                row[i] = (row[i] + (left + up) // 2) & 0xFF
            elif filt == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                pred = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                row[i] = (row[i] + pred) & 0xFF
        rows.append(row)
        previous = row
    return width, height, channels, rows


def main():
    width, height, channels, rows = read_png(sys.argv[1])
    numbers = [int(v) for v in sys.argv[2:]]
    counts = []
    for x0, y0, w, h in zip(*[iter(numbers)] * 4):
        colours = set()
        for y in range(y0, min(y0 + h, height)):
            row = rows[y]
            for x in range(x0, min(x0 + w, width)):
                colours.add(bytes(row[x * channels:x * channels + 3]))
        counts.append(str(len(colours)))
    print(" ".join(counts))


main()
