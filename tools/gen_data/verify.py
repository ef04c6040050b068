"""Checks the written files against the formats the program reads."""
import csv
import os
import re
import struct

import stars as starcat


def check(out_dir):
    problems = []

    def need(cond, text):
        if not cond:
            problems.append(text)

    data = open(os.path.join(out_dir, "stars.bin"), "rb").read()
    need(len(data) == 35 * starcat.COUNT, "stars.bin size %d" % len(data))
    abbrs = set()
    with open(os.path.join(out_dir, "cnames.dat"), newline="") as f:
        names = list(csv.reader(f))
    need(len(names) == 89, "cnames.dat rows")
    for r in names:
        abbrs.add(r[3])
    last_mag = -32768
    for i in range(len(data) // 35):
        ra, dec, mag, res, spt, letter, const, name = starcat.RECORD.unpack_from(data, 35 * i)
        need(0 <= ra < 24 and -90 <= dec <= 90, "star %d position" % (i + 1))
        need(mag >= last_mag, "star %d out of magnitude order" % (i + 1))
        last_mag = mag
        need(re.fullmatch(rb"[OBAFGKMCSNRWDL][0-9 ]|  ", spt) is not None, "star %d class %r" % (i + 1, spt))
        try:
            text = letter.decode("utf-8")
            need(len(text.strip()) <= 1, "star %d letter %r" % (i + 1, letter))
        except UnicodeDecodeError:
            need(False, "star %d letter not UTF-8" % (i + 1))
        need(const.decode("ascii").strip() in abbrs, "star %d constellation %r" % (i + 1, const))
        need(name.isascii(), "star %d name" % (i + 1))

    with open(os.path.join(out_dir, "clines.dat"), newline="") as f:
        lines = list(csv.reader(f))
    need(len(lines) == 646, "clines.dat rows")
    need({r[0] for r in lines} == abbrs, "clines.dat does not draw every constellation")

    with open(os.path.join(out_dir, "planets.dat"), newline="") as f:
        need(all(len(r) == 10 for r in csv.reader(f)), "planets.dat fields")

    with open(os.path.join(out_dir, "magnitud.dat"), newline="") as f:
        nums = [int(r[0]) for r in csv.reader(f)]
    need(nums == sorted(set(nums)), "magnitud.dat not in ascending order")

    with open(os.path.join(out_dir, "frequen.dat"), newline="") as f:
        rows = list(csv.reader(f))
    per = {}
    for r in rows:
        need(len(r) == 4 and re.fullmatch(r"\d{5}", r[0]) is not None, "frequen.dat row %r" % r)
        need(0 <= float(r[1]) <= 30000 and 0 <= float(r[2]) <= 30000, "frequen.dat row %r" % r)
        per[r[0]] = per.get(r[0], 0) + 1
    need(max(per.values()) <= 10, "more than ten channels for one satellite")

    with open(os.path.join(out_dir, "cities.dat"), "rb") as f:
        raw = f.read()
    need(raw.isascii() and b"\r\n" in raw and b"\n" not in raw.replace(b"\r\n", b""), "cities.dat line ends")
    labels = set()
    for r in csv.reader(raw.decode("ascii").splitlines()):
        need(len(r) == 4 and ": " in r[0], "cities.dat row %r" % r)
        need(r[0] not in labels, "cities.dat lists %r twice" % r[0])
        labels.add(r[0])
        lat, lon, off = float(r[1]), float(r[2]), float(r[3])
        need(-90 <= lat <= 90 and -180 <= lon <= 180 and -12 <= off <= 14 and (off * 4).is_integer(),
             "cities.dat values %r" % r)
    if problems:
        raise ValueError("data check failed:\n  " + "\n  ".join(problems[:20]))
    return {"checked": True}


write = check
