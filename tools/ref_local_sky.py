#!/usr/bin/python3
"""Reference positions for the local sky chart, from Debian's python3-ephem
and python3-skyfield. Writes tests/data/ref_local_sky.csv; run from anywhere:

    /usr/bin/python3 tools/ref_local_sky.py

Rows:
  star,<name>,<ra_h J2000>,<dec_deg J2000>,<alt_deg>,<az_deg>
  body,<key>,,,<alt_deg>,<az_deg>
      PyEphem 4.1 topocentric apparent altitude and azimuth (pressure 0, no
      refraction) at the instant and place of the 'instant' row.
  pass,<unix seconds UTC>,,,<alt_deg>,<az_deg>
      Skyfield topocentric altitude and azimuth of the ISS (ZARYA) set of
      tests/data/elements_sample.txt every 5 s through its first pass over
      the place after the 'instant' row whose culmination passes 20 degrees.
  passevent,<rise|culmination|set>,<unix seconds UTC>,,<alt_deg>,
  isslook,<unix seconds UTC>,<ra_h of date>,<dec_deg of date>,<alt_deg>,<az_deg>
      Skyfield topocentric place of the ISS two minutes after the rise (the
      whole second after it, plus 120 s), right ascension and declination of
      date, with a second row
  isssub,<unix seconds UTC>,<geocentric sub-point lat_deg>,<sub-point lon_deg>,<height_km>,<range_km>
  morning,<sole|luna>,,,<alt_deg>,<az_deg>
      PyEphem places of the Sun and the Moon at 09:00 UT that morning, when
      both stand above the horizon, and
  moonelong,<lambda moon - lambda sun, degrees 0..360>,,,,
      the Moon's ecliptic longitude less the Sun's, of date, at that instant.
"""
import calendar
import datetime
import math
import os

import ephem
import ephem.stars
from skyfield.api import EarthSatellite, load, wgs84
from skyfield.framelib import itrs

LAT, LON, HEIGHT = 41.9, 12.5, 50.0
# 26 November 2013, 20:00 UT (21:00 in Rome).
INSTANT = datetime.datetime(2013, 11, 26, 20, 0, 0)
BODIES = [('mercurio', ephem.Mercury), ('venere', ephem.Venus), ('marte', ephem.Mars),
          ('giove', ephem.Jupiter), ('saturno', ephem.Saturn), ('urano', ephem.Uranus),
          ('nettuno', ephem.Neptune), ('sole', ephem.Sun), ('luna', ephem.Moon)]


