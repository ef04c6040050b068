#!/usr/bin/python3
"""Reference figures for the tracking table, the Sun/Moon/planet table and
the rise and set almanac, for one place (Milan) and one instant.

Satellites: Skyfield (Debian's python3-skyfield, with python3-sgp4), built-in
time scale, no refraction: elevation, azimuth, range, range rate and the
topocentric right ascension and declination of date. Bodies, rises and sets:
PyEphem (Debian's python3-ephem), pressure 0.

Writes into tests/data/:
  ref_tables_sats.txt  the element sets shown in the tracking table (ISS from
                       elements_sample.txt, the others from
                       elements_sample_horizon.txt), in table order
  ref_tables.csv       the reference figures, one section per table

Usage: /usr/bin/python3 tools/ref_tables.py   (from the source tree's top)
"""
import math
import os
import sys

import ephem
from skyfield.api import EarthSatellite, load, wgs84

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "tests", "data")

LAT, LON, HEIGHT = 45.4642, 9.19, 120.0   # Milan
ZONE = 1.0                                 # hours east of Greenwich, no daylight saving


def read_sets(path):
    with open(path, newline="") as f:
        lines = [l.rstrip("\r\n") for l in f]
    lines = [l for l in lines if l.strip()]
    return [(lines[i], lines[i + 1], lines[i + 2]) for i in range(0, len(lines) - 2, 3)]


