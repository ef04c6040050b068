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
    """KStars' catalogue: (ra h, dec deg, mag, spectral class, long name, designation)."""
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
            genetive = parts[1].strip() if len(parts) > 1 else ""
            out.append((ra, dec, mag, spt, name, genetive))
    return out


def read_stellarium_spectra():
    """Stellarium's spectral types of the Hipparcos stars, by HR number.

    The star catalogues stars_0..2 (records of 28 bytes after a 32-byte header
    and one count per zone: HIP number in the low 24 bits of the first word,
    the spectral type's index into stars_hip_sp_0v0_4.cat at byte 18), and
    cross-id.dat for HIP to HR.
    """
    base = sources.deb("stellarium-data", "usr/share/stellarium/stars/default")
    with open(base + "/stars_hip_sp_0v0_4.cat", encoding="latin-1") as f:
        names = f.read().split("\n")
    by_hip = {}
    for level, fname in enumerate(("stars_0_0v0_8.cat", "stars_1_0v0_8.cat", "stars_2_0v0_8.cat")):
        with open(base + "/" + fname, "rb") as f:
            blob = f.read()
        magic, _type, _major, _minor, lev = struct.unpack_from("<Iiiii", blob, 0)
        if magic != 0x835F040A or lev != level:
            raise ValueError("unexpected Stellarium catalogue " + fname)
        offset = 32 + 4 * 20 * 4 ** level
        for pos in range(offset, len(blob) - 27, 28):
            word, = struct.unpack_from("<I", blob, pos)
            sp_index, = struct.unpack_from("<H", blob, pos + 14)
            hip = word & 0xFFFFFF
            if hip and sp_index < len(names) and names[sp_index].strip():
                by_hip[hip] = names[sp_index].strip()
    by_hr = {}
    with open(base + "/cross-id.dat", encoding="latin-1") as f:
        for line in f:
            parts = line.split("\t")
            if line.startswith("#") or len(parts) < 5 or not parts[4].strip():
                continue
            hip, hr = int(parts[0]), int(parts[4])
            if hip in by_hip:
                by_hr[hr] = by_hip[hip]
    return by_hr


def spectral_class(text):
    """The two-character class of a spectral type: "G3III:" gives "G3", "K" gives "K "."""
    m = re.search(r"([OBAFGKMCSNRWDL])(\d)?", text or "")
    return (m.group(1) + (m.group(2) or " ")) if m else ""


def read_d3_names():
    """d3-celestial's star names and Bayer letters by HD number."""
    with open(sources.npm("d3-celestial", "data/starnames.json"), encoding="utf-8") as f:
        names = json.load(f)
    by_hd, bayer_by_hd = {}, {}
    for entry in names.values():
        hd = entry.get("hd", "").replace("HD", "").strip().strip("\u2009")
        if not hd.isdigit():
            continue
        if entry.get("name"):
            by_hd[int(hd)] = entry["name"]
        letter = entry.get("bayer", "")
        if letter in GREEK.values() or (len(letter) == 1 and letter.isascii() and letter.isalpha()):
            bayer_by_hd[int(hd)] = letter
    return by_hd, bayer_by_hd


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
    abbr = ephem.constellation(pos, epoch=ephem.J2000)[0]
    # PyEphem names the two parts of Serpens Se1 and Se2; the sky has one Ser
    return "Ser" if abbr in ("Se1", "Se2") else abbr


def build():
    stars = list(read_bsc())
    stars.sort(key=lambda s: s["mag"])  # stable: catalogue order among equals
    stars = stars[:COUNT]
    if len(stars) < COUNT:
        raise ValueError("BSC holds fewer than %d stars" % COUNT)
    kstars = SkyIndex(read_kstars())
    names, bayer_by_hd = read_d3_names()
    spectra = read_stellarium_spectra()
    records = []
    stats = {"spectral": 0, "named": 0, "bayer": 0, "bayer_completed": 0, "const_by_position": 0}
    for s in stars:
        field = s["name"]
        bayer, digit, const = field[3:6].strip(), field[6:7].strip(), field[7:10].strip()
        if not const:
            const = constellation_of(s["ra"], s["dec"])
            stats["const_by_position"] += 1
        letter = GREEK.get(bayer, "")
        if bayer and not letter:
            raise ValueError("unknown Bayer abbreviation %r" % field)
        match = kstars.nearest(s["ra"], s["dec"], 0.05)
        if match and abs(match[2] - s["mag"]) >= 1.0:
            match = None
        if not letter:
            # completed from d3-celestial (by HD number), else from KStars'
            # designation of the star at this position
            letter = bayer_by_hd.get(s["hd"], "")
            if not letter and match:
                letter = GREEK.get(match[5][:3].strip().capitalize(), "")
            if letter:
                stats["bayer_completed"] += 1
        if letter:
            stats["bayer"] += 1
        spt = spectral_class(spectra.get(s["hr"], ""))
        kname = ""
        if match:
            spt = spt or spectral_class(match[3])
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
            letter.encode("utf-8").ljust(2) if letter else b"  ",
            const.ljust(3)[:3].encode("ascii"),
            name.ljust(16).encode("ascii")))
    return b"".join(records), stats


def write(out_dir):
    data, stats = build()
    with open(out_dir + "/stars.bin", "wb") as f:
        f.write(data)
    return stats
