"""Plain 24-bit BMP files, enough to put known pictures on the clipboard and
compare what comes back."""
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


def read(path):
    """Returns (width, height, rows) with rows top-down lists of (r, g, b)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise ValueError(f"{path}: not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    _, width, height, _, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if bits not in (24, 32) or compression != 0:
        raise ValueError(f"{path}: {bits}-bit, compression {compression} not supported")
    step = bits // 8
    stride = (width * step + 3) & ~3
    rows = []
    for row in range(abs(height)):
        y = abs(height) - 1 - row if height > 0 else row
        start = offset + y * stride
        rows.append([(data[start + x * step + 2], data[start + x * step + 1], data[start + x * step])
                     for x in range(width)])
    return width, abs(height), rows


def pattern(x, y):
    """A picture that shows flips, shifts and channel swaps: distinct corners."""
    return ((x * 7) & 0xFF, (y * 5) & 0xFF, 0x80 if (x // 8 + y // 8) % 2 else 0x20)


def same_picture(path, width, height, pixel):
    """None when the BMP file holds exactly that picture, else what differs."""
    w, h, rows = read(path)
    if (w, h) != (width, height):
        return f"size {w}x{h}, expected {width}x{height}"
    for y, row in enumerate(rows):
        for x, got in enumerate(row):
            if got != pixel(x, y):
                return f"pixel ({x},{y}) is {got}, expected {pixel(x, y)}"
    return None
