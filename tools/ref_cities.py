#!/usr/bin/python3
"""Writes tests/data/ref_cities.csv: the coordinates of the cities that
PyEphem carries (ephem.cities), an independent check of the city list the
program ships.

Run with Debian's python3-ephem:  /usr/bin/python3 tools/ref_cities.py
Columns: name, latitude (degrees north), longitude (degrees east).
"""
import math
import os

import ephem
import ephem.cities


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data", "ref_cities.csv")
    rows = []
    for name in sorted(ephem.cities._city_data):
        o = ephem.city(name)
        rows.append((name, math.degrees(o.lat), math.degrees(o.lon)))
    with open(out, "w", newline="\n") as f:
        f.write("# name,lat_deg,lon_deg  (PyEphem %s, ephem.cities)\n" % ephem.__version__)
        for name, lat, lon in rows:
            f.write("%s,%.5f,%.5f\n" % (name, lat, lon))
    print("wrote %d cities to %s" % (len(rows), os.path.normpath(out)))


if __name__ == "__main__":
    main()
