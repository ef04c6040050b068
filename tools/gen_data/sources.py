"""Fetches and unpacks the packages the data are made from.

Everything comes from Debian packages (apt-get download, unpacked with
dpkg-deb, nothing is installed) and from the npm registry (npm pack).
The unpacked trees live in a cache folder, by default /tmp/astrovela-gen.
"""
import glob
import os
import subprocess

DEBIAN_PACKAGES = [
    "xplanet",          # stars/BSC: Yale Bright Star Catalogue (public domain)
    "xplanet-images",   # images/earth.jpg: NASA Visible Earth (public domain)
    "kstars-data",      # stars.dat (spectral classes, star names), citydb.sqlite
    "gr-satellites",    # satyaml/*.yml: satellite transmitters
    "tzdata",           # zone1970.tab, zone.tab, iso3166.tab
    "stellarium-data",  # stars/default: spectral types of the Hipparcos stars
    "stellarium",       # satellites.json in the program resources (Satellites plugin)
]
NPM_PACKAGES = ["d3-celestial@0.7.35"]


def cache_dir():
    return os.environ.get("ASTROVELA_GEN_CACHE", "/tmp/astrovela-gen")


def _unpacked(name):
    return os.path.join(cache_dir(), "deb", name)


def ensure():
    """Downloads and unpacks whatever is not in the cache yet."""
    root = cache_dir()
    os.makedirs(os.path.join(root, "deb"), exist_ok=True)
    os.makedirs(os.path.join(root, "npm"), exist_ok=True)
    for pkg in DEBIAN_PACKAGES:
        dest = _unpacked(pkg)
        if os.path.isdir(dest):
            continue
        subprocess.run(["apt-get", "download", pkg], cwd=root, check=True)
        debs = sorted(glob.glob(os.path.join(root, pkg + "_*.deb")))
        os.makedirs(dest)
        subprocess.run(["dpkg-deb", "-x", debs[-1], dest], check=True)
    for spec in NPM_PACKAGES:
        name = spec.split("@")[0]
        dest = os.path.join(root, "npm", name)
        if os.path.isdir(dest):
            continue
        out = subprocess.run(["npm", "pack", spec], cwd=os.path.join(root, "npm"),
                             check=True, capture_output=True, text=True).stdout.split()[-1]
        os.makedirs(dest)
        subprocess.run(["tar", "xzf", out, "-C", dest, "--strip-components=1"],
                       cwd=os.path.join(root, "npm"), check=True)


def deb(pkg, *path):
    return os.path.join(_unpacked(pkg), *path)


def npm(pkg, *path):
    return os.path.join(cache_dir(), "npm", pkg, *path)


def package_version(pkg):
    debs = sorted(glob.glob(os.path.join(cache_dir(), pkg + "_*.deb")))
    return os.path.basename(debs[-1]).split("_")[1].replace("%3a", ":") if debs else "?"