def main():
    ts = load.timescale(builtin=True)
    place = wgs84.latlon(LAT, LON, elevation_m=HEIGHT)
    iss = [s for s in read_sets(os.path.join(DATA, "elements_sample.txt")) if s[0].startswith("ISS")][0]
    horizon = read_sets(os.path.join(DATA, "elements_sample_horizon.txt"))

    # The ISS's first culmination above 30 degrees over Milan after its epoch,
    # taken to the whole second as the program clock holds it.
    sat = EarthSatellite(iss[1], iss[2], iss[0], ts)
    t0 = ts.utc(2013, 11, 26)
    times, events = sat.find_events(place, t0, ts.utc(2013, 11, 30), altitude_degrees=30.0)
    culm = [t for t, e in zip(times, events) if e == 1][0]
    y, mo, d, h, mi, s = culm.utc
    t = ts.utc(int(y), int(mo), int(d), int(h), int(mi), int(round(s)))
    y, mo, d, h, mi, s = t.utc
    local = (int(y), int(mo), int(d), int(h) + int(ZONE), int(mi), int(round(s)))

    # The horizon sets the program keeps in its list: a perigee under 138 km
    # (with a margin for the difference of mean and osculating elements) is removed as decayed at the first tick.
    chosen = [iss]
    for s3 in horizon:
        if len(chosen) == 12:
            break
        m = EarthSatellite(s3[1], s3[2], s3[0], ts).model
        if m.error or m.altp * m.radiusearthkm < 200.0:
            continue
        chosen.append(s3)
    with open(os.path.join(DATA, "ref_tables_sats.txt"), "w", newline="\r\n") as f:
        for s3 in chosen:
            f.write("\n".join(s3) + "\n")

    out = ["# Milan lat=%.4f lon=%.4f height_m=%.1f zone=%.1f; instant UT %04d-%02d-%02d %02d:%02d:%02d"
           % (LAT, LON, HEIGHT, ZONE, y, mo, d, h, mi, round(s)),
           "instant,%04d,%02d,%02d,%02d,%02d,%02d" % local,
           "# sat,row,catalogue,elevation_deg,azimuth_deg,range_km,range_rate_km_s,ra_h,dec_deg"]
    for row, s3 in enumerate(chosen):
        es = EarthSatellite(s3[1], s3[2], s3[0], ts)
        diff = es - place
        topo = diff.at(t)
        alt, az, dist, _, _, rr = topo.frame_latlon_and_rates(place)
        ra, dec, _ = topo.radec(epoch="date")
        if es.model.error or math.isnan(alt.degrees):
            continue
        out.append("sat,%d,%s,%.5f,%.5f,%.4f,%.6f,%.7f,%.6f" % (
            row, s3[1][2:7].strip(), alt.degrees, az.degrees, dist.km, rr.km_per_s, ra.hours, dec.degrees))

    obs = ephem.Observer()
    obs.lat, obs.lon = str(LAT), str(LON)
    obs.elevation = HEIGHT
    obs.pressure = 0
    obs.date = ephem.Date((int(y), int(mo), int(d), int(h), int(mi), round(s)))
    out.append("# body,row,elevation_deg,azimuth_deg,ra_h,dec_deg,distance,magnitude "
               "(planets: astrometric J2000 place, AU; Sun and Moon: apparent geocentric place of date, km)")
    km_au = 149597870.7
    for row, (name, cls) in enumerate((("mercurio", ephem.Mercury), ("venere", ephem.Venus),
                                       ("marte", ephem.Mars), ("giove", ephem.Jupiter),
                                       ("saturno", ephem.Saturn), ("urano", ephem.Uranus),
                                       ("nettuno", ephem.Neptune), ("sole", ephem.Sun),
                                       ("luna", ephem.Moon)), start=1):
        b = cls()
        b.compute(obs)
        if row <= 7:
            ra, dec, dist = b.a_ra, b.a_dec, b.earth_distance
        else:
            ra, dec, dist = b.g_ra, b.g_dec, b.earth_distance * km_au
        out.append("body,%d,%.4f,%.4f,%.6f,%.5f,%.6f,%.2f" % (
            row, math.degrees(b.alt), math.degrees(b.az), math.degrees(ra) / 15, math.degrees(dec), dist, b.mag))

    # Rises and sets of the Sun and the Moon on the local days the almanac
    # shows: the day of the instant, the next day, a month later, a polar
    # night and a midnight Sun at Tromso. Upper limb on the -0:34 horizon, pressure 0; local
    # minutes from midnight, azimuth in degrees; empty when none that day.
    out.append("# riseset,place,lat,lon,zone,year,month,day,body,rise_min,rise_az,set_min,set_az,up_at_end")
    sys.path.insert(0, HERE)
    from ref_bodies import events_in_day, limb_height
    days = [("milano", LAT, LON, ZONE, local[0], local[1], local[2]),
            ("milano", LAT, LON, ZONE, local[0], local[1], local[2] + 1),
            ("milano", LAT, LON, ZONE, local[0], local[1] + 1, local[2]),
            ("tromso", 69.6492, 18.9553, 1.0, 2025, 12, 21),
            ("tromso", 69.6492, 18.9553, 1.0, 2025, 6, 21)]
    for pname, lat, lon, zone, yy, mm, dd in days:
        t0 = ephem.Date(ephem.Date((yy, mm, dd)) - zone * ephem.hour)
        t1 = ephem.Date(t0 + 1)
        for bname, cls in (("sole", ephem.Sun), ("luna", ephem.Moon)):
            o = ephem.Observer()
            o.lat, o.lon = str(lat), str(lon)
            o.elevation = 0
            o.pressure = 0
            o.horizon = "-0:34"
            body = cls()
            rises, sets = events_in_day(o, body, t0, t1)

            def minutes_az(evs):
                if not evs:
                    return "", ""
                e = evs[-1]
                o.date = e
                body.compute(o)
                return "%.3f" % ((e - t0) * 1440.0), "%.3f" % math.degrees(body.az)

            rm, ra_ = minutes_az(rises)
            sm, sa = minutes_az(sets)
            up = 1 if limb_height(o, body, t1) > 0 else 0
            out.append("riseset,%s,%.4f,%.4f,%.1f,%d,%d,%d,%s,%s,%s,%s,%s,%d" % (
                pname, lat, lon, zone, yy, mm, dd, bname, rm, ra_, sm, sa, up))

    # The Moon's phase angle (elongation in ecliptic longitude from the Sun,
    # 0 new, 180 full) at the instant, for the phase figure.
    sun = ephem.Sun(obs.date)
    moon = ephem.Moon(obs.date)
    def lon_of(b):
        return float(ephem.Ecliptic(ephem.Equatorial(b.g_ra, b.g_dec, epoch=obs.date)).lon)
    out.append("moonphase,%.4f" % math.degrees((lon_of(moon) - lon_of(sun)) % (2 * math.pi)))

    with open(os.path.join(DATA, "ref_tables.csv"), "w") as f:
        f.write("\n".join(out) + "\n")
    print("ref_tables.csv written for", local, file=sys.stderr)


if __name__ == "__main__":
    main()
