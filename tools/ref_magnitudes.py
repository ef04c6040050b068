#!/usr/bin/python3
"""Planet magnitudes by the program's own planet model, worked independently:
Keplerian elements of epoch J2000 from data/planets.dat, heliocentric places
of the planet and of the Earth, the distance from the Earth, the illuminated
fraction F = (1 + cos(geocentric longitude - heliocentric longitude)) / 2,
and the magnitude V0 + 5 log10(r * distance) plus the planet's own phase law
at the phase angle of the triangle Sun - planet - Earth (Explanatory
Supplement to the Astronomical Almanac, 1992), with the rings' term for
Saturn (pole at inclination 28.0752 and node 169.5085 degrees on the
ecliptic of J2000).

These figures pin the program's own formula to a few hundredths of a
magnitude; PyEphem's magnitudes (planet_magnitudes_pyephem.csv,
ref_general_sky.csv, ref_tables.csv) are the independent check of the law.

Instants: those of ref_general_sky.csv (2026-02-23 20:00:00 UT) and
ref_tables.csv (2013-11-26 01:30:19 UT and one hour later).

Writes tests/data/ref_magnitudes.csv with rows
  magnitude,<ISO UT>,<row 1..7>,<magnitude>,<distance AU>,<illuminated fraction>

Usage: /usr/bin/python3 tools/ref_magnitudes.py   (from the source tree's top)
"""
import calendar
import datetime as dt
import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.join(HERE, "..")
INSTANTS = [dt.datetime(2026, 2, 23, 20, 0, 0), dt.datetime(2013, 11, 26, 1, 30, 19),
            dt.datetime(2013, 11, 26, 2, 30, 19)]


def elements():
    rows = []
    with open(os.path.join(TOP, "data", "planets.dat")) as f:
        for line in f:
            if line.strip():
                fields = line.strip().split(",")
                rows.append([float(x) for x in fields[1:]])
    return rows  # Tp, eps, varpi, e, a, i, Omega, theta0, V0


def julian_day(t):
    return 2440587.5 + calendar.timegm(t.timetuple()) / 86400.0


def heliocentric(el, d):
    """Heliocentric longitude (degrees) and true anomaly (radians), the true
    anomaly from Kepler's equation solved by bisection."""
    tp, eps, varpi, e = el[0], el[1], el[2], el[3]
    n = (360.0 * d / (365.242191 * tp)) % 360.0
    m = math.remainder(math.radians(n + eps - varpi), 2 * math.pi)
    lo, hi = -math.pi, math.pi
    for _ in range(200):
        mid = (lo + hi) / 2
        if mid - e * math.sin(mid) < m:
            lo = mid
        else:
            hi = mid
    ecc = (lo + hi) / 2
    nu = 2 * math.atan2(math.sqrt(1 + e) * math.sin(ecc / 2), math.sqrt(1 - e) * math.cos(ecc / 2))
    l = (math.degrees(nu) + varpi) % 360.0
    return l, nu


def planet(k, rows, jd):
    d = jd - 2451545.0
    earth = rows[9]
    L, nu_e = heliocentric(earth, d)
    R = (1 - earth[3] ** 2) / (1 + earth[3] * math.cos(nu_e))
    el = rows[k - 1]
    e, a, inc, node, v0 = el[3], el[4], math.radians(el[5]), el[6], el[8]
    l, nu = heliocentric(el, d)
    r = a * (1 - e * e) / (1 + e * math.cos(nu))
    x = math.radians(l - node)
    psi = math.asin(math.sin(x) * math.sin(inc))
    lp = (math.degrees(math.atan2(math.sin(x) * math.cos(inc), math.cos(x))) + node) % 360.0
    rp = r * math.cos(psi)
    if k < 3:
        a1 = math.radians(L - lp)
        lam = 180.0 + L + math.degrees(math.atan(rp * math.sin(a1) / (R - rp * math.cos(a1))))
    else:
        a1 = math.radians(lp - L)
        lam = lp + math.degrees(math.atan(R * math.sin(a1) / (rp - R * math.cos(a1))))
    lam %= 360.0
    rho = math.sqrt(R * R + r * r - 2 * R * r * math.cos(math.radians(l - L)))
    f = (1 + math.cos(math.radians(lam - l))) / 2
    beta = math.atan(rp * math.tan(psi) * math.sin(math.radians(lam - lp)) / (R * math.sin(math.radians(lp - L))))
    i = math.degrees(math.acos(max(-1.0, min(1.0, (r * r + rho * rho - R * R) / (2 * r * rho)))))
    mag = v0 + 5 * math.log10(r * rho) + phase_law(k, i, lam, beta)
    return mag, rho, f


def phase_law(k, i, lam, beta):
    """Magnitude added at phase angle i (degrees), Explanatory Supplement 1992."""
    if k == 1:
        return 0.0380 * i - 0.000273 * i ** 2 + 0.000002 * i ** 3
    if k == 2:
        return 0.0009 * i + 0.000239 * i ** 2 - 0.00000065 * i ** 3
    if k == 3:
        return 0.016 * i
    if k == 4:
        return 0.005 * i
    if k == 5:
        pole_i, node = math.radians(28.0752), 169.5085
        sin_b = (math.sin(pole_i) * math.cos(beta) * math.sin(math.radians(lam - node))
                 - math.cos(pole_i) * math.sin(beta))
        s = abs(sin_b)
        return 0.044 * i - 2.60 * s + 1.25 * s * s
    if k == 6:
        return 0.0028 * i
    return 0.0


def main():
    rows = elements()
    out = ["# planet magnitudes by the program's planet model, see tools/ref_magnitudes.py"]
    for t in INSTANTS:
        jd = julian_day(t)
        for k in range(1, 8):
            mag, rho, f = planet(k, rows, jd)
            out.append("magnitude,%s,%d,%.4f,%.6f,%.5f" % (t.strftime("%Y-%m-%dT%H:%M:%S"), k, mag, rho, f))
    with open(os.path.join(TOP, "tests", "data", "ref_magnitudes.csv"), "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
