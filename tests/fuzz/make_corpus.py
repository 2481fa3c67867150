#!/usr/bin/env python3
"""Writes the seed corpus of the World fuzz target into tests/fuzz/corpus/.

The layout of an input is described at the top of world_fuzz.cpp. Run it again after a change
to that layout: python3 tests/fuzz/make_corpus.py
"""
import math
import os
import random
import re
import struct

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.normpath(os.path.join(here, "..", ".."))
out = os.path.join(here, "corpus")

# Flag bits, as CartControls indices.
LEFT_BACK, LEFT_FORWARD, LEFT_RIGHT, LEFT_LEFT = 1, 2, 4, 8
RIGHT_BACK, RIGHT_FORWARD, RIGHT_RIGHT, RIGHT_LEFT = 16, 32, 64, 128
FRAME_60HZ = 128  # 128 / 255 of 1/30 s, about 1/60 s


def encode(rows, start_x, start_y, angle, steps):
    height = len(rows)
    width = len(rows[0]) if rows else 0
    fraction = lambda v, extent: min(65535, int(v / extent * 65536)) if extent else 0
    data = struct.pack("<BBHHh", width, height, fraction(start_x, width), fraction(start_y, height),
                       int(round(angle * 1024)))
    data += "".join(rows).encode("latin-1")
    for flags, dt in steps:
        data += bytes([flags, dt])
    return data


def hold(flags, count, dt=FRAME_60HZ):
    return [(flags, dt)] * count


def builtin_rows():
    with open(os.path.join(root, "src", "world", "level.cpp")) as source:
        rows = re.findall(r'^\s*"([^"]*)",', source.read(), re.M)
    assert len(rows) == 32 and all(len(r) == 32 for r in rows)
    return rows


def main():
    os.makedirs(out, exist_ok=True)
    rng = random.Random(5)
    drive = (hold(LEFT_FORWARD | RIGHT_FORWARD, 90) + hold(LEFT_FORWARD | RIGHT_BACK, 40) +
             hold(LEFT_FORWARD | RIGHT_FORWARD | LEFT_LEFT | RIGHT_LEFT, 60) + hold(0, 20) +
             hold(LEFT_BACK | RIGHT_BACK, 30) + hold(RIGHT_FORWARD, 30) + hold(LEFT_RIGHT | RIGHT_RIGHT, 40))
    random_drive = [(rng.randrange(256), rng.randrange(256)) for _ in range(300)]
    inputs = {
        "builtin_store": encode(builtin_rows(), 26.0, 3.0, math.pi, drive),
        "one_item_cell": encode(["o"], 0.5, 0.5, 0.0, hold(LEFT_FORWARD, 20)),
        "empty_map": encode([], 0.0, 0.0, 0.0, hold(LEFT_FORWARD | RIGHT_FORWARD, 30, 255)),
        "small_room": encode(["xxxxxxx", "x o  ox", "x  x  x", "xo    x", "xxxxxxx"], 3.5, 2.5, 0.5,
                             random_drive),
        "start_in_shelf": encode(["xxx", "xxx", "xxx"], 1.5, 1.5, 1.0, hold(LEFT_FORWARD | RIGHT_BACK, 60, 255)),
        "long_frames_into_wall": encode(["x" * 12, "x" + " " * 10 + "x", "x" * 12], 2.0, 1.5, 0.0,
                                        hold(LEFT_FORWARD | RIGHT_FORWARD, 200, 255)),
        # The largest map there is: the store four times over, with the start in the lower left copy.
        "largest_map": encode([r + r for r in builtin_rows()] * 2, 26.0, 3.0, math.pi, drive),
        "zero_frames": encode(["  o  "], 2.5, 0.5, -2.0, hold(LEFT_FORWARD | RIGHT_LEFT, 50, 0)),
    }
    for name, data in inputs.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
        print(f"{name}: {len(data)} bytes")


if __name__ == "__main__":
    main()
