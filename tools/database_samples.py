#!/usr/bin/python3
"""Writes the element-file samples of the database tests and their reference.

tests/data/elements_sample.txt: three-line element sets with CR LF line ends,
  the two-line sets of the SGP4 verification file (tests/data/SGP4-VER.TLE,
  "Revisiting Spacetrack Report #3") named after their comment line, plus the
  ISS set that Skyfield's own tests use.
tests/data/elements_sample_ref.csv: for each set, as python3-sgp4 reads it:
  catalogue number, epoch Julian date, inclination, node, eccentricity,
  argument of perigee, mean motion (rev/day), period (minutes).

Run: /usr/bin/python3 tools/database_samples.py
"""
import math
import os
from sgp4.api import Satrec

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, '..', 'tests', 'data')

ISS = ('ISS (ZARYA)',
       '1 25544U 98067A   13330.58127943  .00000814  00000-0  21834-4 0  1064',
       '2 25544  51.6484  23.7537 0001246  74.1647  18.7420 15.50540527859894')


def name_of(comment):
    name = comment.lstrip('#').split('#')[0].strip()
    return '' if name.startswith('-') else name


def verification_sets():
    lines = open(os.path.join(DATA, 'SGP4-VER.TLE'), newline='').read().splitlines()
    comment = ''
    out = []
    for i, line in enumerate(lines):
        if line.startswith('#'):
            if not name_of(comment):
                comment = line
            continue
        if line.startswith('1 ') and i + 1 < len(lines) and lines[i + 1].startswith('2 '):
            name = name_of(comment)
            if not name:
                name = 'SGP4-VER ' + line[2:7].strip()
            out.append((name[:24], line[:69], lines[i + 1][:69]))
            comment = ''
    return out


def main():
    sets = verification_sets() + [ISS]
    with open(os.path.join(DATA, 'elements_sample.txt'), 'w', newline='') as f:
        for s in sets:
            f.write('\r\n'.join(s) + '\r\n')
    with open(os.path.join(DATA, 'elements_sample_ref.csv'), 'w', newline='') as f:
        f.write('catalogue,epoch_jd,inclination,node,eccentricity,perigee,rev_per_day,period_min\n')
        for name, l1, l2 in sets:
            sat = Satrec.twoline2rv(l1, l2)
            rev = sat.no_kozai * 1440.0 / (2 * math.pi)
            f.write('%d,%.8f,%.4f,%.4f,%.7f,%.4f,%.8f,%.6f\n' % (
                sat.satnum, sat.jdsatepoch + sat.jdsatepochF, math.degrees(sat.inclo),
                math.degrees(sat.nodeo), sat.ecco, math.degrees(sat.argpo), rev, 1440.0 / rev))


if __name__ == '__main__':
    main()


def horizon(path_out, jd_ut, lat, lon, height_m):
    """The sample sets with their epoch moved to 26 November 2013 12:00 UT
    (elements_sample_horizon.txt), and the elevation of each for one observer
    and instant (Skyfield, SGP4 with WGS72 as in the element sets, no
    refraction); "nan" when SGP4 cannot propagate the set to that instant."""
    from skyfield.api import load, wgs84, EarthSatellite
    ts = load.timescale(builtin=True)
    t = ts.ut1_jd(jd_ut)
    where = wgs84.latlon(lat, lon, elevation_m=height_m)
    sets = [(n, l1[:18] + '13330.50000000' + l1[32:], l2) for n, l1, l2 in verification_sets() + [ISS]]
    with open(os.path.join(DATA, 'elements_sample_horizon.txt'), 'w', newline='') as f:
        for s in sets:
            f.write('\r\n'.join(s) + '\r\n')
    with open(path_out, 'w', newline='') as f:
        f.write('# jd_ut=%.6f lat=%.4f lon=%.4f height_m=%.1f\n' % (jd_ut, lat, lon, height_m))
        f.write('catalogue,elevation_deg\n')
        for name, l1, l2 in sets:
            sat = EarthSatellite(l1, l2, name, ts)
            err, _, _ = sat.model.sgp4(t.whole, t.ut1_fraction)
            if err != 0:
                f.write('%d,nan\n' % sat.model.satnum)
                continue
            alt, _, _ = (sat - where).at(t).altaz()
            f.write('%d,%.4f\n' % (sat.model.satnum, alt.degrees))


if __name__ == '__main__' and len(__import__('sys').argv) > 1 and __import__('sys').argv[1] == 'horizon':
    # 26 November 2013 14:00 UT, Milan.
    horizon(os.path.join(DATA, 'elements_sample_horizon.csv'), 2456623.0833333, 45.4642, 9.19, 120.0)
