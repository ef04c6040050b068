"""clines.dat and cnames.dat from d3-celestial's constellation figures and labels.

d3-celestial draws 743 segments; the program reads exactly 646. The figures
are thinned by removing, one at a time, the dangling end segment whose outer
star is faintest, never taking a constellation below two thirds of its
segments or below one segment, so every constellation stays drawn. A
segment near a pole whose ends lie 12 to 16 h apart in right ascension is
cut in two at its middle, so the whole-sky chart draws it the short way.
"""
import json
import math

import sources
import stars as starcat

SEGMENTS = 646


def ra_hours(lon_deg):
    return (lon_deg % 360.0) / 15.0


def load_segments():
    with open(sources.npm("d3-celestial", "data/constellations.lines.json"), encoding="utf-8") as f:
        lines = json.load(f)
    segs = []  # (constellation, (ra,dec), (ra,dec)), figure order
    seen = set()
    for feat in lines["features"]:
        for poly in feat["geometry"]["coordinates"]:
            for a, b in zip(poly, poly[1:]):
                pa = (round(ra_hours(a[0]), 4), round(a[1], 4))
                pb = (round(ra_hours(b[0]), 4), round(b[1], 4))
                key = (feat["id"],) + tuple(sorted([pa, pb]))
                if key in seen or pa == pb:
                    continue
                seen.add(key)
                segs.append((feat["id"], pa, pb))
    return segs


def thin(segs, target, magnitude_of):
    per = {}
    for s in segs:
        per[s[0]] = per.get(s[0], 0) + 1
    floor = {c: max(1, math.ceil(n * 2 / 3)) for c, n in per.items()}
    segs = list(segs)
    while len(segs) > target:
        degree = {}
        for c, a, b in segs:
            degree[(c, a)] = degree.get((c, a), 0) + 1
            degree[(c, b)] = degree.get((c, b), 0) + 1
        best, best_mag = None, None
        for i, (c, a, b) in enumerate(segs):
            if per[c] <= floor[c]:
                continue
            for end in (a, b):
                if degree[(c, end)] == 1:
                    mag = magnitude_of(end)
                    if best_mag is None or mag > best_mag:
                        best, best_mag = i, mag
        if best is None:
            raise ValueError("cannot thin the figures to %d segments" % target)
        per[segs[best][0]] -= 1
        del segs[best]
    return segs


def needs_split(seg):
    """A segment the whole-sky chart would draw the long way round: it takes
    the direct line for a right ascension difference up to 16 h, so a segment
    near a pole whose ends are 12 to 16 h apart is cut at its middle."""
    d = abs(seg[1][0] - seg[2][0])
    return 12.0 < d <= 16.0


def great_circle_point(a, b, t):
    def vec(p):
        ra, dec = math.radians(p[0] * 15), math.radians(p[1])
        return (math.cos(dec) * math.cos(ra), math.cos(dec) * math.sin(ra), math.sin(dec))
    va, vb = vec(a), vec(b)
    m = [x * (1 - t) + y * t for x, y in zip(va, vb)]
    n = math.sqrt(sum(x * x for x in m))
    m = [x / n for x in m]
    ra = (math.degrees(math.atan2(m[1], m[0])) % 360.0) / 15.0
    return (round(ra, 4), round(math.degrees(math.asin(m[2])), 4))


def split_point(seg):
    """A point of the segment's great circle that leaves no piece to be
    drawn the long way round."""
    c, a, b = seg
    for k in range(1, 100):
        m = great_circle_point(a, b, k / 100.0)
        if not needs_split((c, a, m)) and not needs_split((c, m, b)):
            return m
    raise ValueError("cannot split segment %r" % (seg,))


def build_lines():
    bsc = [(s["ra"], s["dec"], s["mag"]) for s in starcat.read_bsc()]
    index = starcat.SkyIndex(bsc)

    def magnitude_of(p):
        m = index.nearest(p[0], p[1], 0.2)
        return m[2] if m else 9.0

    raw = load_segments()
    splits = sum(1 for s in raw if needs_split(s))
    segs = []
    for c, a, b in thin(raw, SEGMENTS - splits, magnitude_of):
        if needs_split((c, a, b)):
            m = split_point((c, a, b))
            segs += [(c, a, m), (c, m, b)]
        else:
            segs.append((c, a, b))
    rows = []
    for c, a, b in segs:
        rows.append('"%s",%d,%d,%d,%d' % (c, round(a[0] * 1000), round(a[1] * 100),
                                            round(b[0] * 1000), round(b[1] * 100)))
    return rows, len({s[0] for s in segs})


def build_names():
    with open(sources.npm("d3-celestial", "data/constellations.json"), encoding="utf-8") as f:
        cons = json.load(f)
    rows = []
    for feat in cons["features"]:
        lon, lat = feat["geometry"]["coordinates"]
        name = starcat.ascii_text(feat["properties"]["name"])
        rows.append('%d,%d,"%s","%s"' % (round(ra_hours(lon) * 1000), round(lat * 100),
                                          name, feat["id"]))
    return rows


def write(out_dir):
    lines, drawn = build_lines()
    names = build_names()
    if len(lines) != SEGMENTS or len(names) != 89:
        raise ValueError("unexpected counts %d %d" % (len(lines), len(names)))
    with open(out_dir + "/clines.dat", "w", encoding="ascii", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")
    with open(out_dir + "/cnames.dat", "w", encoding="ascii", newline="\r\n") as f:
        f.write("\n".join(names) + "\n")
    return {"segments": len(lines), "constellations_drawn": drawn, "names": len(names)}
