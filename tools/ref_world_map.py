#!/usr/bin/python3
"""Writes the reference of the world map tests: where the Sun and the ISS
stand over the Earth at given instants, from Skyfield.

tests/data/ref_world_map.csv, one row per instant:
  kind ("sun" or "iss"), Julian date (UT), longitude (degrees east, -180 to
  180), geocentric latitude (degrees), geocentric distance (km).
  sun: the sub-solar point of 2026, every 42 hours: PyEphem 4.1.4 (Debian
  python3-ephem), the Sun's apparent geocentric right ascension and
  declination of date against Greenwich apparent sidereal time (distance 0).
  iss: the sub-satellite point (longitude, geocentric latitude, distance from
  the Earth's centre) of the ISS set of tests/data/elements_sample_horizon.txt
  every minute from one period before 2013-11-26 14:00 UTC to one period
  after: Skyfield 1.45 (Debian python3-skyfield, built-in time scale) with
  python3-sgp4, position in the ITRS frame.
  sunmap: the sub-solar point, as for "sun", at the map tests' clock
  (2013-11-26 14:00 UTC) and six hours later.

Run: /usr/bin/python3 tools/ref_world_map.py
"""
import math
import os

import ephem
from skyfield.api import EarthSatellite, load
from skyfield.framelib import itrs

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, '..', 'tests', 'data')


def iss_lines():
    lines = open(os.path.join(DATA, 'elements_sample_horizon.txt'), newline='').read().splitlines()
    for i, line in enumerate(lines):
        if line.startswith('1 25544'):
            return lines[i], lines[i + 1]
    raise SystemExit('no ISS set')


def fold(lon):
    lon = math.fmod(lon, 360.0)
    if lon > 180:
        lon -= 360
    if lon <= -180:
        lon += 360
    return lon


def main():
    ts = load.timescale(builtin=True)
    rows = []
    # The Sun: PyEphem's apparent place of date and its sidereal time.
    start = ephem.Date('2026/1/1 00:00:00')
    instants = [('sun', ephem.Date(start + k * 0.25)) for k in range(0, 365 * 4, 7)]
    instants += [('sunmap', ephem.Date('2013/11/26 14:00:00')), ('sunmap', ephem.Date('2013/11/26 20:00:00'))]
    for kind, d in instants:
        sun = ephem.Sun()
        sun.compute(d)
        obs = ephem.Observer()
        obs.date = d
        obs.lon = '0'
        obs.lat = '0'
        obs.pressure = 0
        gast = float(obs.sidereal_time())  # radians
        lon = fold(math.degrees(float(sun.g_ra) - gast))
        lat = math.degrees(float(sun.g_dec))
        jd = float(d) + 2415020.0
        rows.append((kind, jd, lon, lat, 0.0))
    # The ISS: Skyfield's SGP4 position in the Earth-fixed frame.
    l1, l2 = iss_lines()
    sat = EarthSatellite(l1, l2, 'ISS', ts)
    period_min = 1440.0 / (sat.model.no_kozai * 1440.0 / (2 * math.pi))
    n = int(period_min) + 1
    for m in range(-n, n + 1):
        t = ts.utc(2013, 11, 26, 14, m, 0)
        x, y, z = sat.at(t).frame_xyz(itrs).km
        lon = math.degrees(math.atan2(y, x))
        lat = math.degrees(math.atan2(z, math.hypot(x, y)))
        jd_utc = 2456623.0833333333 + m / 1440.0
        rows.append(('iss', jd_utc, lon, lat, math.sqrt(x * x + y * y + z * z)))
    with open(os.path.join(DATA, 'ref_world_map.csv'), 'w', newline='') as f:
        f.write('kind,jd_ut,longitude,latitude,distance_km\n')
        for kind, jd, lon, lat, r in rows:
            f.write('%s,%.7f,%.4f,%.4f,%.3f\n' % (kind, jd, lon, lat, r))
    print('period', period_min, 'rows', len(rows))


if __name__ == '__main__':
    main()
