"""Printed pages: a PostScript file printer as the default printer, the page
turned into a picture with Ghostscript and measured against the layout that
the margins, the header and footer bands and the image size predict."""
import datetime
import re
import struct

import pictures
from steps import clipboard_picture, differences, press_capture_key, quiet_settings, start_resident, start_screen
from harness import Failure, wait_until

PRINTER = "Orvanex Test Printer"
PAGE_DPI = 100  # the page pictures Ghostscript makes
SCREEN = (1280, 1024)  # the private X display the program runs on
TWIPS = 1440.0
QUADRANTS = [(200, 30, 30), (30, 160, 30), (30, 30, 200), (220, 160, 0)]


def quadrants(width, height):
    """Four saturated colours, one per quarter: easy to tell from the black
    text and the white paper, and from their grey or negative forms."""
    def pixel(x, y):
        return QUADRANTS[(2 if y >= height // 2 else 0) + (1 if x >= width // 2 else 0)]
    return pixel


def f32(value):
    """The value as a 32-bit float holds it: the layout keeps its numbers so."""
    return struct.unpack("f", struct.pack("f", value))[0]


# ---- the printer ------------------------------------------------------------

def install_printer(ctx):
    """The file printer as the default printer, its output going to this
    test's folder. Returns the file the next print job writes."""
    printed = ctx.path("printed.ps")
    ctx.session.install_printer(PRINTER, printed)
    return printed


def printer_metrics(ctx, orientation, *points):
    """The default printer's page in device dots and the line height of
    Arial at each size, as the printer reports them."""
    code, lines = ctx.session.drive("printer-caps", orientation, *points)
    if code != 0:
        raise Failure(f"printer-caps {orientation} failed: {lines}")
    caps, heights = {}, {}
    for line in lines:
        fields = line.split()
        if fields[0] == "ARIAL":
            # The height of a line of text: the cell height plus the leading
            # the font asks for between lines.
            heights[int(fields[1])] = int(fields[3]) + int(fields[5])
        elif len(fields) == 2 and fields[1].lstrip("-").isdigit():
            caps[fields[0]] = int(fields[1])
    return caps, heights


def wait_for_print(path, timeout=30):
    wait_until(f"the printed file {path.name}",
               lambda: path.exists() and b"%%EOF" in path.read_bytes()[-200:], timeout, interval=0.1)


# ---- where things should land -----------------------------------------------

def expected_layout(caps, line_heights, settings, picture_size, header, footer):
    """The page layout in twips from the top-left corner of the printable
    area: margins, header and footer bands, resize, aspect fit and the
    partial-capture rule, with the printer's own numbers."""
    dpi_x, dpi_y = caps["LOGPIXELSX"], caps["LOGPIXELSY"]
    w = f32(caps["HORZRES"] * TWIPS / dpi_x)
    h = f32(caps["VERTRES"] * TWIPS / dpi_y)
    border = settings["PageBorder"]
    mx, my = f32(w * (border / 100 / 2)), f32(h * (border / 100 / 2))
    right, bottom = f32(w - mx), f32(h - my)
    header_h = f32(line_heights[settings["HeaderSize"]] * TWIPS / dpi_y)
    footer_h = f32(line_heights[settings["FooterSize"]] * TWIPS / dpi_y)
    left, top = mx, my
    if header:
        top = f32(my + 2 * header_h)
    if footer:
        bottom = f32(bottom - 2 * footer_h)
    if settings["Resize"] == 1 and settings["ResizeScale"] != 100:
        right = f32(left + (right - left) * settings["ResizeScale"] / 100)
        bottom = f32(top + (bottom - top) * settings["ResizeScale"] / 100)
    pw, ph = picture_size
    width_limited = f32(pw / ph) > f32((right - left) / (bottom - top))
    if width_limited:
        bottom = f32(top + (right - left) * (ph / pw))
    else:
        right = f32(left + (bottom - top) * (pw / ph))
    if settings["StretchImage"] == 0 and SCREEN[0] > pw:
        k = pw / SCREEN[0] if width_limited else ph / SCREEN[1]
        right, bottom = f32(left + (right - left) * k), f32(top + (bottom - top) * k)
    return {"image": (left, top, right, bottom), "header_top": my, "header_h": header_h, "margin_x": mx,
            "footer_top": f32(h - my - footer_h), "footer_h": footer_h, "width_limited": width_limited}


def to_page(caps, x_twips, y_twips):
    """Twips from the printable area's corner to pixels of the page picture."""
    dots_x = caps["PHYSICALOFFSETX"] + x_twips * caps["LOGPIXELSX"] / TWIPS
    dots_y = caps["PHYSICALOFFSETY"] + y_twips * caps["LOGPIXELSY"] / TWIPS
    return dots_x * PAGE_DPI / caps["LOGPIXELSX"], dots_y * PAGE_DPI / caps["LOGPIXELSY"]


def coloured_box(page):
    """The bounding box (left, top, right, bottom; right and bottom
    exclusive) of the strongly coloured pixels: the picture, not the text."""
    xs, ys = [], []
    data, width = page.data, page.width
    for y in range(page.height):
        row = data[y * width * 3:(y + 1) * width * 3]
        hits = [x for x in range(width)
                if max(row[3 * x:3 * x + 3]) - min(row[3 * x:3 * x + 3]) > 80]
        if hits:
            xs += (hits[0], hits[-1])
            ys.append(y)
    if not ys:
        return None
    return min(xs), ys[0], max(xs) + 1, ys[-1] + 1


def dark_rows(page, x0, x1, y0, y1):
    """The rows between y0 and y1 holding dark (text) pixels between x0 and x1."""
    rows = []
    for y in range(max(0, y0), min(page.height, y1)):
        for x in range(max(0, x0), min(page.width, x1)):
            if max(page.pixel(x, y)) < 100:
                rows.append(y)
                break
    return rows


def print_one_page(ctx, settings, size, pixel, rotate=0):
    """Starts the program with these settings, captures the known screen and
    waits for the printed page; returns (page picture, page text, start, end)."""
    printed = install_printer(ctx)
    start_screen(ctx, size, pixel)
    ctx.session.drive("clip-put", ctx.session.windows_path(ctx.path("screen.bmp")))
    quiet_settings(ctx, PrintScreen=1, Printer="<Default Printer>", **settings)
    start_resident(ctx)
    began = datetime.datetime.now()
    press_capture_key(ctx)
    wait_for_print(printed)
    ended = datetime.datetime.now()
    pages = pictures.render_pages(printed, ctx.folder, PAGE_DPI, rotate)
    if len(pages) != 1:
        raise Failure(f"{len(pages)} pages printed, expected one")
    return pages[0], pictures.page_text(printed), began, ended


# ---- header, footer and image placement -------------------------------------

LAYOUT_CASES = [
    # name, orientation, settings, picture size
    ("portrait, margin, partial capture shrunk", "portrait",
     {"Orientation": 1, "PageBorder": 10, "StretchImage": 0, "Resize": 0, "ResizeScale": 100}, (640, 480)),
    ("landscape, stretched, resized to 80 %", "landscape",
     {"Orientation": 2, "PageBorder": 0, "StretchImage": 1, "Resize": 1, "ResizeScale": 80}, (320, 240)),
]
HEADER_SIZE, FOOTER_SIZE = 12, 8
FOOTER = "Orvanex footer line"


def test_page_layout(ctx, orientation, settings, size):
    settings = dict(settings, HeaderSize=HEADER_SIZE, FooterSize=FOOTER_SIZE,
                    Header="[date] - [time]", Footer=FOOTER)
    # Ghostscript lays a landscape page on its side: a quarter turn clockwise
    # puts the header at the top again.
    page, text, began, ended = print_one_page(ctx, settings, size, quadrants(*size),
                                              rotate=90 if orientation == "landscape" else 0)

    # The header holds the date and the capture's time; the footer its text.
    match = re.search(r"(\d{2})(\d{2})(\d{4}) - (\d{2})(\d{2})(\d{2})", text)
    if not match or FOOTER not in text:
        raise Failure(f"header or footer missing from the page text: {text.strip()[:300]!r}")
    day, month, year, hh, mm, ss = map(int, match.groups())
    stamp = datetime.datetime(year, month, day, hh, mm, ss)
    if not began.replace(microsecond=0) - datetime.timedelta(seconds=1) <= stamp <= ended:
        raise Failure(f"header time {stamp} is not the capture's ({began:%H:%M:%S} to {ended:%H:%M:%S})")

    caps, heights = printer_metrics(ctx, orientation, HEADER_SIZE, FOOTER_SIZE)
    ctx.note(f"{orientation} page {caps['HORZRES']}x{caps['VERTRES']} dots at {caps['LOGPIXELSX']} dpi, "
             f"offset {caps['PHYSICALOFFSETX']},{caps['PHYSICALOFFSETY']}, lines {heights}")
    layout = expected_layout(caps, heights, settings, size, header=True, footer=True)
    want = (*to_page(caps, *layout["image"][:2]), *to_page(caps, *layout["image"][2:]))
    got = coloured_box(page)
    if got is None:
        raise Failure("no image on the printed page")
    off = max(abs(a - b) for a, b in zip(got, want))
    ctx.note(f"image within {off:.1f} px of the prediction")
    if off > 2:
        raise Failure(f"image at {got}, expected {tuple(round(v, 1) for v in want)} (page pixels, {PAGE_DPI} dpi)")
    # Each quarter in its place and colour: a flipped or channel-swapped image fills the same box.
    for index, colour in enumerate(QUADRANTS):
        x = round(want[0] + (want[2] - want[0]) * (0.25 + 0.5 * (index % 2)))
        y = round(want[1] + (want[3] - want[1]) * (0.25 + 0.5 * (index // 2)))
        seen = page.pixel(x, y)
        nearest = min(QUADRANTS, key=lambda c: sum(abs(a - b) for a, b in zip(c, seen)))
        if nearest != colour:
            raise Failure(f"printed quarter {index} at ({x},{y}) is {seen}, expected near {colour}")

    # The header line hangs from the top margin, the footer line sits on the
    # bottom limit, both from the left margin.
    margin_x = to_page(caps, layout["margin_x"], 0)[0]
    for name, top, height in (("header", layout["header_top"], layout["header_h"]),
                              ("footer", layout["footer_top"], layout["footer_h"])):
        y0 = round(to_page(caps, 0, top)[1])
        y1 = round(to_page(caps, 0, top + height)[1])
        rows = dark_rows(page, round(margin_x) - 3, page.width, y0 - 3, y1 + 3)
        if not rows or rows[0] < y0 - 1 or rows[-1] > y1 + 1:
            raise Failure(f"{name} text rows {rows[:1] + rows[-1:]}, expected within {y0}..{y1}")

    # After printing, the clipboard holds the capture.
    picture = clipboard_picture(ctx)
    problem = differences(picture, *size, quadrants(*size)) if picture else "no bitmap"
    if problem:
        raise Failure(f"clipboard after printing: {problem}")


TESTS = [
    *[(f"print: layout {name}", test_page_layout, {"orientation": o, "settings": s, "size": z})
      for name, o, s, z in LAYOUT_CASES],
]
