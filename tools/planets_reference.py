#!/usr/bin/python3
"""Reference positions of the Sun, Moon and planets, and a check of planets.dat.

  planets_reference.py fixture   writes tests/data/planets_pyephem.csv
  planets_reference.py check     prints the worst error per body of the
                                 program's low-precision models, transcribed
                                 here, fed with data/planets.dat

Fixture: PyEphem (python3-ephem) geocentric positions at 0h UT on the 1st and
15th of every month 1995-2035. The planets are astrometric, referred to the
mean equator and equinox of J2000 (the frame of the JPL J2000 elements the
program uses); the Sun and Moon are referred to the mean equator and equinox
of the date (their models count longitudes from the equinox of date).
Columns: julian date (UT), body row (1-9), right ascension (hours),
declination (degrees).
"""
import csv
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
FIXTURE = os.path.join(ROOT, "tests", "data", "planets_pyephem.csv")
NAMES = ["Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Sun", "Moon"]


def write_fixture():
    import ephem
    bodies = [ephem.Mercury(), ephem.Venus(), ephem.Mars(), ephem.Jupiter(), ephem.Saturn(),
              ephem.Uranus(), ephem.Neptune(), ephem.Sun(), ephem.Moon()]
    with open(FIXTURE, "w", newline="") as f:
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["jd_ut", "row", "ra_hours", "dec_degrees"])
        for year in range(1995, 2036):
            for month in range(1, 13):
                for day in (1, 15):
                    date = ephem.Date((year, month, day, 0, 0, 0))
                    jd = float(date) + 2415020.0
                    for row, body in enumerate(bodies, start=1):
                        epoch = ephem.J2000 if row <= 7 else date
                        body.compute(date, epoch=epoch)
                        w.writerow(["%.1f" % jd, row, "%.6f" % (math.degrees(body.a_ra) / 15.0),
                                    "%.6f" % math.degrees(body.a_dec)])


# ---- transcription of the program's models -------------------------------
D2R = 0.0174532925
R2D = 57.295779513
PI = 3.14159265
TURN = 6.2831853
OBLIQUITY = 0.40909281926890995


def modulus(x, y):
    return x - y * math.floor(x / y)


def atan2_360(y, x):
    return modulus(math.atan2(y, x), 2 * math.pi)


def ecl_to_eq(beta, lam, eps):
    """Ecliptic (radians) to right ascension (hours) and declination (degrees)."""
    dec = math.asin(math.sin(beta) * math.cos(eps) + math.cos(beta) * math.sin(eps) * math.sin(lam))
    ra = atan2_360(math.sin(lam) * math.cos(eps) - math.tan(beta) * math.sin(eps), math.cos(lam))
    return math.degrees(ra) / 15.0, math.degrees(dec)


def load_planets(path):
    rows = []
    with open(path, newline="") as f:
        for rec in csv.reader(f):
            if rec:
                rows.append([rec[0]] + [float(v) for v in rec[1:]])
    return rows


def sun(jd, rows):
    jd0 = math.floor(jd - 0.5) + 0.5
    t = (jd0 - 2415020.0) / 36525.0
    lm = 279.6966778 + 36000.76892 * t + 0.0003025 * t * t
    wb = 281.2208444 + 1.719175 * t + 0.000452778 * t * t
    e = 0.01675104 - 4.18e-5 * t - 1.26e-7 * t * t
    n = modulus(360.0 * (jd - jd0) / 365.242191, 360.0)
    m = n + lm - wb
    if m < 0:
        m += 360.0
    m *= D2R
    ee = m
    delta = ee - e * math.sin(ee) - m
    while abs(delta) > 1e-6:
        delta = ee - e * math.sin(ee) - m
        ee = ee - delta / (1 - e * math.cos(ee))
    nu = 2 * math.atan(math.sqrt((1 + e) / (1 - e)) * math.tan(ee / 2)) * R2D
    lam = modulus(wb + nu, 360.0)
    ra, dec = ecl_to_eq(0.0, lam * D2R, OBLIQUITY)
    return ra, dec, lam * D2R, m