def iss_lines():
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, '..', 'tests', 'data', 'elements_sample.txt'), newline='') as f:
        lines = [l.rstrip('\r\n') for l in f.read().replace('\r\n', '\n').split('\n')]
    for i in range(0, len(lines) - 2, 3):
        if lines[i + 1][2:7] == '25544':
            return lines[i].strip(), lines[i + 1], lines[i + 2]
    raise SystemExit('no ISS set in elements_sample.txt')


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.join(here, '..', 'tests', 'data', 'ref_local_sky.csv')
    obs = ephem.Observer()
    obs.lat, obs.lon, obs.elevation = str(LAT), str(LON), HEIGHT
    obs.pressure = 0
    obs.date = ephem.Date(INSTANT)
    rows = []
    for name in sorted(ephem.stars.stars):
        s = ephem.star(name)
        s.compute(obs)
        rows.append(('star', name, '%.6f' % (math.degrees(s._ra) / 15.0), '%.5f' % math.degrees(s._dec),
                     '%.5f' % math.degrees(s.alt), '%.5f' % math.degrees(s.az)))
    for key, cls in BODIES:
        b = cls()
        b.compute(obs)
        rows.append(('body', key, '', '', '%.5f' % math.degrees(b.alt), '%.5f' % math.degrees(b.az)))

    morning = ephem.Observer()
    morning.lat, morning.lon, morning.elevation = str(LAT), str(LON), HEIGHT
    morning.pressure = 0
    morning.date = ephem.Date(datetime.datetime(2013, 11, 26, 9, 0, 0))
    sun, moon = ephem.Sun(morning), ephem.Moon(morning)
    for key, b in (('sole', sun), ('luna', moon)):
        rows.append(('morning', key, '', '', '%.5f' % math.degrees(b.alt), '%.5f' % math.degrees(b.az)))
    lam_sun = ephem.Ecliptic(ephem.Equatorial(sun.g_ra, sun.g_dec, epoch=morning.date), epoch=morning.date).lon
    lam_moon = ephem.Ecliptic(ephem.Equatorial(moon.g_ra, moon.g_dec, epoch=morning.date), epoch=morning.date).lon
    rows.append(('moonelong', '%.4f' % (math.degrees(lam_moon - lam_sun) % 360.0), '', '', '', ''))

    ts = load.timescale(builtin=True)
    name, l1, l2 = iss_lines()
    sat = EarthSatellite(l1, l2, name, ts)
    place = wgs84.latlon(LAT, LON, elevation_m=HEIGHT)
    t0 = ts.utc(2013, 11, 26, 14, 0, 0)
    t1 = ts.utc(2013, 11, 28, 14, 0, 0)
    times, events = sat.find_events(place, t0, t1, altitude_degrees=0.0)
    chosen = None
    for i in range(len(events) - 2):
        if list(events[i:i + 3]) == [0, 1, 2]:
            alt = (sat - place).at(times[i + 1]).altaz()[0].degrees
            if alt > 20:
                chosen = times[i:i + 3]
                break
    if chosen is None:
        raise SystemExit('no pass found')
    unix = [calendar.timegm(t.utc_datetime().timetuple()) + t.utc_datetime().microsecond / 1e6 for t in chosen]
    for kind, t, u in zip(('rise', 'culmination', 'set'), chosen, unix):
        alt = (sat - place).at(t).altaz()[0].degrees
        rows.append(('passevent', kind, '%.3f' % u, '', '%.5f' % alt, ''))
    u = int(math.ceil(unix[0])) + 120
    d = datetime.datetime.utcfromtimestamp(u)
    t = ts.utc(d.year, d.month, d.day, d.hour, d.minute, d.second)
    topo = (sat - place).at(t)
    alt, az, dist = topo.altaz()
    ra, dec, _ = topo.radec(epoch='date')
    rows.append(('isslook', str(u), '%.6f' % ra.hours, '%.5f' % dec.degrees, '%.5f' % alt.degrees,
                 '%.5f' % az.degrees))
    # The data box gives the geocentric latitude of the sub-point, and the
    # height above the ellipsoid.
    x, y, z = sat.at(t).frame_xyz(itrs).km
    sub = wgs84.geographic_position_of(sat.at(t))
    rows.append(('isssub', str(u), '%.5f' % math.degrees(math.atan2(z, math.hypot(x, y))),
                 '%.5f' % sub.longitude.degrees, '%.3f' % sub.elevation.km, '%.3f' % dist.km))
    start = int(math.floor(unix[0])) - 30
    end = int(math.ceil(unix[2])) + 30
    for u in range(start, end + 1, 5):
        d = datetime.datetime.utcfromtimestamp(u)
        t = ts.utc(d.year, d.month, d.day, d.hour, d.minute, d.second)
        alt, az, _ = (sat - place).at(t).altaz()
        rows.append(('pass', str(u), '', '', '%.5f' % alt.degrees, '%.5f' % az.degrees))

    with open(out, 'w', newline='\n') as f:
        f.write('# instant %s UT, place %.4f %.4f %.0f m; PyEphem %s; Skyfield (python3-skyfield)\n'
                % (INSTANT.isoformat(), LAT, LON, HEIGHT, ephem.__version__))
        for r in rows:
            f.write(','.join(r) + '\n')
    print('wrote %d rows to %s' % (len(rows), os.path.normpath(out)))


if __name__ == '__main__':
    main()
