#!/usr/bin/env bash
# Installs the Debian packages needed to build, test and run Astrovela,
# only those that are missing. Needs root (or sudo) when something is missing.
set -euo pipefail
PKGS=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev googletest libbenchmark-dev
  xvfb xauth libxtst6 openbox poppler-utils fonts-dejavu-core
  qt6-translations-l10n
  python3-sgp4 python3-skyfield python3-ephem
  desktop-file-utils appstream dpkg-dev
  clang libclang-rt-14-dev
  locales tzdata
)
missing=()
for p in "${PKGS[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ $status == *"install ok installed"* ]] || missing+=("$p")
done
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if [ ${#missing[@]} -eq 0 ]; then
  echo "== all build packages present"
else
  echo "== installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
# One locale with a decimal comma, for the tests that run the program's
# number reading and writing under it (Italian, as many of its users).
if ! locale -a 2>/dev/null | grep -qix 'it_IT.utf8'; then
  echo "== making the it_IT.UTF-8 locale"
  $SUDO localedef -i it_IT -f UTF-8 it_IT.UTF-8
fi
