#!/usr/bin/env bash
# Remakes the pictures of the manual (help/images/*.png) from the real program,
# on a virtual X display, with a fresh configuration and the sample element file.
# Usage: tools/make_help_pictures.sh [BUILD_DIR]   (after a build)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:-build}
cmake --build "$BUILD_DIR" --target help_shots astrovela >/dev/null
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/config/Astrovela" "$tmp/run"
chmod 700 "$tmp/run"
# The sample sets with today's epoch, so that the pictures show plausible
# orbits at the moment they are taken (the checksums are made again).
python3 - "$PWD/tests/data/elements_sample.txt" "$tmp/elements.txt" <<'PY'
import sys, datetime
now = datetime.datetime.utcnow()
epoch = "%02d%012.8f" % (now.year % 100, now.timetuple().tm_yday + (now.hour + now.minute / 60) / 24)
def checksum(line):
    return sum(int(c) if c.isdigit() else (1 if c == '-' else 0) for c in line[:68]) % 10
out = []
for line in open(sys.argv[1]).read().splitlines():
    if line.startswith('1 ') and len(line) >= 69:
        line = line[:18] + epoch + line[32:68]
        line += str(checksum(line))
    out.append(line)
open(sys.argv[2], 'w').write('\r\n'.join(out) + '\r\n')
PY
printf '[Generali]\nLingua=english.ini\n[Database]\nPrimario=%s\n' "$tmp/elements.txt" > "$tmp/config/Astrovela/Astrovela.conf"
XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data" XDG_RUNTIME_DIR="$tmp/run" HOME="$tmp" \
  xvfb-run -a -s "-screen 0 1280x900x24" "$BUILD_DIR/bin/help_shots" "$PWD/help/images"
ls -l help/images
