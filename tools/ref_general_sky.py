#!/usr/bin/python3
"""Reference figures for the whole-sky chart and the object details box, for
one place (Milan) and one instant, from PyEphem (Debian's python3-ephem).

Bodies: geocentric right ascension and declination (the planets' astrometric
J2000 places, as the program's planet model gives them; the apparent places
of date of the Sun and the Moon, and their astrometric J2000 places),
elevation and azimuth for the observer (pressure 0, no refraction), distance
(planets in AU from the Earth, Sun and Moon in km), magnitude, illuminated
fraction, apparent diameter (arc seconds). Stars: the catalogue's J2000
position, its V magnitude and constellation, elevation and azimuth at the
instant.

Writes tests/data/ref_general_sky.csv.
Usage: /usr/bin/python3 tools/ref_general_sky.py   (from the source tree's top)
"""
import math
import os

import ephem

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "tests", "data", "ref_general_sky.csv")

LAT, LON, HEIGHT = 45.4642, 9.19, 120.0   # Milan
ZONE = 1.0                                 # hours east of Greenwich, no daylight saving
UT = (2026, 2, 23, 20, 0, 0)               # a waxing Moon, Jupiter and Saturn up

AU_KM = 149597870.7
BODIES = [(1, ephem.Mercury), (2, ephem.Venus), (3, ephem.Mars), (4, ephem.Jupiter),
          (5, ephem.Saturn), (6, ephem.Uranus), (7, ephem.Neptune), (8, ephem.Sun), (9, ephem.Moon)]
STARS = ["Sirius", "Betelgeuse", "Rigel", "Polaris", "Vega", "Antares", "Fomalhaut", "Canopus"]


def main():
    obs = ephem.Observer()
    obs.lat, obs.lon, obs.elevation = str(LAT), str(LON), HEIGHT
    obs.pressure = 0
    obs.date = ephem.Date(UT)
    out = ["# Milan lat=%.4f lon=%.4f height_m=%.1f zone=%.1f; instant UT %04d-%02d-%02d %02d:%02d:%02d"
           % ((LAT, LON, HEIGHT, ZONE) + UT),
           "instant,%04d,%02d,%02d,%02d,%02d,%02d" % (UT[0], UT[1], UT[2], UT[3] + int(ZONE), UT[4], UT[5]),
           "# body,row,ra_h,dec_deg,elevation_deg,azimuth_deg,distance(AU planets; km Sun Moon),"
           "magnitude,illuminated_fraction,diameter_arcsec"]
    for row, cls in BODIES:
        b = cls()
        b.compute(obs)
        g = cls()
        g.compute(ephem.Date(UT))   # geocentric apparent place
        dist = b.earth_distance * AU_KM if row >= 8 else b.earth_distance
        ra, dec = (g.a_ra, g.a_dec) if row <= 7 else (g.g_ra, g.g_dec)
        out.append("body,%d,%.6f,%.5f,%.4f,%.4f,%.6f,%.2f,%.4f,%.2f" % (
            row, ra * 12 / math.pi, math.degrees(dec), math.degrees(b.alt), math.degrees(b.az),
            dist, b.mag, b.phase / 100.0, b.size))
    out.append("# j2000,row,ra_h,dec_deg: the Sun's and the Moon's astrometric geocentric places "
               "(J2000 equator and equinox), where the chart draws them")
    for row, cls in BODIES[7:]:
        g = cls()
        g.compute(ephem.Date(UT))
        out.append("j2000,%d,%.6f,%.5f" % (row, g.a_ra * 12 / math.pi, math.degrees(g.a_dec)))
    out.append("# star,name,ra_j2000_h,dec_j2000_deg,magnitude,constellation,elevation_deg,azimuth_deg")
    for name in STARS:
        s = ephem.star(name)
        s.compute(obs)
        out.append("star,%s,%.6f,%.5f,%.2f,%s,%.4f,%.4f" % (
            name, s.a_ra * 12 / math.pi, math.degrees(s.a_dec), s.mag, ephem.constellation(s)[0],
            math.degrees(s.alt), math.degrees(s.az)))
    with open(OUT, "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
