#!/usr/bin/python3
"""Look angles, range and range rate of a few real satellites for a few
observers, from Skyfield (Debian python3-skyfield, built-in time scale, no
refraction), with the Sun's elevation and the satellite's eclipse flag from PyEphem
(python3-ephem, pressure 0). Writes tests/data/ref_satellite_look.csv; run through
tools/ref_satellite.py look, or alone from the top of the source tree."""
import csv
import os

import math

import ephem
from skyfield.api import EarthSatellite, load, wgs84
from skyfield.framelib import itrs

# Real element sets from the SGP4 verification file: a low orbit with drag,
# a sun-synchronous orbit, a 12-hour Molniya orbit and a geostationary one.
SETS = [
    ('DELTA 1 DEB',
     '1 06251U 62025E   06176.82412014  .00008885  00000-0  12808-3 0  3985',
     '2 06251  58.0579  54.0425 0030035 139.1568 221.1854 15.56387291  6774'),
    ('CBERS 2',
     '1 28057U 03049A   06177.78615833  .00000060  00000-0  35940-4 0  1836',
     '2 28057  98.4283 247.6961 0000884  88.1964 271.9322 14.35478080140550'),
    ('MOLNIYA 2-14',
     '1 08195U 75081A   06176.33215444  .00000099  00000-0  11873-3 0   813',
     '2 08195  64.1586 279.0717 6877146 264.7651  20.2257  2.00491383225656'),
    ('ITALSAT 2',
     '1 24208U 96044A   06177.04061740 -.00000094  00000-0  10000-3 0  1600',
     '2 24208   3.8536  80.0121 0026640 311.0977  48.3000  1.00778054 36119'),
]

OBSERVERS = [
    ('Roma', 41.9028, 12.4964, 50.0),
    ('Sydney', -33.8688, 151.2093, 30.0),
    ('Tromso', 69.6492, 18.9553, 100.0),
    ('Quito', -0.1807, -78.4678, 2850.0),
]


def main(data_dir):
    ts = load.timescale(builtin=True)
    path = os.path.join(data_dir, 'ref_satellite_look.csv')
    with open(path, 'w', newline='') as f:
        w = csv.writer(f, lineterminator='\n')
        w.writerow(['name', 'line1', 'line2', 'latitude', 'longitude', 'height_m', 'jd_utc',
                    'elevation_deg', 'azimuth_deg', 'range_km', 'range_rate_kms',
                    'sub_longitude_deg', 'sub_geocentric_latitude_deg', 'height_km', 'sun_elevation_deg',
                    'eclipsed'])
        rows = 0
        for name, l1, l2 in SETS:
            sat = EarthSatellite(l1, l2, name, ts)
            epoch = sat.epoch.utc_jpl()
            jd0 = sat.model.jdsatepoch + sat.model.jdsatepochF
            for oname, lat, lon, h in OBSERVERS:
                topos = wgs84.latlon(lat, lon, elevation_m=h)
                # Every 37 minutes over a day and a half from the epoch.
                for k in range(0, 60):
                    jd = jd0 + k * 37.0 / 1440.0
                    t = ts.tai_jd(jd + 33.0 / 86400.0)  # in 2006 TAI - UTC = 33 s
                    diff = (sat - topos).at(t)
                    alt, az, dist, _, _, rr = diff.frame_latlon_and_rates(topos)
                    geo = sat.at(t)
                    x, y, z = geo.frame_xyz(itrs).km
                    sub = wgs84.subpoint_of(geo)
                    height = wgs84.height_of(geo).km
                    obs = ephem.Observer()
                    obs.lat, obs.lon, obs.elevation = str(lat), str(lon), h
                    obs.pressure = 0
                    obs.date = jd - 2415020.0  # ephem counts days from 1899 Dec 31 12h
                    sun = ephem.Sun(obs)
                    esat = ephem.readtle(name, l1, l2)
                    esat.compute(obs)
                    w.writerow([name, l1, l2, lat, lon, h, '%.10f' % jd, '%.6f' % alt.degrees,
                                '%.6f' % az.degrees, '%.6f' % dist.km, '%.8f' % rr.km_per_s,
                                '%.6f' % sub.longitude.degrees,
                                '%.6f' % math.degrees(math.atan2(z, math.hypot(x, y))),
                                '%.6f' % height, '%.6f' % math.degrees(float(sun.alt)),
                                int(bool(esat.eclipsed))])
                    rows += 1
        print('wrote', rows, 'rows to', path, '(epoch of the last set', epoch, ')')


if __name__ == '__main__':
    main(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'data'))
