#!/usr/bin/python3
"""Reference fixtures for the Sun, Moon and planet positions and for the rise
and set times of the Sun and the Moon, computed with PyEphem (Debian's
python3-ephem, run with /usr/bin/python3).

Writes into tests/data/:
  ref_bodies_positions.csv  geocentric positions at assorted instants
  ref_bodies_riseset.csv    rise and set of Sun and Moon for places and dates
                            (local times in minutes from local midnight)
  planets_j2000_test.dat    planet elements in the layout of planets.dat, the
                            input of the planet model in the tests

Usage: /usr/bin/python3 tools/ref_bodies.py   (from the source tree's top)
The output is deterministic for a given PyEphem version.
"""
import math
import os
import random
import sys

import ephem

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "data")

# ---------------------------------------------------------------------------
# Planet elements. JPL "Planetary Mean Orbits (J2000)" (E. M. Standish, the
# mean elements of the Explanatory Supplement to the Astronomical Almanac,
# 1992, table 5.8.1): a (AU), e, i, node, longitude of perihelion, mean
# longitude L (degrees) at J2000, and the rate of L in arc seconds per Julian
# century, from which the period in tropical years follows. Apparent diameter
# at 1 AU (arc seconds) and magnitude at 1 AU: Duffett-Smith, Practical
# Astronomy with your Calculator, 3rd ed., table 8.
JPL = [
    # name      a            e           i        node       peri       L          Ldot "/Cy         diam    V0
    ("mercurio", 0.38709893, 0.20563069, 7.00487, 48.33167, 77.45645, 252.25084, 538101628.29, 6.74, -0.42),
    ("venere", 0.72333199, 0.00677323, 3.39471, 76.68069, 131.53298, 181.97973, 210664136.06, 16.92, -4.40),
    ("marte", 1.52366231, 0.09341233, 1.85061, 49.57854, 336.04084, 355.45332, 68905103.78, 9.36, -1.52),
    ("giove", 5.20336301, 0.04839266, 1.30530, 100.55615, 14.75385, 34.40438, 10925078.35, 196.74, -9.40),
    ("saturno", 9.53707032, 0.05415060, 2.48446, 113.71504, 92.43194, 49.94432, 4401052.95, 165.60, -8.88),
    ("urano", 19.19126393, 0.04716771, 0.76986, 74.22988, 170.96424, 313.23218, 1542547.79, 65.80, -7.19),
    ("nettuno", 30.06896348, 0.00858587, 1.76917, 131.72169, 44.97135, 304.88003, 786449.21, 62.20, -6.87),
]
EARTH = ("terra", 1.00000011, 0.01671022, 0.00005, -11.26064, 102.94719, 100.46435, 129597740.63)
# Sun: angular diameter at 1 AU, degrees. Moon: mean elements of epoch 1990
# January 0.0 (Duffett-Smith, table 6): longitude at epoch, longitude of
# perigee, eccentricity, inclination, longitude of the node.
SUN_DIAMETER_DEG = 0.533128
MOON = (318.351648, 36.340410, 0.054900, 5.145396, 318.510107)


def period_tropical_years(ldot_arcsec_per_cy):
    deg_per_day = ldot_arcsec_per_cy / 3600.0 / 36525.0
    return 360.0 / deg_per_day / 365.242191


def write_elements():
    rows = []
    for name, a, e, i, node, peri, L, ldot, diam, v0 in JPL:
        rows.append('"%s",%.9f,%.5f,%.5f,%.8f,%.8f,%.5f,%.5f,%.2f,%.2f'
                    % (name, period_tropical_years(ldot), L, peri, e, a, i, node, diam, v0))
    rows.append('"sole",0,0,0,0,0,0,0,%.6f,0' % SUN_DIAMETER_DEG)
    l0, p0, e, i, n0 = MOON
    rows.append('"luna",0,%.6f,%.6f,%.6f,0,%.6f,%.6f,0,0' % (l0, p0, e, i, n0))
    name, a, e, i, node, peri, L, ldot = EARTH
    rows.append('"%s",%.9f,%.5f,%.5f,%.8f,%.8f,%.5f,%.5f,0,0'
                % (name, period_tropical_years(ldot), L, peri, e, a, i, node))
    with open(os.path.join(OUT, "planets_j2000_test.dat"), "w", newline="\r\n") as f:
        f.write("\n".join(rows) + "\n")


# ---------------------------------------------------------------------------
def jd(d):
    return float(d) + 2415020.0  # ephem dates count from 1899 December 31.5


def ecl_lon(ra, dec, date):
    return float(ephem.Ecliptic(ephem.Equatorial(ra, dec, epoch=date)).lon)


