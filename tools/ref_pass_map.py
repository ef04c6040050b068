#!/usr/bin/python3
"""Reference fixtures for the pass map: two passes of the ISS (the ZARYA set of
tests/data/elements_sample.txt) over Milan (45.4642 N, 9.19 E, 120 m), each
with the satellite's track every 15 seconds, and the Sun, the Moon, the
planets and a few stars at the pass's culmination:
  ref_pass_map.csv         the first pass above 30 degrees (in the Earth's
                           shadow from start to end, deep night);
  ref_pass_map_sunlit.csv  the first pass above 30 degrees culminating with
                           the Sun between -12 and -6 degrees (it comes out
                           of the shadow half way: red, then yellow).

Satellite: Skyfield (Debian python3-skyfield, built-in time scale, no
refraction) with python3-sgp4; pass events by Skyfield find_events (limit 0).
Earth shadow, Sun, Moon and planets: PyEphem (Debian python3-ephem), pressure
0 (no refraction), topocentric. Stars: PyEphem FixedBody at the catalogue
place of J2000 (apparent place of the date: precession, nutation,
aberration).

Each file has rows:
  pass,<rise ISO UTC>,<culmination>,<set>,<max elevation>
  track,<ISO UTC>,<elevation>,<azimuth>,<eclipsed 0/1>
  body,<row 1..9>,<elevation>,<azimuth>
  moonphase,<Moon's ecliptic longitude minus the Sun's, radians 0..2pi>
  star,<ra hours>,<dec degrees>,<elevation>,<azimuth>

Usage: /usr/bin/python3 tools/ref_pass_map.py   (from the source tree's top)
"""
import datetime as dt
import math
import os

import ephem
from skyfield.api import EarthSatellite, load, wgs84

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "tests", "data")
LAT, LON, HEIGHT = 45.4642, 9.19, 120.0


def iss_lines():
    with open(os.path.join(DATA, "elements_sample.txt"), newline="") as f:
        lines = [l.rstrip("\r\n") for l in f.read().split("\r\n")]
    for i in range(1, len(lines) - 1):
        if lines[i][2:7] == "25544" and lines[i].startswith("1 "):
            return lines[i - 1].strip(), lines[i], lines[i + 1]
    raise SystemExit("no ISS set")


def observer(when):
    o = ephem.Observer()
    o.lat, o.lon, o.elevation = str(LAT), str(LON), HEIGHT
    o.pressure = 0
    o.date = ephem.Date(when)
    return o


def main():
    name, l1, l2 = iss_lines()
    ts = load.timescale(builtin=True)
    sat = EarthSatellite(l1, l2, name, ts)
    place = wgs84.latlon(LAT, LON, HEIGHT)
    t0 = sat.epoch
    t1 = ts.tt_jd(t0.tt + 2.0)
    times, events = sat.find_events(place, t0, t1, altitude_degrees=0.0)
    passes = []
    for i in range(len(events) - 2):
        if list(events[i:i + 3]) == [0, 1, 2]:
            alt = (sat - place).at(times[i + 1]).altaz()[0].degrees
            passes.append((times[i], times[i + 1], times[i + 2], alt))
    first = next(p for p in passes if p[3] > 30)
    write(first, "ref_pass_map.csv", "ISS over Milan", ts, sat, place, name, l1, l2)

    def sun_at(t):
        s = ephem.Sun()
        s.compute(observer(t.utc_datetime()))
        return math.degrees(s.alt)
    twilight = next(p for p in passes if p[3] > 30 and -12 < sun_at(p[1]) <= -6)
    write(twilight, "ref_pass_map_sunlit.csv", "ISS over Milan, leaving the shadow at dawn", ts, sat, place,
          name, l1, l2)


def write(pass_, filename, title, ts, sat, place, name, l1, l2):
    rise, culm, set_, top = pass_
    rows = []
    iso = lambda t: t.utc_datetime().replace(microsecond=0).strftime("%Y-%m-%dT%H:%M:%S")
    rows.append("pass,%s,%s,%s,%.4f" % (iso(rise), iso(culm), iso(set_), top))

    rd = rise.utc_datetime().replace(microsecond=0)
    start = rd - dt.timedelta(seconds=rd.second % 15 + 60)
    end = set_.utc_datetime() + dt.timedelta(seconds=240)
    t = start
    ishadow = ephem.readtle(name, l1, l2)
    while t <= end:
        sk = ts.from_datetime(t)
        alt, az, _ = (sat - place).at(sk).altaz()
        ishadow.compute(observer(t))
        rows.append("track,%s,%.5f,%.5f,%d" % (t.strftime("%Y-%m-%dT%H:%M:%S"), alt.degrees, az.degrees,
                                             1 if ishadow.eclipsed else 0))
        t += dt.timedelta(seconds=15)

    cd = culm.utc_datetime().replace(microsecond=0)
    o = observer(cd)
    bodies = [ephem.Mercury(), ephem.Venus(), ephem.Mars(), ephem.Jupiter(), ephem.Saturn(), ephem.Uranus(),
              ephem.Neptune(), ephem.Sun(), ephem.Moon()]
    for row, b in enumerate(bodies, start=1):
        b.compute(o)
        rows.append("body,%d,%.4f,%.4f" % (row, math.degrees(b.alt), math.degrees(b.az)))
    sun, moon = ephem.Sun(), ephem.Moon()
    sun.compute(ephem.Date(cd))
    moon.compute(ephem.Date(cd))
    lam = lambda b: float(ephem.Ecliptic(b, epoch=ephem.Date(cd)).lon)
    rows.append("moonphase,%.5f" % ((lam(moon) - lam(sun)) % (2 * math.pi)))

    # Sirius, Vega, Arcturus, Capella, Rigel, Deneb at their J2000 places.
    for ra, dec in [(6.7525, -16.7161), (18.6156, 38.7837), (14.2610, 19.1825), (5.2782, 45.9980),
                    (5.2423, -8.2016), (20.6905, 45.2803)]:
        s = ephem.FixedBody()
        s._ra, s._dec = math.radians(ra * 15), math.radians(dec)
        s._epoch = ephem.J2000
        s.compute(o)
        rows.append("star,%.4f,%.4f,%.4f,%.4f" % (ra, dec, math.degrees(s.alt), math.degrees(s.az)))

    with open(os.path.join(DATA, filename), "w") as f:
        f.write("# %s, see tools/ref_pass_map.py\n" % title)
        f.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
