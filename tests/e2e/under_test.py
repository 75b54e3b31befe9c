"""What the exe under test says of itself in its version resource: the
product title its windows and boxes carry, and its version (the build's, from
CMakeLists.txt). run.py calls use() before it imports the tests."""
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "scripts"))
import exe_version  # noqa: E402

PRODUCT = VERSION = None


def read(exe):
    """(file version, product name) of an exe."""
    data = Path(exe).read_bytes()
    return exe_version.file_version(data), exe_version.string_value(data, "ProductName")


def use(exe):
    global PRODUCT, VERSION
    VERSION, PRODUCT = read(exe)
