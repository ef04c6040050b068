#!/usr/bin/python3
"""Reference magnitudes of the seven planets over 2026-2027.

Writes tests/data/planet_magnitudes_pyephem.csv: for every day of 2026 and
2027 at 0h UT, each planet's visual magnitude, its elongation from the Sun
(degrees) and its illuminated fraction, from PyEphem (Debian python3-ephem,
geocentric). PyEphem's magnitudes follow the phase laws of the Explanatory
Supplement to the Astronomical Almanac (1992), with the rings' term for
Saturn.

Columns: julian date (UT), body row (1 Mercury .. 7 Neptune), magnitude,
elongation (degrees), illuminated fraction.

Usage: /usr/bin/python3 tools/planet_magnitudes_reference.py   (from anywhere)
"""
import csv
import math
import os

import ephem

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURE = os.path.join(HERE, "..", "tests", "data", "planet_magnitudes_pyephem.csv")


def main():
    bodies = [ephem.Mercury(), ephem.Venus(), ephem.Mars(), ephem.Jupiter(), ephem.Saturn(),
              ephem.Uranus(), ephem.Neptune()]
    start = ephem.Date((2026, 1, 1, 0, 0, 0))
    end = ephem.Date((2028, 1, 1, 0, 0, 0))
    with open(FIXTURE, "w", newline="") as f:
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["jd_ut", "row", "magnitude", "elongation_deg", "illuminated"])
        day = start
        while day < end:
            jd = float(day) + 2415020.0
            for row, body in enumerate(bodies, start=1):
                body.compute(day)
                w.writerow(["%.1f" % jd, row, "%.2f" % body.mag, "%.2f" % abs(math.degrees(body.elong)),
                            "%.4f" % (body.phase / 100.0)])
            day = ephem.Date(day + 1)


if __name__ == "__main__":
    main()
