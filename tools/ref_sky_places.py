#!/usr/bin/python3
"""Reference fixture of where the observer sees the Moon, the planets and
bright stars: tests/data/ref_sky_places.csv, from PyEphem 4.1.4 (Debian's
python3-ephem, run with /usr/bin/python3), pressure 0 (no refraction).

Rows (angles in degrees, Julian dates in UT, heights in metres):
  moon,jd,lat,lon,height,alt,az,distance_km
      the topocentric Moon (apparent place, parallax for the observer's
      place and height); distance from the observer
  planet,name,jd,lat,lon,height,alt,az,sun_distance_au,earth_distance_au
      the apparent topocentric places of the seven planets
  star,name,ra_j2000_h,dec_j2000_deg,mag
      fifty bright stars of ephem.stars, brightest first, at their catalogue
      places (J2000) taken as fixed (no proper motion)
  starpos,name,jd,lat,lon,height,alt,az
      each star's apparent place for the observer (precession, nutation and
      aberration of the date)

Sites from the pole to the equator, at sea level and on mountains; instants
spread over 2000-2040 (seeded, so the output is repeatable).

Run with /usr/bin/python3 from the top of the source tree.
"""
import math
import os
import random

import ephem
import ephem.stars

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'tests', 'data', 'ref_sky_places.csv')

SITES = [
    (45.4642, 9.19, 120.0),      # Milano
    (69.6496, 18.956, 10.0),     # Tromso
    (-33.8688, 151.2093, 40.0),  # Sydney
    (-0.1807, -78.4678, 2850.0), # Quito
    (19.8207, -155.4681, 4205.0),  # Mauna Kea
    (-77.846, 166.676, 10.0),    # McMurdo
    (34.0522, -118.2437, 90.0),  # Los Angeles
]
PLANETS = [('mercury', ephem.Mercury), ('venus', ephem.Venus), ('mars', ephem.Mars),
           ('jupiter', ephem.Jupiter), ('saturn', ephem.Saturn), ('uranus', ephem.Uranus),
           ('neptune', ephem.Neptune)]
JD_2000 = 2451544.5   # 2000 January 1, 0h UT
JD_2040 = 2466154.5   # 2040 January 1, 0h UT
AU_KM = 149597870.7


def observer(lat, lon, h, jd):
    o = ephem.Observer()
    o.lat = str(lat)
    o.lon = str(lon)
    o.elevation = h
    o.pressure = 0
    o.date = ephem.Date(jd - 2415020.0)
    return o


def bright_stars(n):
    stars = []
    for name in ephem.stars.stars:
        s = ephem.star(name)
        s.compute(ephem.J2000, epoch=ephem.J2000)
        stars.append((s.mag, name, float(s.a_ra), float(s.a_dec)))
    stars.sort()
    return stars[:n]


def main():
    rnd = random.Random(17)
    rows = ['# Moon, planets and bright stars as the observer sees them: PyEphem 4.1.4, pressure 0 '
            '(tools/ref_sky_places.py)']
    # The Moon: 70 instants at each site.
    for lat, lon, h in SITES:
        for _ in range(70):
            jd = rnd.uniform(JD_2000, JD_2040)
            o = observer(lat, lon, h, jd)
            m = ephem.Moon(o)
            rows.append('moon,%.8f,%.4f,%.4f,%.0f,%.5f,%.5f,%.1f' % (
                jd, lat, lon, h, math.degrees(m.alt), math.degrees(m.az), m.earth_distance * AU_KM))
    # The planets: 40 instants at each site.
    for lat, lon, h in SITES:
        for _ in range(40):
            jd = rnd.uniform(JD_2000, JD_2040)
            o = observer(lat, lon, h, jd)
            for name, cls in PLANETS:
                p = cls(o)
                rows.append('planet,%s,%.8f,%.4f,%.4f,%.0f,%.5f,%.5f,%.6f,%.6f' % (
                    name, jd, lat, lon, h, math.degrees(p.alt), math.degrees(p.az), p.sun_distance,
                    p.earth_distance))
    # Fifty bright stars at fixed J2000 places, 40 instants each.
    stars = bright_stars(50)
    for mag, name, ra, dec in stars:
        rows.append('star,%s,%.8f,%.7f,%.2f' % (name, math.degrees(ra) / 15.0, math.degrees(dec), mag))
    for mag, name, ra, dec in stars:
        for _ in range(40):
            lat, lon, h = SITES[rnd.randrange(len(SITES))]
            jd = rnd.uniform(JD_2000, JD_2040)
            o = observer(lat, lon, h, jd)
            b = ephem.FixedBody()
            b._ra = ra
            b._dec = dec
            b._epoch = ephem.J2000
            b.compute(o)
            rows.append('starpos,%s,%.8f,%.4f,%.4f,%.0f,%.5f,%.5f' % (
                name, jd, lat, lon, h, math.degrees(b.alt), math.degrees(b.az)))
    with open(OUT, 'w') as f:
        f.write('\n'.join(rows) + '\n')
    print('wrote', OUT, len(rows), 'rows')


if __name__ == '__main__':
    main()
