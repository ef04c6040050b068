"""The world map backgrounds: MapEarth.dat and the fourteen globe views.

Source: NASA Visible Earth picture shipped by Debian's xplanet-images
(images/earth.jpg, 2048 x 1024, equirectangular, longitude -180 at the left
edge, latitude 90 at the top; not copyrighted).

All files hold PNG data (Qt reads PNG without plugins), 256-colour palettes
to keep them small.

MapEarth.dat: the source picture as it is (equirectangular).

Globe views: the map window stretches a globe picture to twice the box's
shorter side in width and the shorter side in height, centred, and sets a
user scale whose shorter side spans -180..180 units with (0,0) at the
centre; satellites and coastlines are drawn with the orthographic projection
  X = 142 cos(lat) sin(lon - lon0)
  Y = 142 (cos(lat0) sin(lat) - sin(lat0) cos(lat) cos(lon - lon0))
So the picture (W = 2H) maps X, Y to pixel column W/2 + X H/360 and row
H/2 - Y H/360: a globe of radius 142 H / 360 pixels centred in the picture.
Each pixel inside the disc takes the Earth picture at the inverse projection
of its centre (bilinear, 3 x 3 samples per pixel for a smooth limb); outside
the disc the picture is black, the colour of the map box.
"""
import math
import os

import numpy as np
from PIL import Image

import sources

GLOBE_HEIGHT = 720
GLOBE_WIDTH = 2 * GLOBE_HEIGHT
RADIUS_UNITS = 142.0
SCALE_UNITS = 360.0

VIEWS = [("MapNorth.dat", 0, 90), ("MapSouth.dat", 0, -90)]
for lon0 in (0, 90, 180, 270):
    VIEWS += [("Map%d.dat" % lon0, lon0, 0), ("Map%dN45.dat" % lon0, lon0, 45),
              ("Map%dS45.dat" % lon0, lon0, -45)]


def earth_picture():
    img = Image.open(sources.deb("xplanet-images", "usr/share/xplanet/images/earth.jpg"))
    return img.convert("RGB")


def forward(lon0, lat0, lon, lat):
    """The map window's orthographic projection (degrees in, map units out)."""
    f0, l0, f, l = map(math.radians, (lat0, lon0, lat, lon))
    cosc = math.sin(f0) * math.sin(f) + math.cos(f0) * math.cos(f) * math.cos(l - l0)
    x = RADIUS_UNITS * math.cos(f) * math.sin(l - l0)
    y = RADIUS_UNITS * (math.cos(f0) * math.sin(f) - math.sin(f0) * math.cos(f) * math.cos(l - l0))
    return x, y, cosc >= -1e-7


def inverse(lon0, lat0, x, y):
    """Longitude and latitude (degrees) of map units x, y; NaN off the disc (arrays)."""
    f0, l0 = math.radians(lat0), math.radians(lon0)
    u, v = x / RADIUS_UNITS, y / RADIUS_UNITS
    rho = np.hypot(u, v)
    inside = rho <= 1.0
    rho_s = np.where(rho == 0, 1e-12, np.minimum(rho, 1.0))
    c = np.arcsin(rho_s)
    sinc, cosc = np.sin(c), np.cos(c)
    lat = np.arcsin(np.clip(cosc * math.sin(f0) + v * sinc * math.cos(f0) / rho_s, -1, 1))
    lon = l0 + np.arctan2(u * sinc, rho_s * math.cos(f0) * cosc - v * math.sin(f0) * sinc)
    lon = (np.degrees(lon) + 180.0) % 360.0 - 180.0
    return np.where(inside, lon, np.nan), np.where(inside, np.degrees(lat), np.nan)


def sample(src, lon, lat):
    """Bilinear sample of the equirectangular picture; black where lon is NaN."""
    h, w, _ = src.shape
    ok = ~np.isnan(lon)
    px = (np.nan_to_num(lon) + 180.0) / 360.0 * w - 0.5
    py = (90.0 - np.nan_to_num(lat)) / 180.0 * h - 0.5
    x0 = np.floor(px).astype(int)
    y0 = np.clip(np.floor(py).astype(int), 0, h - 1)
    fx, fy = (px - x0)[..., None], np.clip(py - np.floor(py), 0, 1)[..., None]
    y1 = np.clip(y0 + 1, 0, h - 1)
    x0w, x1w = x0 % w, (x0 + 1) % w
    top = src[y0, x0w] * (1 - fx) + src[y0, x1w] * fx
    bottom = src[y1, x0w] * (1 - fx) + src[y1, x1w] * fx
    return np.where(ok[..., None], top * (1 - fy) + bottom * fy, 0.0)


def render_globe(src, lon0, lat0, width=GLOBE_WIDTH, height=GLOBE_HEIGHT, ss=3):
    units_per_px = SCALE_UNITS / height
    acc = np.zeros((height, width, 3))
    cols = np.arange(width)
    rows = np.arange(height)
    for i in range(ss):
        for j in range(ss):
            x = (cols + (i + 0.5) / ss - width / 2.0) * units_per_px
            y = (height / 2.0 - (rows + (j + 0.5) / ss)) * units_per_px
            xx, yy = np.meshgrid(x, y)
            lon, lat = inverse(lon0, lat0, xx, yy)
            acc += sample(src, lon, lat)
    return np.clip(acc / (ss * ss) + 0.5, 0, 255).astype(np.uint8)


def save_png(array_or_image, path, colours=256):
    img = array_or_image if isinstance(array_or_image, Image.Image) else Image.fromarray(array_or_image)
    img = img.quantize(colors=colours, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    img.save(path, format="PNG", optimize=True)


def self_check():
    """The inverse used for the pictures undoes the window's forward projection."""
    for lon0, lat0 in ((0, 0), (90, 45), (270, -45), (0, 90), (180, -90)):
        for lon in range(-180, 180, 17):
            for lat in range(-85, 90, 13):
                x, y, vis = forward(lon0, lat0, lon, lat)
                if not vis or math.hypot(x, y) > 141.0:
                    continue
                ilon, ilat = inverse(lon0, lat0, np.array([x]), np.array([y]))
                dlon = (ilon[0] - lon + 180) % 360 - 180
                if abs(ilat[0] - lat) > 1e-6 or (abs(lat) < 89 and abs(dlon) > 1e-6):
                    raise AssertionError("projection mismatch at %s %s" % (lon, lat))


def write(out_dir):
    self_check()
    img = earth_picture()
    save_png(img, os.path.join(out_dir, "MapEarth.dat"))
    src = np.asarray(img).astype(np.float64)
    for name, lon0, lat0 in VIEWS:
        save_png(render_globe(src, lon0, lat0), os.path.join(out_dir, name))
    return {"globes": len(VIEWS), "globe_size": (GLOBE_WIDTH, GLOBE_HEIGHT), "earth_size": img.size}