def write_positions():
    rnd = random.Random(20261207)
    places = [("roma", 41.9, 12.5), ("sydney", -33.87, 151.21), ("tromso", 69.65, 18.96)]
    bodies = [("sole", ephem.Sun), ("luna", ephem.Moon), ("mercurio", ephem.Mercury),
              ("venere", ephem.Venus), ("marte", ephem.Mars), ("giove", ephem.Jupiter),
              ("saturno", ephem.Saturn), ("urano", ephem.Uranus), ("nettuno", ephem.Neptune)]
    lines = ["# body,jd_ut,place,lat,lon,a_ra_h,a_dec_deg,g_ra_h,g_dec_deg,earth_dist_au,"
             "alt_deg,az_deg,phase,elong_lon_deg,mag"]
    start = ephem.Date("2000/01/01")
    stop = ephem.Date("2035/12/31")
    for n in range(120):
        t = ephem.Date(start + rnd.random() * (stop - start))
        pname, lat, lon = places[n % len(places)]
        obs = ephem.Observer()
        obs.lat, obs.lon = str(lat), str(lon)
        obs.elevation = 0
        obs.pressure = 0
        obs.date = t
        sun = ephem.Sun(t)
        sun_lon = ecl_lon(sun.g_ra, sun.g_dec, t)
        for bname, cls in bodies:
            b = cls(t)
            g_ra, g_dec, a_ra, a_dec = b.g_ra, b.g_dec, b.a_ra, b.a_dec
            dist = b.earth_distance
            mag = b.mag
            phase = b.phase / 100.0
            elong = math.degrees((ecl_lon(g_ra, g_dec, t) - sun_lon) % (2 * math.pi))
            b.compute(obs)
            lines.append("%s,%.8f,%s,%.4f,%.4f,%.8f,%.7f,%.8f,%.7f,%.9f,%.5f,%.5f,%.6f,%.5f,%.3f" % (
                bname, jd(t), pname, lat, lon,
                math.degrees(a_ra) / 15, math.degrees(a_dec), math.degrees(g_ra) / 15, math.degrees(g_dec),
                dist, math.degrees(b.alt), math.degrees(b.az), phase, elong, mag))
    with open(os.path.join(OUT, "ref_bodies_positions.csv"), "w") as f:
        f.write("\n".join(lines) + "\n")


# ---------------------------------------------------------------------------
def limb_height(obs, body, t):
    """Degrees of the upper limb above the -0:34 horizon (pressure 0)."""
    obs.date = t
    body.compute(obs)
    return math.degrees(body.alt) + math.degrees(body.radius) + 34 / 60.0


def events_in_day(obs, body, t0, t1):
    """Rises and sets of body in [t0, t1): the upper limb's height over the
    horizon is sampled every 10 minutes and each change of sign is narrowed
    by bisection to a tenth of a second. (PyEphem's next_rising gives up with
    AlwaysUpError near the poles when the body is circumpolar at the start of
    the search even though it crosses later in the day, so it is not used.)"""
    rises, sets = [], []
    step = 10 * ephem.minute
    n = int(round((t1 - t0) / step))
    ta, fa = t0, limb_height(obs, body, t0)
    for k in range(1, n + 1):
        tb = t0 + k * step
        fb = limb_height(obs, body, tb)
        if (fa < 0) != (fb < 0):
            lo, hi, flo = ta, tb, fa
            while (hi - lo) * 86400 > 0.1:
                mid = (lo + hi) / 2
                fm = limb_height(obs, body, mid)
                if (fm < 0) == (flo < 0):
                    lo, flo = mid, fm
                else:
                    hi = mid
            e = ephem.Date((lo + hi) / 2)
            if e < t1:
                (rises if fa < 0 else sets).append(e)
        ta, fa = tb, fb
    return rises, sets


def write_riseset():
    places = [
        # name, lat, lon, zone (hours east, daylight saving included)
        ("roma_winter", 41.9028, 12.4964, 1.0),
        ("roma_summer", 41.9028, 12.4964, 2.0),
        ("newyork", 40.7128, -74.0060, -5.0),
        ("sydney", -33.8688, 151.2093, 10.0),
        ("quito", -0.1807, -78.4678, -5.0),
        ("tromso", 69.6492, 18.9553, 1.0),
        ("longyearbyen", 78.2232, 15.6267, 1.0),
        ("mcmurdo", -77.8419, 166.6863, 12.0),
    ]
    rnd = random.Random(7)
    lines = ["# place,lat,lon,zone,year,month,day,body,n_rise,rise_min,rise_az,n_set,set_min,set_az,up_at_end"]
    for pname, lat, lon, zone in places:
        dates = set()
        # Solstices and equinoxes (polar day, polar night and their edges) ...
        for y in (2025, 2026):
            for m, d in ((6, 21), (12, 21), (3, 20), (9, 23), (5, 20), (7, 25), (1, 18), (11, 25)):
                dates.add((y, m, d))
        # ... and a run of days for the Moon's missing rises and sets.
        base = ephem.Date("2026/03/01")
        for k in range(0, 40):
            y, m, d = ephem.Date(base + k).tuple()[:3]
            dates.add((y, m, d))
        for k in range(12):
            y, m, d = ephem.Date(ephem.Date("2024/01/01") + rnd.randrange(0, 3650)).tuple()[:3]
            dates.add((y, m, d))
        for (y, m, d) in sorted(dates):
            t0 = ephem.Date(ephem.Date((y, m, d)) - zone * ephem.hour)
            t1 = ephem.Date(t0 + 1)
            for bname, cls in (("sole", ephem.Sun), ("luna", ephem.Moon)):
                obs = ephem.Observer()
                obs.lat, obs.lon = str(lat), str(lon)
                obs.elevation = 0
                obs.pressure = 0
                obs.horizon = "-0:34"
                body = cls()
                rises, sets = events_in_day(obs, body, t0, t1)

                def minutes_az(evs):
                    if not evs:
                        return "", ""
                    e = evs[-1]
                    obs.date = e
                    body.compute(obs)
                    return "%.3f" % ((e - t0) * 1440.0), "%.3f" % math.degrees(body.az)

                rm, ra = minutes_az(rises)
                sm, sa = minutes_az(sets)
                up = 1 if limb_height(obs, body, t1) > 0 else 0
                lines.append("%s,%.4f,%.4f,%.2f,%d,%d,%d,%s,%d,%s,%s,%d,%s,%s,%d" % (
                    pname, lat, lon, zone, y, m, d, bname, len(rises), rm, ra, len(sets), sm, sa, up))
    with open(os.path.join(OUT, "ref_bodies_riseset.csv"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    write_elements()
    write_positions()
    write_riseset()
    print("PyEphem", ephem.__version__, "fixtures written to", os.path.normpath(OUT), file=sys.stderr)
