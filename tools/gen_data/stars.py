"""stars.bin: the 9,010 brightest stars of the Yale Bright Star Catalogue.

Record of 35 bytes, little-endian:
  float32 right ascension (hours, J2000), float32 declination (degrees),
  int16 visual magnitude x 100, 2 bytes reserved (component digit of the
  Bayer letter, e.g. "1 " for alpha-1, else blanks), 2 bytes spectral class,
  2 bytes Bayer letter (the Greek small letter in UTF-8, which is always two
  bytes, or blanks), 3 bytes constellation, 16 bytes proper name (ASCII,
  blank-padded).
"""
import json
import math
import re
import struct
import unicodedata

import ephem

import sources

COUNT = 9010
RECORD = struct.Struct("<ffh2s2s2s3s16s")
assert RECORD.size == 35

GREEK = {
    "Alp": "α", "Bet": "β", "Gam": "γ", "Del": "δ", "Eps": "ε", "Zet": "ζ",
    "Eta": "η", "The": "θ", "Iot": "ι", "Kap": "κ", "Lam": "λ", "Mu": "μ",
    "Nu": "ν", "Xi": "ξ", "Omi": "ο", "Pi": "π", "Rho": "ρ", "Sig": "σ",
    "Tau": "τ", "Ups": "υ", "Phi": "φ", "Chi": "χ", "Psi": "ψ", "Ome": "ω",
}


def ascii_text(text):
    """Latin text with accents removed (the name field is single-byte)."""
    text = unicodedata.normalize("NFKD", text)
    return "".join(c for c in text if ord(c) < 128).strip()


def read_bsc():
    """Yields dicts from xplanet's copy of the BSC: dec, ra, mag, name field, HR, HD."""
    pat = re.compile(r'^\s*(\S+)\s+(\S+)\s+(\S+)\s+"(.{10})"\s+(\d+)\s+(\d+)\s+(\d+)')
    with open(sources.deb("xplanet", "usr/share/xplanet/stars/BSC"), encoding="ascii") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            m = pat.match(line)
            if not m:
                raise ValueError("unreadable BSC line: " + line)
            dec, ra, mag, name, hr, hd, _sao = m.groups()
            yield {"dec": float(dec), "ra": float(ra), "mag": float(mag), "name": name,
                   "hr": int(hr), "hd": int(hd)}


def read_kstars():
    """KStars' Hipparcos-based catalogue: (ra h, dec deg, mag, spectral class, long name)."""
    out = []
    with open(sources.deb("kstars-data", "usr/share/kstars/stars.dat"), encoding="latin-1") as f:
        for line in f:
            if line.startswith("#") or len(line) < 60:
                continue
            ra = int(line[0:2]) + int(line[2:4]) / 60 + float(line[4:9]) / 3600
            sign = -1 if line[10] == "-" else 1
            dec = sign * (int(line[11:13]) + int(line[13:15]) / 60 + float(line[15:19]) / 3600)
            mag = float(line[46:51])
            spt = line[56:58]
            parts = line.rstrip("\n").split(",")
            name = parts[2].strip() if len(parts) > 2 else ""
            out.append((ra, dec, mag, spt, name))
    return out


def read_d3_names():
    """d3-celestial's star names by HD number."""
    with open(sources.npm("d3-celestial", "data/starnames.json"), encoding="utf-8") as f:
        names = json.load(f)
    by_hd = {}
    for entry in names.values():
        hd = entry.get("hd", "").replace("HD", "").strip().strip("\u2009")
        if hd.isdigit() and entry.get("name"):
            by_hd[int(hd)] = entry["name"]
    return by_hd


class SkyIndex:
    """Nearest-neighbour lookup of catalogue entries on a 1-degree declination grid."""

    def __init__(self, entries):
        self.cells = {}
        for e in entries:
            self.cells.setdefault(int(math.floor(e[1])), []).append(e)

    def nearest(self, ra, dec, max_deg):
        best, best_d = None, max_deg
        cosd = math.cos(math.radians(dec))
        for cell in range(int(math.floor(dec)) - 1, int(math.floor(dec)) + 2):
            for e in self.cells.get(cell, ()):
                dra = (e[0] - ra) * 15.0
                dra = (dra + 180.0) % 360.0 - 180.0
                d = math.hypot(dra * cosd, e[1] - dec)
                if d < best_d:
                    best, best_d = e, d
        return best


def constellation_of(ra_h, dec_deg):
    pos = (ephem.hours(math.radians(ra_h * 15.0)), ephem.degrees(math.radians(dec_deg)))
    return ephem.constellation(pos, epoch=ephem.J2000)[0]


def build():
    stars = list(read_bsc())
    stars.sort(key=lambda s: s["mag"])  # stable: catalogue order among equals
    stars = stars[:COUNT]
    if len(stars) < COUNT:
        raise ValueError("BSC holds fewer than %d stars" % COUNT)
    kstars = SkyIndex(read_kstars())
    names = read_d3_names()
    records = []
    stats = {"spectral": 0, "named": 0, "bayer": 0, "const_by_position": 0}
    for s in stars:
        field = s["name"]
        bayer, digit, const = field[3:6].strip(), field[6:7].strip(), field[7:10].strip()
        if not const:
            const = constellation_of(s["ra"], s["dec"])
            stats["const_by_position"] += 1
        letter = GREEK.get(bayer, "")
        if bayer and not letter:
            raise ValueError("unknown Bayer abbreviation %r" % field)
        if letter:
            stats["bayer"] += 1
        match = kstars.nearest(s["ra"], s["dec"], 0.05)
        spt = ""
        kname = ""
        if match and abs(match[2] - s["mag"]) < 1.0:
            spt = match[3].strip().rstrip("?")
            kname = match[4]
        if spt:
            stats["spectral"] += 1
        name = ascii_text(names.get(s["hd"], "") or kname)[:16]
        if name:
            stats["named"] += 1
        records.append(RECORD.pack(
            s["ra"], s["dec"], int(round(s["mag"] * 100)),
            (digit or " ").ljust(2).encode("ascii"),
            spt.ljust(2)[:2].encode("ascii"),
            letter.encode("utf-8") if letter else b"  ",
            const.ljust(3)[:3].encode("ascii"),
            name.ljust(16).encode("ascii")))
    return b"".join(records), stats


def write(out_dir):
    data, stats = build()
    with open(out_dir + "/stars.bin", "wb") as f:
        f.write(data)
    return stats
