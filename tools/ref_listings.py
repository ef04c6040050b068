#!/usr/bin/python3
"""Reference figures of the ephemeris and relative-motion listing tests.

Writes tests/data/ref_listings.csv: for two satellites (the ISS set of
Skyfield's own tests and the DELTA 1 DEB set of SGP4-VER.TLE with its epoch
moved to 2013 day 330.5, as in tests/data/elements_sample_horizon.txt) seen
from Milan (45.4642 N, 9.19 E, 120 m), every 60 s from 2013-11-26 14:00:00 UT
for 20 minutes, and again from 22:58 UT for 13 minutes (a pass of the ISS, 22:59:29
to 23:09:56 UT); `minute` counts from 14:00 UT:

  sat rows:  the satellite's elevation, azimuth, range (km), range rate
             (km/s), geocentric sub-satellite latitude and east longitude
             0..360
             (degrees), height above the WGS84 ellipsoid (km), topocentric
             right ascension (hours) and declination (degrees) of date, and
             its TEME position (km) and velocity (km/s) from python3-sgp4;
  rel rows:  the distance between the two satellites (km), the angle between
             their TEME position vectors at the Earth's centre and the angle
             between the two lines of sight at the observer (degrees).

Skyfield 1.45 (Debian python3-skyfield, built-in time scale, no refraction)
and python3-sgp4 2.15 (WGS72).

Run: /usr/bin/python3 tools/ref_listings.py
"""
import math
import os

from sgp4.api import Satrec
from skyfield.api import EarthSatellite, load, wgs84
from skyfield.framelib import itrs as itrs_frame

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, '..', 'tests', 'data')

SETS = {
    'A': ('ISS (ZARYA)',
          '1 25544U 98067A   13330.58127943  .00000814  00000-0  21834-4 0  1064',
          '2 25544  51.6484  23.7537 0001246  74.1647  18.7420 15.50540527859894'),
    'B': ('DELTA 1 DEB',
          '1 06251U 62025E   13330.50000000  .00008885  00000-0  12808-3 0  3985',
          '2 06251  58.0579  54.0425 0030035 139.1568 221.1854 15.56387291  6774'),
}
LAT, LON, HEIGHT = 45.4642, 9.19, 120.0


def angle(u, v):
    c = sum(a * b for a, b in zip(u, v)) / (math.sqrt(sum(a * a for a in u)) * math.sqrt(sum(b * b for b in v)))
    return math.degrees(math.acos(max(-1.0, min(1.0, c))))


def main():
    ts = load.timescale(builtin=True)
    here = wgs84.latlon(LAT, LON, elevation_m=HEIGHT)
    sats = {k: EarthSatellite(s[1], s[2], s[0], ts) for k, s in SETS.items()}
    recs = {k: Satrec.twoline2rv(s[1], s[2]) for k, s in SETS.items()}
    out = open(os.path.join(DATA, 'ref_listings.csv'), 'w', newline='')
    out.write('# tools/ref_listings.py: Skyfield 1.45, python3-sgp4 2.15; observer Milan 45.4642 N 9.19 E 120 m\n')
    for k, s in SETS.items():
        out.write('set,%s,%s,%s,%s\n' % (k, s[0], s[1], s[2]))
    out.write('# sat,key,minute,jd_ut,elevation,azimuth,range_km,range_rate_kms,sublat,sublon_east,height_km,'
              'ra_hours,dec_deg,x,y,z,vx,vy,vz\n')
    out.write('# rel,minute,jd_ut,distance_km,alpha_deg,beta_deg\n')
    for minute in list(range(0, 21)) + list(range(538, 552)):
        t = ts.utc(2013, 11, 26, 14, minute, 0)
        # python3-sgp4 takes the UTC Julian date, as Skyfield does.
        jd_utc = 2456622.5 + 14.0 / 24.0 + minute / 1440.0
        teme = {}
        look = {}
        for k, sat in sats.items():
            topo = (sat - here).at(t)
            alt, az, dist = topo.altaz()
            _, _, _, _, _, rate = topo.frame_latlon_and_rates(here)
            sub = wgs84.subpoint_of(sat.at(t))
            itrs = sat.at(t).frame_xyz(itrs_frame).km
            geolat = math.degrees(math.atan2(itrs[2], math.hypot(itrs[0], itrs[1])))
            h = wgs84.height_of(sat.at(t)).km
            ra, dec, _ = topo.radec(epoch='date')
            e, r, v = recs[k].sgp4(2456622.5, jd_utc - 2456622.5)
            assert e == 0
            teme[k] = r
            look[k] = topo.frame_xyz(here).km  # observer's horizon frame
            out.write('sat,%s,%d,%.8f,%.4f,%.4f,%.3f,%.5f,%.4f,%.4f,%.3f,%.6f,%.5f,%.4f,%.4f,%.4f,%.6f,%.6f,%.6f\n' % (
                k, minute, jd_utc, alt.degrees, az.degrees, dist.km, rate.km_per_s, geolat,
                sub.longitude.degrees % 360.0, h, ra.hours, dec.degrees, r[0], r[1], r[2], v[0], v[1], v[2]))
        d = math.sqrt(sum((a - b) ** 2 for a, b in zip(teme['A'], teme['B'])))
        out.write('rel,%d,%.8f,%.4f,%.5f,%.5f\n' % (minute, jd_utc, d, angle(teme['A'], teme['B']),
                                                   angle(look['A'], look['B'])))
    out.close()


if __name__ == '__main__':
    main()
