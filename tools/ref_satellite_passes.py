#!/usr/bin/python3
"""Rise, culmination and set of two low satellites over two observers for two
days, from Skyfield's find_events (Debian python3-skyfield, built-in time
scale, no refraction). Writes tests/data/ref_satellite_passes.csv; run from
the top of the source tree (or through tools/ref_satellite.py passes)."""
import csv
import os

from skyfield.api import EarthSatellite, load, wgs84

SETS = [
    ('DELTA 1 DEB',
     '1 06251U 62025E   06176.82412014  .00008885  00000-0  12808-3 0  3985',
     '2 06251  58.0579  54.0425 0030035 139.1568 221.1854 15.56387291  6774'),
    ('CBERS 2',
     '1 28057U 03049A   06177.78615833  .00000060  00000-0  35940-4 0  1836',
     '2 28057  98.4283 247.6961 0000884  88.1964 271.9322 14.35478080140550'),
]
OBSERVERS = [
    ('Roma', 41.9028, 12.4964, 50.0),
    ('Tromso', 69.6492, 18.9553, 100.0),
]
LIMITS = [0.0, 10.0]


def main(data_dir):
    ts = load.timescale(builtin=True)
    path = os.path.join(data_dir, 'ref_satellite_passes.csv')
    n = 0
    with open(path, 'w', newline='') as f:
        w = csv.writer(f, lineterminator='\n')
        w.writerow(['name', 'line1', 'line2', 'latitude', 'longitude', 'height_m', 'limit_deg',
                    'event', 'jd_utc', 'elevation_deg'])
        for name, l1, l2 in SETS:
            sat = EarthSatellite(l1, l2, name, ts)
            jd0 = sat.model.jdsatepoch + sat.model.jdsatepochF
            t0 = ts.tai_jd(jd0 + 33.0 / 86400.0)
            t1 = ts.tai_jd(jd0 + 2.0 + 33.0 / 86400.0)
            for oname, lat, lon, h in OBSERVERS:
                topos = wgs84.latlon(lat, lon, elevation_m=h)
                for limit in LIMITS:
                    times, events = sat.find_events(topos, t0, t1, altitude_degrees=limit)
                    for t, e in zip(times, events):
                        alt = (sat - topos).at(t).altaz()[0].degrees
                        jd = t.tai - 33.0 / 86400.0
                        w.writerow([name, l1, l2, lat, lon, h, limit, ('rise', 'culmination', 'set')[e],
                                    '%.10f' % jd, '%.6f' % alt])
                        n += 1
    print('wrote', n, 'events to', path)


if __name__ == '__main__':
    main(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'data'))
