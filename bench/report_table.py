#!/usr/bin/env python3
"""One table from the two benchmark runs (native -O3 and the shipped flags
under Wine), with the targets met or missed. Timings are the fastest of
several runs; ratios compare figures taken in the same run."""
import argparse
from collections import defaultdict


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


def png_table(native, shipped):
    print(f"{'PNG':<18}{'shipped':>10}{'bench':>10}{'libpng':>10}{'speed':>8}{'bench':>7}"
          f"{'bytes':>10}{'libpng B':>10}{'size':>7}{'1 band B':>10}{'bands':>7}  target")
    for shot, (ms, size) in native["png"].items():
        flat = shot.startswith("flat")
        lib_ms, lib_b = map(float, native["libpng"][shot])
        ship_ms = float(shipped["png"][shot][0]) if shot in shipped["png"] else float("nan")
        one_b = float(native["png1"][shot][1])
        speed, speed_bench = lib_ms / ship_ms, lib_ms / float(ms)
        ratio = float(size) / lib_b
        want_speed, want_size = (4.0, 0.7) if flat else (5.0, 1.1)
        ok = speed >= want_speed and ratio <= want_size
        print(f"{shot:<18}{ship_ms:>8.1f}ms{float(ms):>8.1f}ms{lib_ms:>8.1f}ms{speed:>7.1f}x"
              f"{speed_bench:>6.1f}x{int(size):>10}{int(lib_b):>10}{ratio:>6.2f}x{int(one_b):>10}"
              f"{float(size) / one_b:>6.3f}x  >={want_speed:.0f}x, <={want_size}x: {verdict(ok)}")
    print("speed: libpng (native) / shipped; bench: libpng / native build; "
          "bands: size of the banded file / one band")


def other_tables(native, shipped):
    print()
    print(f"{'GIF':<18}{'shipped':>10}{'bench':>10}{'bytes':>10}{'PSNR':>9}{'median cut':>12}")
    for shot, (ms, size, psnr, textbook) in native["gif"].items():
        ship = float(shipped["gif"].get(shot, ["nan"])[0])
        target = f"  <=25 ms: {verdict(ship <= 25)}" if shot.startswith("text 1920") else ""
        print(f"{shot:<18}{ship:>8.1f}ms{float(ms):>8.1f}ms{int(size):>10}{float(psnr):>7.2f}dB"
              f"{float(textbook):>10.2f}dB{target}")
    print()
    print(f"{'BMP':<18}{'shipped':>10}{'bench':>10}")
    for shot, (ms, _) in native["bmp"].items():
        ship = float(shipped["bmp"].get(shot, ["nan"])[0])
        print(f"{shot:<18}{ship:>8.1f}ms{float(ms):>8.1f}ms")
    print()
    print("Heap peak, in frames (4 bytes a pixel), target <= 2.5")
    for shot, (ratio, _) in native["pngheap"].items():
        print(f"  PNG encoder alone, {shot:<18}{float(ratio):>6.2f}  {verdict(float(ratio) <= 2.5)}")
    for what, (ratio,) in native["heap"].items():
        print(f"  paste + crop + save, {what:<20}{float(ratio):>6.2f}  {verdict(float(ratio) <= 2.5)}")


def zlib_table(native, shipped):
    print(f"{'shot':<18}{'class':<8}{'level':>6}{'mem':>4}{'strategy':>9}{'shipped':>10}{'bench':>10}{'bytes':>10}")
    names = {"0": "default", "1": "filtered", "3": "rle"}
    with open(args.native) as f:
        lines = [l.rstrip("\n").split("\t") for l in f if l.startswith("zlib\t")]
    with open(args.shipped) as f:
        ship = {tuple(l.rstrip("\n").split("\t")[1:6]): l.rstrip("\n").split("\t")[6]
                for l in f if l.startswith("zlib\t")}
    for _, shot, cls, level, mem, strategy, ms, size in lines:
        s = float(ship.get((shot, cls, level, mem, strategy), "nan"))
        print(f"{shot:<18}{cls:<8}{level:>6}{mem:>4}{names[strategy]:>9}{s:>8.1f}ms{float(ms):>8.1f}ms{int(size):>10}")


parser = argparse.ArgumentParser()
parser.add_argument("native")
parser.add_argument("shipped")
parser.add_argument("--exe", type=int)
args = parser.parse_args()
native, shipped = read(args.native), read(args.shipped)
if native.get("zlib"):
    zlib_table(native, shipped)
else:
    png_table(native, shipped)
    other_tables(native, shipped)
    if args.exe:
        print(f"\norvanex.exe: {args.exe} bytes ({args.exe / 1048576:.2f} MB, limit 1.5 MB)")
