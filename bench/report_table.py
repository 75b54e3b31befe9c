#!/usr/bin/env python3
"""One table from the two benchmark runs (native and under Wine, both with
the shipped exe's flags), with the targets met or missed. Timings are
medians of rounds in which the contenders take turns; a ratio to libpng
divides two figures of the same native run, never two processes."""
import argparse
from collections import defaultdict

SPEED_TARGET, SIZE_TARGET, SHIPPED_TARGET = 3.0, 1.00, 1.5


def read(path):
    rows = defaultdict(dict)
    with open(path) as f:
        for line in f:
            parts = line.rstrip("\n").split("\t")
            if len(parts) >= 3:
                rows[parts[0]][parts[1]] = parts[2:]
    return rows


def verdict(ok):
    return "met" if ok else "MISSED"


def shipped_ms(shipped, kind, shot):
    return float(shipped[kind].get(shot, ["nan"])[0])


def png_table(native, shipped):
    print(f"{'PNG':<18}{'native':>10}{'1 thread':>10}{'libpng':>10}{'speed':>7}{'1 thr':>7}"
          f"{'bytes':>10}{'libpng B':>10}{'size':>7}{'bands':>7}{'shipped':>10}{'/native':>8}  target")
    for shot, (ms, size) in native["png"].items():
        lib_ms, lib_b = map(float, native["libpng"][shot])
        ship = shipped_ms(shipped, "png", shot)
        one_ms, one_b = map(float, native["png1"][shot])
        speed, ratio = lib_ms / float(ms), float(size) / lib_b
        ok = speed >= SPEED_TARGET and ratio <= SIZE_TARGET
        print(f"{shot:<18}{float(ms):>8.1f}ms{one_ms:>8.1f}ms{lib_ms:>8.1f}ms{speed:>6.1f}x"
              f"{lib_ms / one_ms:>6.1f}x{int(size):>10}{int(lib_b):>10}{ratio:>6.3f}x"
              f"{float(size) / one_b:>6.3f}x{ship:>8.1f}ms{ship / float(ms):>7.2f}x  "
              f">={SPEED_TARGET:.0f}x, <={SIZE_TARGET:.2f}x: {verdict(ok)}")
    print("speed: libpng / ours on every core (1 thr: on one thread), taking turns in the native")
    print("run; size: bytes / libpng's; bands: banded file / one band; shipped: the Wine run")
    print(f"(another process: compare, do not divide; target <={SHIPPED_TARGET}x of native)")


def other_tables(native, shipped):
    print()
    print(f"{'GIF':<18}{'native':>10}{'shipped':>10}{'/native':>8}{'bytes':>10}{'PSNR':>9}"
          f"{'median cut':>12}")
    for shot, (ms, size, psnr, textbook) in native["gif"].items():
        ship = shipped_ms(shipped, "gif", shot)
        print(f"{shot:<18}{float(ms):>8.1f}ms{ship:>8.1f}ms{ship / float(ms):>7.2f}x{int(size):>10}"
              f"{float(psnr):>7.2f}dB{float(textbook):>10.2f}dB  <={SHIPPED_TARGET}x: "
              f"{verdict(ship / float(ms) <= SHIPPED_TARGET)}")
    print()
    print(f"{'BMP':<18}{'native':>10}{'shipped':>10}{'/native':>8}{'/copy':>7}{'/copy':>7}"
          "  (native, shipped)")
    for shot, (ms, _, copy_ms) in native["bmp"].items():
        ship, ship_copy = (float(v) for v in (shipped["bmp"].get(shot, ["nan", 0, "nan"])[::2]))
        print(f"{shot:<18}{float(ms):>8.1f}ms{ship:>8.1f}ms{ship / float(ms):>7.2f}x"
              f"{float(ms) / float(copy_ms):>6.2f}x{ship / ship_copy:>6.2f}x  "
              f"<={SHIPPED_TARGET}x: {verdict(ship / float(ms) <= SHIPPED_TARGET)}")
    print("/copy: BMP / a plain copy of as many bytes into a new buffer, in turn in each run")
    print()
    print(f"{'Pixel loops':<34}{'native':>10}{'shipped':>10}{'/native':>8}")
    for what, (ms,) in native["loop"].items():
        ship = shipped_ms(shipped, "loop", what)
        print(f"{what:<34}{float(ms):>8.2f}ms{ship:>8.2f}ms{ship / float(ms):>7.2f}x  "
              f"<={SHIPPED_TARGET}x: {verdict(ship / float(ms) <= SHIPPED_TARGET)}")
    print("clipboard: the clipboard's packed bitmap (bottom-up rows) to our picture; png filters:")
    print("every row packed to RGB and filtered Sub, Up, Average and Paeth (no choice, no deflate)")
    print()
    print("Heap peak, in frames (4 bytes a pixel), target <= 2.5")
    for shot, (ratio, _) in native["pngheap"].items():
        print(f"  PNG encoder alone, {shot:<18}{float(ratio):>6.2f}  {verdict(float(ratio) <= 2.5)}")
    for what, (ratio,) in native["heap"].items():
        print(f"  paste + crop + save, {what:<20}{float(ratio):>6.2f}  {verdict(float(ratio) <= 2.5)}")


def zlib_table(native, shipped):
    print(f"{'shot':<18}{'class':<8}{'level':>6}{'strategy':>9}{'native':>10}{'shipped':>10}"
          f"{'bytes':>10}{'/libpng':>8}")
    names = {"0": "default", "1": "filtered", "3": "rle"}
    with open(args.native) as f:
        lines = [l.rstrip("\n").split("\t") for l in f if l.startswith("zlib\t")]
    with open(args.shipped) as f:
        ship = {tuple(l.rstrip("\n").split("\t")[1:6]): l.rstrip("\n").split("\t")[6]
                for l in f if l.startswith("zlib\t")}
    for _, shot, cls, level, mem, strategy, ms, size in lines:
        s = float(ship.get((shot, cls, level, mem, strategy), "nan"))
        ref = float(native["zlibref"][shot][0])
        print(f"{shot:<18}{cls:<8}{level:>6}{names[strategy]:>9}{float(ms):>8.1f}ms{s:>8.1f}ms"
              f"{int(size):>10}{int(size) / ref:>7.3f}x")
    print("one thread, each setting alone: the times say what a setting costs, not a ratio")


parser = argparse.ArgumentParser()
parser.add_argument("native")
parser.add_argument("shipped")
parser.add_argument("--exe", type=int)
parser.add_argument("--native-load", default="?")
parser.add_argument("--shipped-load", default="?")
parser.add_argument("--cores", default="?")
args = parser.parse_args()
native, shipped = read(args.native), read(args.shipped)
print(f"load average (1, 5, 15 min) on {args.cores} cores: native run {args.native_load}; "
      f"Wine run {args.shipped_load}\n")
if native.get("zlib"):
    zlib_table(native, shipped)
else:
    png_table(native, shipped)
    other_tables(native, shipped)
    if args.exe:
        print(f"\norvanex.exe: {args.exe} bytes ({args.exe / 1048576:.2f} MB, limit 1.5 MB)")
