"""landscape.dat: a horizon silhouette for the local sky chart.

The chart paints the picture stretched over the square that holds its
horizon circle (altitude 0 at the circle, altitude a at (90 - a) / 90 of the
radius) and lets the chart show through wherever the picture is pure green
RGB(0, 255, 0). Drawn here from a few sums of sines (hills), spikes (trees)
and steps (roof lines), with hard edges so that every pixel is either pure
green or silhouette. PNG data, lossless.
"""
import math
import os
import random

from PIL import Image, ImageDraw

SIZE = 720
GREEN = (0, 255, 0)


def altitude(az_deg, rng_trees, roofs):
    a = math.radians(az_deg)
    h = 1.6 + 0.9 * math.sin(2 * a + 0.7) + 0.6 * math.sin(5 * a + 2.1) + 0.3 * math.sin(11 * a + 0.4)
    for centre, width, height in rng_trees:
        d = abs((az_deg - centre + 180) % 360 - 180)
        if d < width:
            h = max(h, 1.5 + height * (1 - d / width))
    for start, end, height in roofs:
        if start <= az_deg < end:
            h = max(h, height)
    return max(h, 0.4)


def build():
    rnd = random.Random(20260101)
    trees = []
    for sector in ((20, 95), (150, 200), (290, 340)):
        az = sector[0]
        while az < sector[1]:
            trees.append((az, rnd.uniform(0.6, 1.4), rnd.uniform(2.0, 5.5)))
            az += rnd.uniform(0.8, 2.5)
    roofs = []
    az = 215.0
    while az < 270.0:
        w = rnd.uniform(2.0, 6.0)
        roofs.append((az, az + w, rnd.uniform(3.0, 7.5)))
        az += w + rnd.uniform(0.0, 2.0)
    img = Image.new("RGB", (SIZE, SIZE), GREEN)
    draw = ImageDraw.Draw(img)
    c = SIZE / 2.0
    r = SIZE / 2.0
    steps = 2880
    outer, inner = [], []
    for i in range(steps + 1):
        az = 360.0 * i / steps
        h = altitude(az, trees, roofs)
        # azimuth 0 at the top, growing towards the left (the chart's sense)
        t = math.radians(az)
        outer.append((c - r * math.sin(t), c - r * math.cos(t)))
        ri = r * (90.0 - h) / 90.0
        inner.append((c - ri * math.sin(t), c - ri * math.cos(t)))
    # the ring between the horizon and the silhouette's top edge
    for i in range(steps):
        az = 360.0 * (i + 0.5) / steps
        colour = (24, 24, 30) if any(s <= az < e for s, e, _ in roofs) else (16, 34, 18)
        draw.polygon([outer[i], outer[i + 1], inner[i + 1], inner[i]], fill=colour)
    return img


def write(out_dir):
    img = build()
    img.save(os.path.join(out_dir, "landscape.dat"), format="PNG", optimize=True)
    return {"size": img.size}
