#!/usr/bin/python3
"""Reference passes for the pass search: rise, culmination and set of three
satellites (low orbit, sun-synchronous, Molniya) over three observers for
three days, limits 0 and 10 degrees, from Skyfield's find_events (Debian
python3-skyfield, built-in time scale, no refraction); at every event the
elevation and azimuth (Skyfield), the Sun's elevation at the observer
(PyEphem's Sun, python3-ephem, pressure 0) and whether the satellite is in
the Earth's shadow (PyEphem), with the shadow flag also 30 seconds before
and after so that a test can leave out events at the edge of the shadow.

Writes tests/data/ref_passes.csv; run from anywhere:
    /usr/bin/python3 tools/ref_passes.py
"""
import csv
import math
import os

import ephem
from skyfield.api import EarthSatellite, load, wgs84

# Element sets as in tests/data/elements_sample.txt.
SETS = [
    ('ISS (ZARYA)',
     '1 25544U 98067A   13330.58127943  .00000814  00000-0  21834-4 0  1064',
     '2 25544  51.6484  23.7537 0001246  74.1647  18.7420 15.50540527859894'),
    ('CBERS 2',
     '1 28057U 03049A   06177.78615833  .00000060  00000-0  35940-4 0  1836',
     '2 28057  98.4283 247.6961 0000884  88.1964 271.9322 14.35478080140550'),
    ('MOLNIYA 2-14',
     '1 08195U 75081A   06176.33215444  .00000099  00000-0  11873-3 0   813',
     '2 08195  64.1586 279.0717 6877146 264.7651  20.2257  2.00491383225656'),
]
OBSERVERS = [
    ('Roma', 41.9028, 12.4964, 50.0),
    ('Tromso', 69.6492, 18.9553, 100.0),
    ('Sydney', -33.8688, 151.2093, 40.0),
]
LIMITS = [0.0, 10.0]
START_AFTER_EPOCH = 0.25  # days
SPAN = 3.0                # days


def jd_of(t):
    """Julian date (UTC) of a Skyfield time."""
    d = t.utc_datetime()
    return 2440587.5 + d.timestamp() / 86400.0


def state_bits(sat_e, obs_e, jd):
    obs_e.date = ephem.Date(jd - 2415020.0)
    sat_e.compute(obs_e)
    sun = ephem.Sun(obs_e)
    return int(bool(sat_e.eclipsed)), math.degrees(float(sun.alt))


def main(data_dir):
    ts = load.timescale(builtin=True)
    path = os.path.join(data_dir, 'ref_passes.csv')
    n = 0
    with open(path, 'w', newline='') as f:
        w = csv.writer(f, lineterminator='\n')
        w.writerow(['name', 'latitude', 'longitude', 'height_m', 'limit_deg', 'start_jd', 'end_jd',
                    'event', 'jd_utc', 'elevation_deg', 'azimuth_deg', 'sun_elevation_deg',
                    'eclipsed', 'eclipsed_before', 'eclipsed_after'])
        for name, l1, l2 in SETS:
            sat = EarthSatellite(l1, l2, name, ts)
            sat_e = ephem.readtle(name, l1, l2)
            epoch = sat.model.jdsatepoch + sat.model.jdsatepochF
            jd0 = epoch + START_AFTER_EPOCH
            jd1 = jd0 + SPAN
            t0 = ts.utc(2000, 1, 1.5 + (jd0 - 2451545.0))
            t1 = ts.utc(2000, 1, 1.5 + (jd1 - 2451545.0))
            for oname, lat, lon, h in OBSERVERS:
                topos = wgs84.latlon(lat, lon, elevation_m=h)
                obs_e = ephem.Observer()
                obs_e.lat = str(lat)
                obs_e.lon = str(lon)
                obs_e.elevation = h
                obs_e.pressure = 0
                for limit in LIMITS:
                    times, events = sat.find_events(topos, t0, t1, altitude_degrees=limit)
                    for t, e in zip(times, events):
                        alt, az, _ = (sat - topos).at(t).altaz()
                        jd = jd_of(t)
                        ecl, sun_alt = state_bits(sat_e, obs_e, jd)
                        ecl_b, _ = state_bits(sat_e, obs_e, jd - 30.0 / 86400.0)
                        ecl_a, _ = state_bits(sat_e, obs_e, jd + 30.0 / 86400.0)
                        w.writerow([name, lat, lon, h, limit, '%.8f' % jd0, '%.8f' % jd1,
                                    ('rise', 'culmination', 'set')[e], '%.10f' % jd,
                                    '%.6f' % alt.degrees, '%.6f' % az.degrees, '%.4f' % sun_alt,
                                    ecl, ecl_b, ecl_a])
                        n += 1
    print('wrote', n, 'events to', path)


if __name__ == '__main__':
    main(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'data'))
