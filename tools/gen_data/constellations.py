"""clines.dat and cnames.dat from d3-celestial's constellation figures and labels.

d3-celestial draws 743 segments; the program reads exactly 646. The figures
are thinned by removing, one at a time, the dangling end segment whose outer
star is faintest, never taking a constellation below two thirds of its
segments or below one segment, so every constellation stays drawn.
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


def build_lines():
    bsc = [(s["ra"], s["dec"], s["mag"]) for s in starcat.read_bsc()]
    index = starcat.SkyIndex(bsc)

    def magnitude_of(p):
        m = index.nearest(p[0], p[1], 0.2)
        return m[2] if m else 9.0

    segs = thin(load_segments(), SEGMENTS, magnitude_of)
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
