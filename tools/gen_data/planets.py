"""planets.dat: elements of the ten bodies of the body table.

Planets and the Earth: the J2000 mean Keplerian elements published by JPL
(E. M. Standish, "Keplerian Elements for Approximate Positions of the Major
Planets", table 1, valid 1800-2050; the Earth row is the Earth-Moon
barycentre), referred to the mean ecliptic and equinox of J2000. The
program moves each planet with a fixed mean motion counted from J2000.0;
the period in tropical years is the one that gives JPL's rate of mean
longitude: Tp = 360 / (Ldot / 36525 * 365.242191), Ldot in degrees per
Julian century.

Apparent diameter at 1 AU (arc seconds) and magnitude at 1 AU from Sun and
Earth: the values of P. Duffett-Smith, "Practical Astronomy with your
Calculator", 3rd edition (1988), table 8.

Sun: apparent diameter at 1 AU, 0.533128 degrees (same source).
Moon: mean elements of epoch 1990 January 0.0 (same source, table 6): mean
longitude 318.351648, longitude of perigee 36.340410, node 318.510107,
inclination 5.145396, eccentricity 0.054900, semi-major axis 384401 km
(written in AU), apparent diameter 0.5181 degrees.
"""

TROPICAL_YEAR = 365.242191

# name, a (AU), e, I (deg), L (deg), long. perihelion (deg), node (deg), Ldot (deg/century)
JPL_J2000 = [
    ("Mercury", 0.38709927, 0.20563593, 7.00497902, 252.25032350, 77.45779628, 48.33076593, 149472.67411175),
    ("Venus", 0.72333566, 0.00677672, 3.39467605, 181.97909950, 131.60246718, 76.67984255, 58517.81538729),
    ("Mars", 1.52371034, 0.09339410, 1.84969142, -4.55343205, -23.94362959, 49.55953891, 19140.30268499),
    ("Jupiter", 5.20288700, 0.04838624, 1.30439695, 34.39644051, 14.72847983, 100.47390909, 3034.74612775),
    ("Saturn", 9.53667594, 0.05386179, 2.48599187, 49.95424423, 92.59887831, 113.66242448, 1222.49362201),
    ("Uranus", 19.18916464, 0.04725744, 0.77263783, 313.23810451, 170.95427630, 74.01692503, 428.48202785),
    ("Neptune", 30.06992276, 0.00859048, 1.77004347, -55.12002969, 44.96476227, 131.78422574, 218.45945325),
]
EARTH = ("Earth", 1.00000261, 0.01671123, -0.00001531, 100.46457166, 102.93768193, 0.0, 35999.37244981)

# apparent diameter at 1 AU (arcsec), magnitude at 1 AU
PHYSICAL = {
    "Mercury": (6.74, -0.42), "Venus": (16.92, -4.40), "Mars": (9.36, -1.52),
    "Jupiter": (196.74, -9.40), "Saturn": (165.60, -8.88), "Uranus": (65.80, -7.19),
    "Neptune": (62.20, -6.87),
}

AU_KM = 149597870.7


def period_years(ldot):
    return 360.0 / (ldot / 36525.0 * TROPICAL_YEAR)


def rows():
    out = []
    for name, a, e, inc, lon, peri, node, ldot in JPL_J2000 + [EARTH]:
        diam, mag = PHYSICAL.get(name, (0.0, 0.0))
        out.append([name, period_years(ldot), lon % 360.0, peri % 360.0, e, a,
                    max(inc, 0.0) if name == "Earth" else inc, node, diam, mag])
    earth = out.pop()
    sun = ["Sun", 1.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.533128, 0.0]
    moon = ["Moon", 27.321661 / TROPICAL_YEAR, 318.351648, 36.340410, 0.054900,
            384401.0 / AU_KM, 5.145396, 318.510107, 0.5181, 0.0]
    return out + [sun, moon, earth]


def fmt(x):
    text = "%.10f" % x
    return text.rstrip("0").rstrip(".") if "." in text else text


def write(out_dir):
    lines = ['"%s",%s' % (r[0], ",".join(fmt(v) for v in r[1:])) for r in rows()]
    with open(out_dir + "/planets.dat", "w", encoding="ascii", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")
    return {"rows": len(lines)}
