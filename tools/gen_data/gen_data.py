#!/usr/bin/python3
"""Rebuilds the fixed data files and pictures in data/.

  /usr/bin/python3 tools/gen_data/gen_data.py [--out DIR] [part ...]

What it makes: stars constellations planets satellites cities maps landscape
(default: all). Needs python3-numpy, python3-pil, python3-yaml and
python3-ephem, apt-get and npm; the source packages are downloaded and
unpacked (not installed) into $ASTROVELA_GEN_CACHE (default
/tmp/astrovela-gen). See data/README.md for every source and licence.
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import sources  # noqa: E402

PARTS = ["stars", "constellations", "planets", "satellites", "cities", "maps", "landscape"]


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(root, "data"))
    parser.add_argument("parts", nargs="*", help="any of: " + " ".join(PARTS))
    args = parser.parse_args()
    unknown = [p for p in args.parts if p not in PARTS]
    if unknown:
        parser.error("unknown part(s): " + " ".join(unknown))
    os.makedirs(args.out, exist_ok=True)
    sources.ensure()
    for part in args.parts or PARTS:
        module = __import__(part)
        print(part, module.write(args.out), flush=True)
    print("verify", __import__("verify").check(args.out))


if __name__ == "__main__":
    main()
