"""Plain 24-bit BMP files of known pictures, for the clipboard and the Print
Screen stand-in."""
import struct


def write(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b), rows top-down."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):  # BMP rows are stored bottom-up
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - width * 3)
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def pattern(x, y):
    """A picture that shows flips, shifts and channel swaps: distinct corners."""
    return ((x * 7) & 0xFF, (y * 5) & 0xFF, 0x80 if (x // 8 + y // 8) % 2 else 0x20)
