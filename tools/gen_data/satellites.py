"""magnitud.dat and frequen.dat.

Sources:
 - Stellarium's satellite list (Debian package stellarium, the Satellites
   plugin's satellites.json compiled into /usr/bin/stellarium as a Qt
   resource; GPL-2+): standard magnitudes ("stdMag") of the satellites of its
   "visual" and "stations" groups, and the radio channels ("comms") of its
   "amateur", "weather" and "stations" groups;
 - gr-satellites (Debian package gr-satellites, satyaml/*.yml; GPL-3+): the
   telemetry downlinks of the satellites it decodes;
 - a short hand-typed list of well-known amateur transponder pairs (centre of
   the passband) below.
Catalogue numbers are written as the element files write them: five digits
with leading zeros.
"""
import glob
import json
import os
import re
import zlib

import yaml

import sources

# catalogue, uplink MHz, downlink MHz, description  (centre of the passband)
TRANSPONDERS = [
    (7530, "145.9", "29.45", "AO-7 mode A linear transponder"),
    (7530, "432.15", "145.95", "AO-7 mode B linear transponder, inverting"),
    (24278, "145.95", "435.85", "FO-29 linear transponder, inverting"),
    (39444, "435.14", "145.96", "AO-73 linear transponder, inverting"),
    (43700, "2400.175", "10489.675", "QO-100 narrow-band transponder"),
    (44909, "145.965", "435.64", "RS-44 linear transponder, inverting"),
    (25544, "145.99", "437.8", "ISS FM voice repeater"),
]


def stellarium_satellites():
    """The Satellites plugin's default list, unpacked from the program's resources."""
    path = sources.deb("stellarium", "usr/bin/stellarium")
    blob = open(path, "rb").read()
    start = 0
    while True:
        i = blob.find(b"\x78\x9c", start)
        if i < 0:
            raise ValueError("satellites.json not found in " + path)
        start = i + 2
        try:
            text = zlib.decompressobj().decompress(blob[i:i + 8000000])
        except zlib.error:
            continue
        if b'"stdMag"' in text and b'"satellites"' in text:
            return json.loads(text)["satellites"]


def mhz_text(value):
    text = "%.6f" % float(value)
    return text.rstrip("0").rstrip(".")


def clean(text):
    return re.sub(r'[^ -~]', "", text.replace('"', "'")).strip()


def magnitudes(sats):
    out = {}
    for key, sat in sats.items():
        groups = sat.get("groups", [])
        if "stdMag" in sat and ("visual" in groups or "stations" in groups):
            out[int(key)] = "%.1f" % float(sat["stdMag"])
    return sorted(out.items())


def channel_group(comm):
    """Uplinks and downlinks of one service share their description once the
    direction is taken out ("ARISS uplink", "ARISS downlink"), or else their
    mode ("B C" for both halves of AO-7's mode B transponder)."""
    desc = re.sub(r"\b(up|down)link\b|&|\bbeacon\b", "", comm.get("description", ""), flags=re.I)
    desc = " ".join(desc.split())
    return desc or comm.get("modulation", "")


def stellarium_channels(sats):
    rows = []
    for key, sat in sats.items():
        groups = sat.get("groups", [])
        if not any(g in groups for g in ("amateur", "weather", "stations")):
            continue
        by_group = {}
        sat_rows, lone_ups, lone_downs = [], [], []
        for c in sat.get("comms", []):
            if "frequency" in c:
                by_group.setdefault(channel_group(c), []).append(c)
        for comms in by_group.values():
            ups = [c for c in comms if "uplink" in c["description"].lower()
                   and "downlink" not in c["description"].lower()]
            downs = [c for c in comms if c not in ups]
            pairs = []
            for i, c in enumerate(downs):
                both = "uplink" in c["description"].lower()
                pairs.append((c if both else (ups[i] if i < len(ups) else None), c))
            # more uplinks than downlinks (regional uplinks of one repeater):
            # each extra uplink goes with the service's last downlink
            for up in ups[len(downs):]:
                pairs.append((up, downs[-1] if downs else None))
            for up, down in pairs:
                if up is None and down is not None and "beacon" not in down["description"].lower():
                    lone_downs.append(down)
                elif down is None:
                    lone_ups.append(up)
                else:
                    sat_rows.append((up, down))
        # an uplink and a downlink left alone in groups of their own (modes
        # written differently, "FM tone" and "FM CTCSS") belong together
        while lone_ups and lone_downs:
            sat_rows.append((lone_ups.pop(0), lone_downs.pop(0)))
        sat_rows += [(up, None) for up in lone_ups] + [(None, d) for d in lone_downs]
        for up, down in sat_rows:
            text = " ".join(x for x in (sat["name"], (down or up)["description"],
                                        (down or up).get("modulation", "")) if x)
            rows.append((int(key), mhz_text(up["frequency"]) if up else "0",
                         mhz_text(down["frequency"]) if down else "0", clean(text)))
    return rows


def grsat_channels():
    rows = []
    pattern = sources.deb("gr-satellites", "usr/lib/python3/dist-packages/satellites/satyaml/*.yml")
    for path in sorted(glob.glob(pattern)):
        with open(path, encoding="utf-8") as f:
            sat = yaml.safe_load(f)
        norad = sat.get("norad")
        if not isinstance(norad, int) or norad <= 0 or norad >= 99990:
            continue
        for name, tx in (sat.get("transmitters") or {}).items():
            freq = tx.get("frequency")
            if freq is None:
                continue
            rows.append((norad, "0", mhz_text(float(freq) / 1e6),
                         clean("%s %s" % (sat["name"], name))))
    return rows


def channels(sats):
    rows = [(n, u, d, t) for n, u, d, t in TRANSPONDERS]
    rows += stellarium_channels(sats) + grsat_channels()
    seen = set()
    per = {}
    out = []
    pairs = {}
    for n, up, down, text in rows:
        key = (n, float(up), float(down))
        if key in seen or per.get(n, 0) >= 10 or (float(up) == 0 and float(down) == 0):
            continue
        # no link of these satellites lies above 30 GHz: a larger number is a
        # slip in the source (Stellarium gives CUAVA-1 a 76750 MHz channel)
        if max(float(up), float(down)) > 30000:
            continue
        # a transponder already listed by the centre of its passband
        if float(up) and float(down) and any(abs(float(up) - u) < 0.3 and abs(float(down) - d) < 0.3
                                             for u, d in pairs.get(n, ())):
            continue
        seen.add(key)
        if float(up) and float(down):
            pairs.setdefault(n, []).append((float(up), float(down)))
        per[n] = per.get(n, 0) + 1
        out.append((n, up, down, text))
    order = {n: i for i, n in enumerate(sorted({r[0] for r in out}))}
    out.sort(key=lambda r: order[r[0]])  # stable: channels keep their order
    return out


def write(out_dir):
    sats = stellarium_satellites()
    mags = magnitudes(sats)
    with open(os.path.join(out_dir, "magnitud.dat"), "w", encoding="ascii", newline="\r\n") as f:
        for n, m in mags:
            f.write('"%05d",%s\n' % (n, m))
    chans = channels(sats)
    with open(os.path.join(out_dir, "frequen.dat"), "w", encoding="ascii", newline="\r\n") as f:
        for n, up, down, text in chans:
            f.write('"%05d",%s,%s,"%s"\n' % (n, up, down, text))
    return {"magnitudes": len(mags), "channels": len(chans),
            "satellites_with_channels": len({c[0] for c in chans})}
