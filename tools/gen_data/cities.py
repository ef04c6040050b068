"""cities.dat: places for the location dialog.

Sources: KStars' city database (Debian kstars-data, citydb.sqlite, GPL-2+):
name, province, country, latitude, longitude and standard time offset; and
tzdata (Debian tzdata, zone.tab, iso3166.tab and the compiled zones; public
domain): the principal city of every time zone, and the current standard
offset of every country that has a single time zone, which replaces the
KStars offset there.

One line per place: "Country: Place",latitude,longitude,offset (degrees
north and east, hours east of Greenwich), CR LF line ends, plain ASCII.
"""
import datetime
import math
import os
import re
import sqlite3
import zoneinfo

import sources
from stars import ascii_text

COUNTRY_ALIASES = {
    "United States": "USA", "Britain (UK)": "United Kingdom", "Korea (South)": "South Korea",
    "Korea (North)": "North Korea", "Czech Republic": "Czech Republic",
    "Russia": "Russia", "Bosnia & Herzegovina": "Bosnia and Herzegovina",
    "Trinidad & Tobago": "Trinidad and Tobago", "Antigua & Barbuda": "Antigua and Barbuda",
    "St Kitts & Nevis": "Saint Kitts and Nevis", "St Lucia": "Saint Lucia",
    "St Vincent": "Saint Vincent", "Congo (Dem. Rep.)": "Democratic Republic of the Congo",
    "Congo (Rep.)": "Republic of the Congo", "Cote d'Ivoire": "Ivory Coast",
}


# KStars' spellings of countries that tzdata names otherwise: one name per
# country in the list, and the single-zone offset rule below finds them.
KSTARS_COUNTRIES = {
    "Ivory coast": "Ivory Coast", "Western sahara": "Western Sahara",
    "Swaziland": "Eswatini (Swaziland)", "Central African Rep.": "Central African Republic",
    "Dem rep of Congo": "Democratic Republic of the Congo", "Congo": "Republic of the Congo",
    "Guinea Bissau": "Guinea-Bissau", "St. Lucia": "Saint Lucia", "Czechia": "Czech Republic",
}


def tz_dir():
    return sources.deb("tzdata", "usr/share/zoneinfo")


def standard_offset(zone):
    tz = zoneinfo.ZoneInfo(zone)
    offsets = [datetime.datetime(2026, m, 15, 12, tzinfo=tz).utcoffset().total_seconds() / 3600
               for m in (1, 7)]
    return min(offsets)


