#!/usr/bin/python3
"""Writes tests/data/ref_stars.csv: the J2000 catalogue positions and visual
magnitudes of the named bright stars that PyEphem carries (ephem.stars), an
independent check of the star catalogue the program ships.

Run with Debian's python3-ephem:  /usr/bin/python3 tools/ref_stars.py
Columns: name, right ascension (hours), declination (degrees), magnitude;
brightest first. Positions are the catalogue's own (equinox and epoch J2000).
"""
import math
import os
import sys

import ephem
import ephem.stars


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data", "ref_stars.csv")
    rows = []
    for name in sorted(ephem.stars.stars):
        s = ephem.star(name)
        s.compute(epoch=ephem.J2000)  # fills the catalogue fields; _ra/_dec stay as catalogued
        if abs(s._epoch - ephem.J2000) > 1e-6:
            sys.exit("%s: catalogue epoch is not J2000" % name)
        rows.append((s.mag, name, math.degrees(s._ra) / 15.0, math.degrees(s._dec)))
    rows.sort()
    with open(out, "w", newline="\n") as f:
        f.write("# name,ra_hours,dec_deg,mag  (PyEphem %s, ephem.stars, J2000)\n" % ephem.__version__)
        for mag, name, ra, dec in rows:
            f.write("%s,%.6f,%.5f,%.2f\n" % (name, ra, dec, mag))
    print("wrote %d stars to %s" % (len(rows), os.path.normpath(out)))


if __name__ == "__main__":
    main()
