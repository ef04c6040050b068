#!/usr/bin/python3
"""Reference fixtures of the satellite tests.

  ref_satellite.py vectors   copy the SGP4 verification set (SGP4-VER.TLE and
                             tcppver.out of "Revisiting Spacetrack Report #3")
                             from Debian's python3-sgp4 into tests/data/
  ref_satellite.py look      write tests/data/ref_satellite_look.csv: look
                             angles, range and range rate from Skyfield
  ref_satellite.py passes    write tests/data/ref_satellite_passes.csv: rise,
                             culmination and set times from Skyfield

Run with /usr/bin/python3 from the top of the source tree.
"""
import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, '..', 'tests', 'data')


def vectors():
    import sgp4
    src = os.path.dirname(sgp4.__file__)
    for name in ('SGP4-VER.TLE', 'tcppver.out'):
        shutil.copyfile(os.path.join(src, name), os.path.join(DATA, name))
        print('copied', name, 'from', src)


def main(argv):
    what = argv[1:] or ['vectors', 'look', 'passes']
    for w in what:
        if w == 'vectors':
            vectors()
        elif w == 'look':
            import ref_satellite_look
            ref_satellite_look.main(DATA)
        elif w == 'passes':
            import ref_satellite_passes
            ref_satellite_passes.main(DATA)
        else:
            sys.exit(__doc__)


if __name__ == '__main__':
    sys.path.insert(0, HERE)
    main(sys.argv)
