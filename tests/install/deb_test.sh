#!/usr/bin/env bash
# Makes the Debian package from the install rules (cpack -G DEB) and checks it
# without installing it: its files, and that it declares what a fresh machine
# needs to run the program (the Qt libraries it links, the platform plugins),
# each a package this system knows; then lets apt work out, without
# installing anything, what installing it on an empty system would take.
# Usage: deb_test.sh BUILD_DIR APP_ID
set -euo pipefail
build=$(cd "$1" && pwd)
id=$2
tmp=$(mktemp -d)
# A benchmark taken out of the build while the package is made: making a
# package builds the program only, so it must not come back (once, cpack
# built the whole tree first, tests and benchmarks, on one core).
held=$(ls "$build"/bench/bench_* 2>/dev/null | sed -n 1p || true)
restore() { if [ -n "$held" ] && [ -e "$tmp/held" ]; then mv -f "$tmp/held" "$held"; fi; rm -rf "$tmp"; }
trap restore EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

[ -z "$held" ] || mv "$held" "$tmp/held"
(cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.txt" 2>&1) \
  || { cat "$tmp/cpack.txt"; fail "cpack -G DEB"; }
if [ -n "$held" ] && [ -e "$held" ]; then
  cat "$tmp/cpack.txt"; fail "making the package built $(basename "$held"), which is no part of it"
fi
deb=$(ls "$tmp"/out/astrovela_*.deb)
[ "$(dpkg-deb -f "$deb" Package)" = astrovela ] || fail "the package is not named astrovela"

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/astrovela ./usr/share/astrovela/english.ini ./usr/share/astrovela/stars.bin \
         ./usr/share/astrovela/help/english.html ./usr/share/applications/$id.desktop \
         ./usr/share/metainfo/$id.metainfo.xml ./usr/share/icons/hicolor/scalable/apps/$id.svg \
         ./usr/share/icons/hicolor/48x48/apps/$id.png ./usr/share/doc/astrovela/LICENSE; do
  grep -qx -- "$f" <<<"$files" || fail "$f is not in the package"
done

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# The package names, one a line (versions and alternatives taken apart).
names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*//; s/[[:space:]]//g; s/:any$//' | sed '/^$/d' | sort -u)
for p in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 \
         libqt6printsupport6 qt6-qpa-plugins; do
  grep -qxF -- "$p" <<<"$names" || fail "Depends does not name $p"
done
# Every package named is one Debian has (known to this system's package
# database, where the build put the same libraries).
for p in $names; do
  dpkg-query -W "$p" >/dev/null 2>&1 || fail "Depends names $p, which this system does not know"
done
# On a machine with nothing installed (simulated with an empty package
# database: nothing is installed here), apt finds everything it needs.
if compgen -G "/var/lib/apt/lists/*_Packages*" >/dev/null; then
  : >"$tmp/status"
  apt-get install --simulate -o Dir::State::status="$tmp/status" "$deb" >"$tmp/apt.txt" 2>&1 \
    || { cat "$tmp/apt.txt"; fail "the package would not install on a fresh machine"; }
  for p in astrovela libqt6widgets6 qt6-qpa-plugins; do
    grep -q "^Inst $p " "$tmp/apt.txt" || { cat "$tmp/apt.txt"; fail "a fresh machine would not get $p"; }
  done
  echo "a fresh machine would install $(grep -c '^Inst ' "$tmp/apt.txt") packages"
else
  echo "no package lists (apt-get update has not run): the fresh-machine install is not simulated"
fi
echo "the package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
