#!/usr/bin/python3
"""Reference fixture of near-earth SGP4 on re-entering satellites:
tests/data/ref_decay.csv.

Element sets of low satellites with a large drag term (high and low
eccentricity, simplified and full drag terms, low and polar inclination)
propagated every ten minutes until python3-sgp4 can go no further, then minute
by minute over the last hour to the last minute it can compute, by Debian's
python3-sgp4: sgp4.io.twoline2rv with the WGS-72 old constants (the
constants of the program) in the improved operation mode, and
sgp4.propagation.sgp4. On the way the mean eccentricity is driven through
zero, where the revision holds it at 1e-6.

Rows:
  SET,name,line 1,line 2          (lines without commas)
  name,tsince (min),x,y,z (km),vx,vy,vz (km/s),error code of python3-sgp4
  END,name,first minute python3-sgp4 cannot compute,its error code

Run with /usr/bin/python3 from the top of the source tree.
"""
import os

from sgp4.propagation import sgp4

# The element-set lines are written as for the deep-space reference.
from ref_deep_space import sets_read

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'tests', 'data', 'ref_decay.csv')


# name, catalogue number, epoch, ndot/2, B*, i, node, e, argp, M, n (rev/day)
SETS = [
    ('low e 16.19', 91001, 26200.25000000, 0.00250000, 5.0e-3, 51.6400, 120.0000, 0.0004800, 80.0000, 280.0000, 16.19000000),
    ('polar 16.05', 91002, 26201.50000000, 0.00120000, 2.0e-3, 97.4000, 30.0000, 0.0011000, 200.0000, 160.0000, 16.05000000),
    ('full drag 15.62', 91003, 26202.75000000, 0.00080000, 3.0e-2, 28.5000, 300.0000, 0.0003000, 10.0000, 350.0000, 15.62000000),
    ('eccentric 15.5', 91004, 26203.10000000, 0.00050000, 4.0e-2, 65.0000, 210.0000, 0.0100000, 250.0000, 110.0000, 15.50000000),
]


def sample(sat, t):
    r, v = sgp4(sat, t)
    err = sat.error
    sat.error = 0
    if err != 0 or not isinstance(r, (list, tuple)) or r[0] is False \
            or any(x != x for x in tuple(r) + tuple(v)):
        return None, err
    return (tuple(r) + tuple(v)), err


def main():
    rows = ['# re-entry reference: python3-sgp4, WGS-72 old constants, improved mode '
            '(tools/ref_decay.py)']
    for name, sat in sets_read(SETS, rows):
        # Every ten minutes to the first failure, then minute by minute over
        # the last hour before it.
        t = 0.0
        while True:
            s, err = sample(sat, t)
            if s is None:
                break
            t += 10.0
            assert t < 60 * 1440, name
        times = [10.0 * k for k in range(int(t / 10.0) - 6)]
        start = times[-1] if times else 0.0
        k = 1
        while True:
            s, err = sample(sat, start + k)
            if s is None:
                end, end_err = start + k, err
                break
            times.append(start + k)
            k += 1
        for tt in times:
            s, err = sample(sat, tt)
            rows.append('%s,%.1f,%.6f,%.6f,%.6f,%.9f,%.9f,%.9f,%d' % ((name, tt) + s + (err,)))
        rows.append('END,%s,%.1f,%d' % (name, end, end_err))
        print(name, 'last computable minute', end - 1, 'error', end_err)
    with open(OUT, 'w') as f:
        f.write('\n'.join(rows) + '\n')
    print('wrote', OUT, len(rows), 'rows')


if __name__ == '__main__':
    main()
