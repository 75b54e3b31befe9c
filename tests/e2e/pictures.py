"""Reading back what the program wrote: image files through ImageMagick and
printed PostScript pages through Ghostscript, both as plain RGB rows."""
import shutil
import subprocess

# The real ImageMagick, not a wrapper that may stand in front of it on PATH.
CONVERT = "/usr/bin/convert" if shutil.which("/usr/bin/convert") else "convert"


class Picture:
    """width x height RGB pixels, rows top-down, each row a bytes object of r, g, b triples."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    @property
    def size(self):
        return self.width, self.height


def _parse_ppm(blob):
    # P6, then width, height and maxval separated by white space, then one
    # white-space byte and the samples.
    fields, pos = [], 2
    if blob[:2] != b"P6":
        raise ValueError("not a binary PPM")
    while len(fields) < 3:
        while blob[pos:pos + 1].isspace():
            pos += 1
        if blob[pos:pos + 1] == b"#":
            pos = blob.index(b"\n", pos) + 1
            continue
        end = pos
        while not blob[end:end + 1].isspace():
            end += 1
        fields.append(int(blob[pos:end]))
        pos = end
    width, height, maxval = fields
    if maxval != 255:
        raise ValueError(f"PPM maxval {maxval}")
    data = blob[pos + 1:pos + 1 + width * height * 3]
    if len(data) != width * height * 3:
        raise ValueError("short PPM")
    return Picture(width, height, data)


def decode(path):
    """Any image file ImageMagick reads, as a Picture (first frame only)."""
    result = subprocess.run([CONVERT, f"{path}[0]", "-alpha", "off", "-depth", "8", "ppm:-"],
                            capture_output=True, timeout=60)
    if result.returncode != 0:
        raise ValueError(f"convert could not read {path}: {result.stderr.decode(errors='replace')[:200]}")
    return _parse_ppm(result.stdout)


def identify(path):
    """ImageMagick's name for the file's format (GIF, PNG, BMP, JPEG, ...)."""
    result = subprocess.run(["identify", "-format", "%m %w %h\n", str(path)], capture_output=True, timeout=60)
    if result.returncode != 0:
        raise ValueError(f"identify could not read {path}")
    kind, width, height = result.stdout.decode().splitlines()[0].split()
    return kind, int(width), int(height)


def render_pages(ps_path, folder, dpi=100, rotate=0):
    """Renders every page of a PostScript file into folder: page-N.png to look
    at, and the pages as Pictures to measure. rotate turns each page
    clockwise by that many degrees first (a landscape page comes out of
    Ghostscript on its side)."""
    base = ["gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", f"-r{dpi}"]
    for device, ext in (("png16m", "png"), ("ppmraw", "ppm")):
        result = subprocess.run(base + [f"-sDEVICE={device}", f"-sOutputFile={folder}/page-%d.{ext}", str(ps_path)],
                                capture_output=True, timeout=120)
        if result.returncode != 0:
            raise ValueError(f"gs could not render {ps_path}: {result.stderr.decode(errors='replace')[:200]}")
    pages = []
    while (folder / f"page-{len(pages) + 1}.ppm").exists():
        number = len(pages) + 1
        for ext in ("png", "ppm") if rotate else ():
            page = str(folder / f"page-{number}.{ext}")
            subprocess.run([CONVERT, page, "-rotate", str(rotate), page], check=True, timeout=60)
        pages.append(_parse_ppm((folder / f"page-{number}.ppm").read_bytes()))
    return pages


def page_text(ps_path):
    """The text on the pages, read the way it runs (rotated pages too), with
    the hyphen that the PostScript fonts map to a soft hyphen put back."""
    pdf = ps_path.with_suffix(".pdf")
    subprocess.run(["ps2pdf", str(ps_path), str(pdf)], check=True, capture_output=True, timeout=120)
    result = subprocess.run(["pdftotext", "-layout", str(pdf), "-"], capture_output=True, timeout=60)
    return result.stdout.decode("utf-8", "replace").replace("\u00a0", " ").replace("\u00ad", "-")