def moon(jd, rows, lam_sun, m_sun):
    _, _, l0, p0, e, _, inc, n0, _, _ = rows[8]
    d = jd - 2447891.5
    l = modulus(13.1763966 * d + l0, 360.0)
    mm = modulus(l - 0.1114041 * d - p0, 360.0)
    node = modulus(n0 - 0.0529539 * d, 360.0)
    l *= D2R
    mm *= D2R
    ev = 1.2739 * math.sin(2 * (l - lam_sun) - mm) * D2R
    ae = 0.1858 * math.sin(m_sun) * D2R
    a3 = 0.37 * math.sin(m_sun) * D2R
    mp = mm + ev - ae - a3
    ec = 6.2886 * math.sin(mp) * D2R
    a4 = 0.214 * math.sin(2 * mp) * D2R
    lp = l + ev + ec - ae + a4  # the program subtracts the annual equation here too
    v = 0.6583 * math.sin(2 * (lp - lam_sun)) * D2R
    lpp = lp + v
    np_ = (node - 0.16 * math.sin(m_sun)) * D2R
    i = inc * D2R
    lam = atan2_360(math.sin(lpp - np_) * math.cos(i), math.cos(lpp - np_)) + np_
    x = math.sin(lpp - np_) * math.sin(i)
    beta = math.atan(x / math.sqrt(1 - x * x))
    return ecl_to_eq(beta, lam, OBLIQUITY)


def true_anomaly(m, e):
    """True anomaly (degrees) for the mean anomaly m (degrees), Kepler's
    equation solved by Newton's method."""
    m = math.remainder(m * D2R, 2 * math.pi)
    big_e = m + e * math.sin(m)
    for _ in range(50):
        step = (big_e - e * math.sin(big_e) - m) / (1 - e * math.cos(big_e))
        big_e -= step
        if abs(step) < 1e-13:
            break
    return 2 * math.atan2(math.sqrt(1 + e) * math.sin(big_e / 2),
                          math.sqrt(1 - e) * math.cos(big_e / 2)) * R2D


def planet(jd, rows, k):
    d = jd - 2451545.0
    tp, eps, pi_, e = rows[9][1], rows[9][2], rows[9][3], rows[9][4]
    np_ = modulus(360 * d / (365.242191 * tp), 360)
    nu = true_anomaly(np_ + eps - pi_, e)
    big_l = modulus(nu + pi_, 360)
    big_r = (1 - e * e) / (1 + e * math.cos(nu * D2R))
    _, tp, eps, pi_, e, a, inc, node, _, _ = rows[k - 1]
    np_ = modulus(360 * d / (365.242191 * tp), 360)
    nu = true_anomaly(np_ + eps - pi_, e)
    l = modulus(nu + pi_, 360)
    r = a * (1 - e * e) / (1 + e * math.cos(nu * D2R))
    psi = math.asin(math.sin((l - node) * D2R) * math.sin(inc * D2R)) * R2D
    lp = atan2_360(math.sin((l - node) * D2R) * math.cos(inc * D2R),
                   math.cos((l - node) * D2R)) * R2D + node
    rp = r * math.cos(psi * D2R)
    if k < 3:
        lam = 180 + big_l + math.atan(rp * math.sin((big_l - lp) * D2R) /
                                      (big_r - rp * math.cos((big_l - lp) * D2R))) * R2D
    else:
        lam = lp + math.atan(big_r * math.sin((lp - big_l) * D2R) /
                             (rp - big_r * math.cos((lp - big_l) * D2R))) * R2D
    lam = modulus(lam, 360)
    beta = math.atan(rp * math.tan(psi * D2R) * math.sin((lam - lp) * D2R) /
                     (big_r * math.sin((lp - big_l) * D2R))) * R2D
    return ecl_to_eq(beta * D2R, lam * D2R, OBLIQUITY)


def separation(ra1, dec1, ra2, dec2):
    a1, d1, a2, d2 = (math.radians(ra1 * 15), math.radians(dec1),
                      math.radians(ra2 * 15), math.radians(dec2))
    c = math.sin(d1) * math.sin(d2) + math.cos(d1) * math.cos(d2) * math.cos(a1 - a2)
    return math.degrees(math.acos(max(-1.0, min(1.0, c))))


def check(planets_path):
    rows = load_planets(planets_path)
    worst = {}
    with open(FIXTURE, newline="") as f:
        for rec in csv.DictReader(f):
            jd, k = float(rec["jd_ut"]), int(rec["row"])
            ra_s, dec_s, lam_s, m_s = sun(jd, rows)
            if k <= 7:
                ra, dec = planet(jd, rows, k)
            elif k == 8:
                ra, dec = ra_s, dec_s
            else:
                ra, dec = moon(jd, rows, lam_s, m_s)
            err = separation(ra, dec, float(rec["ra_hours"]), float(rec["dec_degrees"]))
            if err > worst.get(k, (0, 0))[0]:
                worst[k] = (err, jd)
    for k in sorted(worst):
        print("%-8s worst %.3f deg at JD %.1f" % (NAMES[k - 1], worst[k][0], worst[k][1]))
    return worst


if __name__ == "__main__":
    if len(sys.argv) > 1 and sys.argv[1] == "fixture":
        write_fixture()
    else:
        check(sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, "data", "planets.dat"))
