#!/usr/bin/env python3
"""Compare pictures drawn afresh with the committed ones by their pixels.

  compare_pictures.py DRAWN_ROOT COMMITTED_ROOT

Every file under DRAWN_ROOT is compared with the file of the same path under
COMMITTED_ROOT. Text files (the SVG icon, our own description of the
drawing) must be equal byte for byte. Pictures are decoded to RGBA and must
have the same size; the encoders' share (JPEG and palette rounding, PNG
compression, librsvg's antialiasing) is allowed within this tolerance:
  - the mean over all pixels of the largest channel difference is at most
    MEAN_LEVELS (of 255), and
  - at most FAR_SHARE of the pixels (and never more than FAR_MAX_PIXELS_MIN
    if that is larger) differ in some channel by more than FAR_LEVELS.
A moved or missing shape, another colour or another size fails; an encoder
that rounds a little differently does not.
"""

import os
import sys

try:
    from PIL import Image, ImageChops
except ImportError:
    sys.exit("compare_pictures: Pillow is missing (Debian package python3-pil)")

MEAN_LEVELS = 1.5
FAR_LEVELS = 32
FAR_SHARE = 0.0005
FAR_MAX_PIXELS_MIN = 4
TEXT_SUFFIXES = (".svg",)


def rgba(path):
    with Image.open(path) as img:
        # Premultiplied: the colour of a clear pixel does not count.
        return img.convert("RGBA").convert("RGBa")


def difference(drawn, committed):
    """None if within the tolerance, else what is beyond it."""
    a, b = rgba(drawn), rgba(committed)
    if a.size != b.size:
        return "size %dx%d, committed %dx%d" % (a.size + b.size)
    # The largest channel difference of each pixel.
    bands = ImageChops.difference(a, b).split()
    largest = bands[0]
    for band in bands[1:]:
        largest = ImageChops.lighter(largest, band)
    hist = largest.histogram()
    pixels = a.size[0] * a.size[1]
    mean = sum(level * n for level, n in enumerate(hist)) / pixels
    far = sum(hist[FAR_LEVELS + 1:])
    allowed = max(FAR_MAX_PIXELS_MIN, int(FAR_SHARE * pixels))
    if mean > MEAN_LEVELS or far > allowed:
        return "mean difference %.2f levels (at most %g), %d pixels off by more than %d (at most %d)" % (
            mean, MEAN_LEVELS, far, FAR_LEVELS, allowed)
    return None


def main():
    drawn_root, committed_root = sys.argv[1], sys.argv[2]
    drawn = sorted(os.path.relpath(os.path.join(d, f), drawn_root)
                   for d, _, files in os.walk(drawn_root) for f in files)
    if not drawn:
        sys.exit("draw-pictures drew nothing")
    differ = 0
    for rel in drawn:
        new, old = os.path.join(drawn_root, rel), os.path.join(committed_root, rel)
        if not os.path.exists(old):
            why = "not committed"
        elif rel.endswith(TEXT_SUFFIXES):
            with open(new, "rb") as f1, open(old, "rb") as f2:
                why = None if f1.read() == f2.read() else "text differs"
        else:
            why = difference(new, old)
        if why:
            print("not as drawn now: %s: %s" % (rel, why), file=sys.stderr)
            differ += 1
    if differ:
        sys.exit("%d of %d pictures differ: run scripts/draw-pictures" % (differ, len(drawn)))
    print("%d pictures as drawn" % len(drawn))


if __name__ == "__main__":
    main()
