"""Printed pages: a PostScript file printer as the default printer, the page
turned into a picture with Ghostscript and checked for what a user sees: the
image inside the margins with the screen's proportions and its share of the
area, each quarter in its colour, the header above it and the footer below."""
import datetime
import re

import pictures
from steps import Resident, clipboard_picture, differences
from harness import Failure, wait_until

PRINTER = "Orvanex Test Printer"
PAGE_DPI = 100  # the page pictures Ghostscript makes
QUADRANTS = [(200, 30, 30), (30, 160, 30), (30, 30, 200), (220, 160, 0)]


def quadrants(width, height):
    """Four saturated colours, one per quarter: easy to tell from the black
    text and the white paper, and from their grey or negative forms."""
    def pixel(x, y):
        return QUADRANTS[(2 if y >= height // 2 else 0) + (1 if x >= width // 2 else 0)]
    return pixel


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


# ---- measuring the page ------------------------------------------------------

def printable_area(caps, border):
    """The printable area less the margins (half the border on each side), in
    pixels of the page picture: left, top, right, bottom."""
    def px(dots, axis):
        return dots * PAGE_DPI / caps["LOGPIXELS" + axis]
    left, top = px(caps["PHYSICALOFFSETX"], "X"), px(caps["PHYSICALOFFSETY"], "Y")
    width, height = px(caps["HORZRES"], "X"), px(caps["VERTRES"], "Y")
    mx, my = width * border / 200, height * border / 200
    return left + mx, top + my, left + width - mx, top + height - my


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
    desk = Resident(ctx, screen=(size, pixel), PrintScreen=1, Printer="<Default Printer>", **settings)
    desk.put_clipboard()
    began = datetime.datetime.now()
    desk.key()
    wait_for_print(printed)
    ended = datetime.datetime.now()
    pages = pictures.render_pages(printed, ctx.folder, PAGE_DPI, rotate)
    if len(pages) != 1:
        raise Failure(f"{len(pages)} pages printed, expected one")
    return pages[0], pictures.page_text(printed), began, ended


# ---- header, footer and image placement -------------------------------------

LAYOUT_CASES = [
    # name, orientation, settings, picture size, its share of the area
    ("portrait, margin, partial capture shrunk", "portrait",
     {"Orientation": 1, "PageBorder": 10, "StretchImage": 0, "Resize": 0, "ResizeScale": 100}, (640, 480), 0.5),
    ("landscape, stretched, resized to 80 %", "landscape",
     {"Orientation": 2, "PageBorder": 0, "StretchImage": 1, "Resize": 1, "ResizeScale": 80}, (320, 240), 0.8),
]
HEADER_SIZE, FOOTER_SIZE = 12, 8
FOOTER = "Orvanex footer line"


def test_page_layout(ctx, orientation, settings, size, share):
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

    caps, _ = printer_metrics(ctx, orientation)
    area = printable_area(caps, settings["PageBorder"])
    got = coloured_box(page)
    if got is None:
        raise Failure("no image on the printed page")
    ctx.note(f"{orientation}: image {got} inside {tuple(round(v) for v in area)}")
    left, top, right, bottom = got
    if left < area[0] - 2 or top < area[1] - 2 or right > area[2] + 2 or bottom > area[3] + 2:
        raise Failure(f"image at {got} leaves the area inside the margins {area}")
    # The screen's proportions, and its share of the area: the limiting side
    # of the area scaled by the share (a partial capture, a resize).
    width, height = right - left, bottom - top
    if abs(width / height - size[0] / size[1]) > 0.02 * size[0] / size[1]:
        raise Failure(f"image {width}x{height} does not keep the picture's {size[0]}x{size[1]} proportions")
    filled = max(width / (area[2] - area[0]), height / (area[3] - area[1]))
    # (The header and footer bands may take up to a tenth of the height.)
    if not share - 0.12 <= filled <= share + 0.02:
        raise Failure(f"image fills {filled:.2f} of the area, expected about {share}")
    # Each quarter in its place and colour: a flipped or channel-swapped image fills the same box.
    for index, colour in enumerate(QUADRANTS):
        x = round(left + width * (0.25 + 0.5 * (index % 2)))
        y = round(top + height * (0.25 + 0.5 * (index // 2)))
        seen = page.pixel(x, y)
        nearest = min(QUADRANTS, key=lambda c: sum(abs(a - b) for a, b in zip(c, seen)))
        if nearest != colour:
            raise Failure(f"printed quarter {index} at ({x},{y}) is {seen}, expected near {colour}")

    # The header's text above the image, the footer's below, both inside the margins.
    above = dark_rows(page, round(area[0]) - 2, round(area[2]) + 2, round(area[1]) - 2, top)
    below = dark_rows(page, round(area[0]) - 2, round(area[2]) + 2, bottom, round(area[3]) + 2)
    if not above or not below:
        raise Failure(f"header rows {above[:1]}, footer rows {below[:1]}: expected text above and below the image")
    # Each line at its point size: the header's digits and the footer's capitals and
    # ascenders stand about seven tenths of the size's em.
    for what, rows, points in (("header", above, HEADER_SIZE), ("footer", below, FOOTER_SIZE)):
        ink, em = rows[-1] - rows[0] + 1, points * PAGE_DPI / 72
        ctx.note(f"{what}: {ink} rows of ink at {points} pt ({em:.1f} px em)")
        if not 0.6 * em <= ink <= 0.9 * em:
            raise Failure(f"the {what}'s text is {ink} px high, not that of {points} pt ({em:.1f} px em)")

    # After printing, the clipboard holds the capture.
    picture = clipboard_picture(ctx)
    problem = differences(picture, *size, quadrants(*size)) if picture else "no bitmap"
    if problem:
        raise Failure(f"clipboard after printing: {problem}")


TESTS = [
    *[(f"print: layout {name}", test_page_layout, {"orientation": o, "settings": s, "size": z, "share": k})
      for name, o, s, z, k in LAYOUT_CASES],
]