def read_iso3166():
    names = {}
    with open(os.path.join(tz_dir(), "iso3166.tab"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            code, name = line.rstrip("\n").split("\t")[:2]
            name = ascii_text(name.replace("\u2019", "'"))
            names[code] = COUNTRY_ALIASES.get(name, name)
    return names


def parse_iso6709(text):
    m = re.match(r"([+-]\d+)([+-]\d+)$", text)
    out = []
    for part, deg_digits in ((m.group(1), 2), (m.group(2), 3)):
        sign = -1 if part[0] == "-" else 1
        digits = part[1:]
        d = int(digits[:deg_digits])
        mi = int(digits[deg_digits:deg_digits + 2])
        s = int(digits[deg_digits + 2:deg_digits + 4] or 0)
        out.append(sign * (d + mi / 60 + s / 3600))
    return out


def read_zone_tab():
    zones = []
    with open(os.path.join(tz_dir(), "zone.tab"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            code, coords, zone = line.rstrip("\n").split("\t")[:3]
            lat, lon = parse_iso6709(coords)
            zones.append((code, lat, lon, zone))
    return zones


def parse_dms(text):
    if re.match(r"\s*-?\d+(\.\d+)?\s*$", text):
        return float(text)
    m = re.match(r"\s*(-?)\s*(\d+)\D+(\d+)\D+(\d+)", text)
    sign = -1 if m.group(1) else 1
    return sign * (int(m.group(2)) + int(m.group(3)) / 60 + int(m.group(4)) / 3600)


def distance_km(a, b):
    la1, lo1, la2, lo2 = map(math.radians, (a[0], a[1], b[0], b[1]))
    c = (math.sin(la1) * math.sin(la2) + math.cos(la1) * math.cos(la2) * math.cos(lo1 - lo2))
    return 6371.0 * math.acos(max(-1.0, min(1.0, c)))


def fmt(x, places):
    text = ("%." + str(places) + "f") % x
    text = text.rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def build():
    zoneinfo.reset_tzpath([tz_dir()])
    countries = read_iso3166()
    zones = read_zone_tab()
    zones_of = {}
    ref = {}
    for code, lat, lon, zone in zones:
        zones_of.setdefault(countries[code], []).append(zone)
        ref[countries[code]] = (lat, lon)
    single = {c: (standard_offset(z[0]), ref[c]) for c, z in zones_of.items() if len(z) == 1}

    db = sqlite3.connect(sources.deb("kstars-data", "usr/share/kstars/citydb.sqlite"))
    places = []
    replaced = 0
    for name, province, country, lat, lon, tz in db.execute(
            "select Name, Province, Country, Latitude, Longitude, TZ from city"):
        offset = float(tz)
        lat, lon = parse_dms(lat), parse_dms(lon)
        country = ascii_text(country)
        country = KSTARS_COUNTRIES.get(country, country)
        # a country with one zone: today's offset, unless the place lies far
        # from the zone's city (an overseas territory listed under its state)
        if country in single and distance_km((lat, lon), single[country][1]) < 1000:
            if single[country][0] != offset:
                replaced += 1
            offset = single[country][0]
        places.append([ascii_text(country), ascii_text(name), ascii_text(province or ""),
                       lat, lon, offset])
    added = 0
    moved = 0
    by_name = {}
    for p in places:
        by_name.setdefault(p[1].lower(), []).append(p)
    for code, lat, lon, zone in zones:
        city = ascii_text(zone.rsplit("/", 1)[-1].replace("_", " "))
        country = ascii_text(countries[code])
        # tzdata places the principal city of each zone on the city itself;
        # a KStars place of that name nearby (often an airport or observatory,
        # sometimes a plain error: Hong Kong 117 km off, Bahrain filed under
        # the Emirates) takes tzdata's position, country and standard offset
        # rather than being listed a second time beside it.
        same = [p for p in by_name.get(city.lower(), [])
                if distance_km((lat, lon), (p[3], p[4])) < 300]
        if same:
            for p in same:
                if distance_km((lat, lon), (p[3], p[4])) > 10:
                    p[3], p[4] = lat, lon
                    moved += 1
                p[0] = country
                p[5] = standard_offset(zone)
            continue
        near = any(distance_km((lat, lon), (p[3], p[4])) < 30 for p in places)
        if near:
            continue
        places.append([country, city, "", lat, lon, standard_offset(zone)])
        added += 1

    counts = {}
    for p in places:
        counts[(p[0], p[1])] = counts.get((p[0], p[1]), 0) + 1
    # one line per label: the location dialog lists places by name, and two
    # places of one name that no province tells apart are one of them listed
    # wrongly (KStars' second Freetown lies on Ascension); the one nearest the
    # zone city of that name stays, else the first
    zone_at = {ascii_text(z.rsplit("/", 1)[-1].replace("_", " ")).lower(): (la, lo)
               for _, la, lo, z in zones}
    by_label = {}
    for country, city, province, lat, lon, offset in places:
        label = "%s: %s" % (country, city)
        if counts[(country, city)] > 1 and province:
            label += ", " + province
        label = label.replace('"', "'")
        line = '"%s",%s,%s,%s' % (label, fmt(lat, 4), fmt(lon, 4), fmt(offset, 2))
        by_label.setdefault(label, set()).add((line, lat, lon))
    lines = []
    dropped = 0
    for label, found in by_label.items():
        found = sorted(found)
        ref = zone_at.get(label.split(": ", 1)[1].lower())
        if ref is not None:
            found.sort(key=lambda f: distance_km(ref, (f[1], f[2])))
        lines.append(found[0][0])
        dropped += len(found) - 1
    return sorted(lines), {"places": len(lines), "from_tzdata": added,
                           "offsets_updated_from_tzdata": replaced,
                           "moved_to_tzdata_position": moved, "same_name_dropped": dropped}


def write(out_dir):
    lines, stats = build()
    with open(os.path.join(out_dir, "cities.dat"), "w", encoding="ascii", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")
    return stats
