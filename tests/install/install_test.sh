#!/usr/bin/env bash
# Installs the program into a temporary prefix, as a user or a package would,
# and checks what a Linux desktop relies on: the layout, the menu entry, the
# icon, the metadata; then starts the installed program the way the menu does
# (its Exec line, from PATH) with a fresh home folder and no display.
# Before that, the install target (make install, as a packager runs it)
# after the program went out of date, with the number of jobs the user gave.
# It changes nothing but its own folders and the build folder it is given, so
# that the tests run from a source tree the user may not write.
# Usage: install_test.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1
id=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/usr
fail() { echo "FAIL: $*" >&2; exit 1; }

# The install target builds the program before it installs it: a program
# older than its objects, as after a change to a source, is linked again and
# that program installed, not the one before without a word. (Only the build
# folder is changed: the program is dated back. The timestamps say it: the
# same objects give the same program.)
touch -d @946684800 "$build/bin/astrovela"
before=$tmp/before
touch "$before"
# Two jobs asked for: the program's build takes them as they are given (under
# make it shares make's own jobs), so make has nothing to say about its job
# server.
DESTDIR=$tmp/dest cmake --build "$build" --target install --parallel 2 >"$tmp/install.txt" 2>&1 \
  || { cat "$tmp/install.txt"; fail "the install target"; }
if grep -i "jobserver" "$tmp/install.txt"; then
  fail "the program's build did not take the two jobs it was given"
fi
installed=$tmp/dest$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")/bin/astrovela
[ -x "$installed" ] || { cat "$tmp/install.txt"; fail "the install target installed no program"; }
[ "$build/bin/astrovela" -nt "$before" ] && [ "$installed" -nt "$before" ] \
  || { cat "$tmp/install.txt"; fail "the install target installed the program that was out of date"; }
strip -o "$tmp/built" "$build/bin/astrovela"
cmp -s "$tmp/built" "$installed" || fail "the program installed is not the one just built"

cmake --install "$build" --prefix "$prefix" >/dev/null

# The program, and the files of its folder where an installation keeps them.
data=$prefix/share/astrovela
[ -x "$prefix/bin/astrovela" ] || fail "no bin/astrovela"
# Without the debug information the build keeps (as the package has it).
if readelf -S --wide "$prefix/bin/astrovela" | grep -q '\.debug_'; then
  fail "bin/astrovela carries its debug information ($(stat -c %s "$prefix/bin/astrovela") bytes)"
fi
for f in english.ini italiano.ini MapEarth.dat Map0.dat Map0N45.dat Map0S45.dat Map90.dat \
         Map90N45.dat Map90S45.dat Map180.dat Map180N45.dat Map180S45.dat Map270.dat \
         Map270N45.dat Map270S45.dat MapNorth.dat MapSouth.dat stars.bin cities.dat clines.dat \
         cnames.dat planets.dat frequen.dat magnitud.dat landscape.dat \
         help/english.html help/italiano.html help/images/main_window.png; do
  [ -f "$data/$f" ] || fail "share/astrovela/$f is missing"
done
[ ! -e "$data/help/README.md" ] || fail "the manual's notes for developers were installed"
[ -f "$prefix/share/doc/astrovela/LICENSE" ] || fail "no licence in share/doc/astrovela"
grep -q "Olaf Frohn" "$prefix/share/doc/astrovela/data-sources.md" || fail "the data notices are not installed"

# Menu entry and metadata, validated by the desktop's own tools.
desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate"
grep -q "^Icon=$id\$" "$desktop" || fail "the desktop entry does not name the icon $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
  || fail "the metadata does not name the desktop entry"
for c in Astronomy Science Education; do
  grep -q "^Categories=.*\\b$c;" "$desktop" || fail "category $c missing from the desktop entry"
  grep -q "<category>$c</category>" "$metainfo" || fail "category $c missing from the metadata"
done

# The icon: scalable, and a PNG of each usual size that is that size.
[ -f "$prefix/share/icons/hicolor/scalable/apps/$id.svg" ] || fail "no scalable icon"
for size in 16 24 32 48 64 128 256 512; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ -f "$png" ] || fail "no ${size}x${size} icon"
  # The width and height of the PNG header (big-endian, bytes 16 to 23).
  read -r w h < <(od -An -tu1 -j16 -N8 "$png" \
    | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "the ${size}x${size} icon is ${w}x${h}"
done

# Starts a program with a fresh home (nothing of the caller's environment but
# the system's PATH and a sanitizer build's options) and lets it close itself
# after the given milliseconds; what it closed is on its standard error.
run() {
  local home=$1 ms=$2
  shift 2
  mkdir -p "$home/run"
  chmod 700 "$home/run"
  local keep=()
  for v in ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS; do
    [ -z "${!v:-}" ] || keep+=("$v=${!v}")
  done
  env -i PATH="$prefix/bin:/usr/bin:/bin" HOME="$home" XDG_RUNTIME_DIR="$home/run" "${keep[@]}" \
    LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen ASTROVELA_SMOKE_QUIT_MS="$ms" \
    timeout 60 "$@" >"$home/out.txt" 2>&1 || { cat "$home/out.txt"; fail "$* ended with an error"; }
}
exec_line=$(sed -n 's/^Exec=//p' "$desktop")

# First start: nothing set, so the language picker asks (the language files
# were found).
home=$tmp/home1
run "$home" 1500 $exec_line
grep -q "closing the dialog frmLanguage" "$home/out.txt" \
  || { cat "$home/out.txt"; fail "the first start did not offer the languages"; }

# With a language chosen: the main window with every fixed file found, and
# the user's own files made in the home folder.
home=$tmp/home2
mkdir -p "$home/.config/Astrovela"
printf '[Generali]\nLingua=english.ini\n' >"$home/.config/Astrovela/Astrovela.conf"
run "$home" 4000 $exec_line
if grep -q "closing the dialog" "$home/out.txt" || ! grep -q "closing the main window" "$home/out.txt"; then
  cat "$home/out.txt"
  fail "the installed program did not come up with its main window"
fi
cmp -s "$home/.local/share/Astrovela/cities.dat" "$data/cities.dat" || fail "the city list was not copied"
[ -f "$home/.local/share/Astrovela/Astrovela.ini" ] || fail "no working list in the home folder"

# The program copied on its own finds nothing, and says where it looked.
mkdir -p "$tmp/alone"
cp "$prefix/bin/astrovela" "$tmp/alone/"
home=$tmp/home3
run "$home" 1500 "$tmp/alone/astrovela"
grep -q "closing the dialog QMessageBox: No language file available!" "$home/out.txt" \
  || { cat "$home/out.txt"; fail "the program copied alone did not tell of its missing files"; }
grep -qx "$tmp/alone" "$home/out.txt" && grep -qx "$tmp/share/astrovela" "$home/out.txt" \
  || { cat "$home/out.txt"; fail "the message does not name the folders looked in"; }
echo "installed program, menu entry, icon and metadata: all right"
