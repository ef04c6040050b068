// The arithmetic of the world map against independent references: the
// orthographic projection against a rotation of unit vectors, the sub-solar
// point against PyEphem, the terminator and the footprint against spherical
// distances, and the texts the pointer shows.
#include "core/globals_time.h"
#include "core/mastro.h"
#include "core/settings.h"
#include "platform/vb.h"
#include "maps/world_map_geometry.h"

#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

namespace mappa = maps::mappa;
constexpr double kRad = M_PI / 180.0;

struct Riferimento {
    QString tipo;
    double jd, lon, lat, distanza;
};

std::vector<Riferimento> riferimenti(const char* tipo)
{
    QFile f(QStringLiteral(ASTROVELA_TEST_DATA "/ref_world_map.csv"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    std::vector<Riferimento> out;
    for (const QByteArray& riga : f.readAll().split('\n')) {
        const QList<QByteArray> c = riga.trimmed().split(',');
        if (c.size() != 5 || c[0] != tipo)
            continue;
        out.push_back({QString::fromLatin1(c[0]), c[1].toDouble(), c[2].toDouble(), c[3].toDouble(),
                       c[4].toDouble()});
    }
    return out;
}

// Great-circle angle between two places, degrees.
double distanzaAngolare(double lon1, double lat1, double lon2, double lat2)
{
    const double c = std::sin(lat1 * kRad) * std::sin(lat2 * kRad)
                     + std::cos(lat1 * kRad) * std::cos(lat2 * kRad) * std::cos((lon1 - lon2) * kRad);
    return std::acos(std::clamp(c, -1.0, 1.0)) / kRad;
}

// The orthographic view by rotation: the place's unit vector against the
// view's east, north and outward axes.
double ortografica(double lon0, double lat0, double lon, double lat, double& x, double& y)
{
    const double p[3] = {std::cos(lat * kRad) * std::cos(lon * kRad), std::cos(lat * kRad) * std::sin(lon * kRad),
                         std::sin(lat * kRad)};
    const double fuori[3] = {std::cos(lat0 * kRad) * std::cos(lon0 * kRad),
                             std::cos(lat0 * kRad) * std::sin(lon0 * kRad), std::sin(lat0 * kRad)};
    const double est[3] = {-std::sin(lon0 * kRad), std::cos(lon0 * kRad), 0};
    const double nord[3] = {-std::sin(lat0 * kRad) * std::cos(lon0 * kRad),
                            -std::sin(lat0 * kRad) * std::sin(lon0 * kRad), std::cos(lat0 * kRad)};
    auto dot = [&](const double* a) { return a[0] * p[0] + a[1] * p[1] + a[2] * p[2]; };
    x = 142 * dot(est);
    y = 142 * dot(nord);
    return dot(fuori);
}

TEST(WorldMapGeometry, GlobeViewFollowsTheSubPointWithItsBoundaries)
{
    struct Caso {
        double lat, lon;
        const char* file;
        float clon, clat;
    } casi[] = {
        {0, 44.99, "\\Map0.dat", 0, 0},        {0, 45, "\\Map90.dat", 90, 0},
        {0, 135, "\\Map180.dat", 180, 0},      {0, 225, "\\Map270.dat", 270, 0},
        {0, 315, "\\Map0.dat", 0, 0},          {0, 359.9, "\\Map0.dat", 0, 0},
        {70, 100, "\\Map90N45.dat", 90, 45},   {70.01, 100, "\\MapNorth.dat", 0, 90},
        {-70, 200, "\\Map180S45.dat", 180, -45}, {-70.01, 200, "\\MapSouth.dat", 0, -90},
        {30, 300, "\\Map270.dat", 270, 0},     {-30, 300, "\\Map270.dat", 270, 0},
        {30.01, 10, "\\Map0N45.dat", 0, 45},   {-30.01, 10, "\\Map0S45.dat", 0, -45},
    };
    for (const Caso& c : casi) {
        const mappa::Vista v = mappa::Scegli_Vista(c.lat, c.lon);
        EXPECT_EQ(v.file, QLatin1String(c.file)) << c.lat << " " << c.lon;
        EXPECT_EQ(v.lon, c.clon);
        EXPECT_EQ(v.lat, c.clat);
    }
    EXPECT_EQ(mappa::Percorso_Immagine(QStringLiteral("/p"), QStringLiteral("\\Map0.dat")), "/p/Map0.dat");
}

TEST(WorldMapGeometry, OrthographicProjectionAndItsReadoutAgreeWithARotation)
{
    const float centri[][2] = {{0, 0}, {90, 45}, {180, -45}, {270, 0}, {0, 90}, {0, -90}};
    int confrontati = 0;
    for (const auto& c : centri) {
        for (double lat = -85; lat <= 85; lat += 17)
            for (double lon = -175; lon <= 180; lon += 25) {
                double x = 7, y = 7, rx = 0, ry = 0;
                const double profondita = ortografica(c[0], c[1], lon, lat, rx, ry);
                const bool visto = mappa::Proiezione_ortografica(c[0], c[1], lon, lat, x, y);
                if (std::fabs(profondita) > 1e-6) { // the limb itself is the next test's
                    ASSERT_EQ(visto, profondita > 0) << c[0] << "," << c[1] << " " << lon << "," << lat;
                }
                if (!visto) {
                    EXPECT_EQ(x, 7); // left as it was
                    continue;
                }
                EXPECT_NEAR(x, rx, 1e-5);
                EXPECT_NEAR(y, ry, 1e-5);
                // The pointer over the drawn place reads that place, also
                // across the pole of a tilted or polar view.
                double lon2 = 0, lat2 = 0;
                ASSERT_TRUE(mappa::Coordinate_Globo(x, y, c[0], c[1], lon2, lat2));
                EXPECT_NEAR(lat2, lat, 1e-5);
                EXPECT_NEAR(std::remainder(lon2 - lon, 360.0), 0, 1e-4) << c[0] << "," << c[1] << " " << lon << "," << lat;
                ++confrontati;
            }
    }
    EXPECT_GT(confrontati, 200);
    // The centre of the view reads as the centre; beyond the drawn globe
    // there is no reading.
    double lon = 1, lat = 1;
    ASSERT_TRUE(mappa::Coordinate_Globo(0, 0, 90, 45, lon, lat));
    EXPECT_NEAR(lon, 90, 1e-9);
    EXPECT_NEAR(lat, 45, 1e-9);
    EXPECT_FALSE(mappa::Coordinate_Globo(100, 101, 0, 0, lon, lat));
    EXPECT_TRUE(mappa::Coordinate_Globo(141.9, 0, 0, 0, lon, lat));

    // The limb and points just behind it count as seen; farther is hidden.
    double x = 0, y = 0;
    EXPECT_TRUE(mappa::Proiezione_ortografica(0, 0, 90, 0, x, y));
    EXPECT_NEAR(x, 142, 1e-6);
    EXPECT_TRUE(mappa::Proiezione_ortografica(0, 0, 90 + 0.5e-7 / kRad, 0, x, y));
    EXPECT_FALSE(mappa::Proiezione_ortografica(0, 0, 90 + 1e-5, 0, x, y));
}

TEST(WorldMapGeometry, SubSolarPointAndTerminatorMatchPyEphem)
{
    gsngFusoOrario = 0;
    gbytOraLegale = 0;
    gsngLongitudine = 0;
    gsngLatitudine = 0;
    const std::vector<Riferimento> sole = riferimenti("sun");
    ASSERT_GT(sole.size(), 200u);
    double peggiore = 0;
    for (const Riferimento& r : sole) {
        ASSERT_TRUE(mAstro::Aggiorna_Tempo(mAstro::Data_Da_Giuliano(r.jd)));
        mAstro::Calcola_Sole();
        const double a = mappa::Angolo_Orario(gdblTempoSideraleGreenwich, gdblAscensioneSole);
        const double L = mappa::Longitudine_Subsolare(a);
        const double d = gdblDeclinazioneSole;
        EXPECT_NEAR(std::remainder(L - r.lon, 360.0), 0, 0.05) << r.jd;
        EXPECT_NEAR(d, r.lat, 0.05) << r.jd;
        // Every terminator point is a quarter circle from the Sun.
        const mappa::Tabella_Terminatore t = mappa::Terminatore(mappa::Angolo_Terminatore(a), d);
        for (size_t k = 0; k < t.size(); k += 9) {
            EXPECT_EQ(t[k].lon, -180.0 + 0.5 * double(k));
            peggiore = std::max(peggiore, std::fabs(distanzaAngolare(t[k].lon, t[k].lat, r.lon, r.lat) - 90));
        }
    }
    EXPECT_LT(peggiore, 0.1);
}

TEST(WorldMapGeometry, HourAngleFoldsAndEquinoctialDeclination)
{
    EXPECT_EQ(mappa::Angolo_Terminatore(180), -180);
    EXPECT_EQ(mappa::Longitudine_Subsolare(180), 180);
    EXPECT_EQ(mappa::Angolo_Terminatore(90), 90);
    EXPECT_EQ(mappa::Longitudine_Subsolare(90), -90);
    EXPECT_EQ(mappa::Angolo_Terminatore(270), -90);
    EXPECT_EQ(mappa::Longitudine_Subsolare(270), 90);
    EXPECT_DOUBLE_EQ(mappa::Angolo_Orario(1.0, 23.0), 30.0);
    // A declination of exactly 0 is drawn as for 0.5 degrees.
    const auto zero = mappa::Terminatore(30, 0);
    const auto mezzo = mappa::Terminatore(30, 0.5);
    for (size_t k = 0; k < zero.size(); ++k)
        EXPECT_EQ(zero[k].lat, mezzo[k].lat);
    // Latitudes rounded to hundredths.
    for (const auto& p : mezzo)
        EXPECT_NEAR(p.lat * 100, std::round(p.lat * 100), 1e-6);
}

TEST(WorldMapGeometry, FootprintEdgeLiesAtTheHorizonDistance)
{
    double c = 0;
    EXPECT_FALSE(mappa::Angolo_Impronta(0, c));
    EXPECT_FALSE(mappa::Angolo_Impronta(6378.9, c)); // 6378 whole km: not above the Earth
    ASSERT_TRUE(mappa::Angolo_Impronta(6796.99, c));
    // Whole kilometres count: 6796.99 km is 6796 km.
    EXPECT_NEAR(c, std::acos(6378.135 / 6796.0), 1e-7);
    const double gradi = std::acos(6378.135 / 6796.0) / kRad;
    for (double latS : {-14.39, 51.6, 89.0, 0.0})
        for (double lonS : {-60.6, 179.5, 0.0})
            for (int k = 0; k <= 180; k += 7) {
                const double A = 2 * 3.14159265 * k / 180;
                const mappa::Punto p = mappa::Bordo_Impronta(c, latS * kRad, lonS * kRad, A);
                EXPECT_GT(p.lon, -180);
                EXPECT_LE(p.lon, 180);
                EXPECT_NEAR(distanzaAngolare(p.lon, p.lat, lonS, latS), gradi, 1e-5);
            }
    // Azimuth 0 is due north of the sub-point.
    const mappa::Punto n = mappa::Bordo_Impronta(c, 10 * kRad, 20 * kRad, 0);
    EXPECT_NEAR(n.lon, 20, 1e-5);
    EXPECT_NEAR(n.lat, 10 + gradi, 1e-5);
}

TEST(WorldMapGeometry, LinesAcrossTheDateLineAreSplitAtBothEdges)
{
    std::array<mappa::Tratto, 2> t;
    ASSERT_EQ(mappa::Tratti_Bordo(10, 5, 40, 6, t), 1);
    EXPECT_EQ(t[0].x1, 10);
    EXPECT_EQ(t[0].x2, 40);
    ASSERT_EQ(mappa::Tratti_Bordo(-170, 5, 160, 7, t), 2);
    EXPECT_EQ(t[0].x1, -170);
    EXPECT_EQ(t[0].x2, -200);
    EXPECT_EQ(t[1].x1, 190);
    EXPECT_EQ(t[1].x2, 160);
    EXPECT_EQ(t[1].y2, 7);
    ASSERT_EQ(mappa::Tratti_Bordo(175, 5, -178, 7, t), 2);
    EXPECT_EQ(t[0].x2, 182);
    EXPECT_EQ(t[1].x1, -185);
    EXPECT_EQ(t[1].x2, -178);
    // 320 degrees apart is still one line.
    EXPECT_EQ(mappa::Tratti_Bordo(-160, 0, 160, 0, t), 1);
}

TEST(WorldMapGeometry, GridLabelsAndOrthographicParallels)
{
    EXPECT_EQ(mappa::Etichetta_Griglia(-150, true), " 150°W");
    EXPECT_EQ(mappa::Etichetta_Griglia(30, true), " 30°E");
    EXPECT_EQ(mappa::Etichetta_Griglia(0, true), " 0  ");
    EXPECT_EQ(mappa::Etichetta_Griglia(-60, false), " 60°S");
    EXPECT_EQ(mappa::Etichetta_Griglia(0, false), " 0  ");
    // The sweep of a parallel ends on the limb: the depth is 0 there.
    for (double lat0 : {0.0, 45.0, -45.0})
        for (double lat : {-60.0, -30.0, 30.0, 60.0}) {
            const double lh = mappa::Semiampiezza_Parallelo(lat, lat0);
            EXPECT_LE(lh, 0);
            EXPECT_GE(lh, -180);
            if (lh > -180) {
                const auto p = mappa::Punto_Griglia(lat * kRad, lh * kRad, lat0 * kRad);
                EXPECT_NEAR(p.d, 0, 0.01) << lat0 << " " << lat;
            }
        }
    // A parallel wholly in view is swept over the full circle; the equator
    // seen from above the equator is half a circle.
    EXPECT_EQ(mappa::Semiampiezza_Parallelo(60, 45), -180);
    EXPECT_EQ(mappa::Semiampiezza_Parallelo(30, 0), -90);
    EXPECT_EQ(mappa::Semiampiezza_Parallelo(0, 45), -90);
}

TEST(WorldMapGeometry, IconsAndCoordinateTexts)
{
    EXPECT_EQ(mappa::Icona_Satellite(u"25544", 1, 0), 14);
    EXPECT_EQ(mappa::Icona_Satellite(u"20580", 7, 0), 13);
    EXPECT_EQ(mappa::Icona_Satellite(u"00005", 1, 0), 15);
    EXPECT_EQ(mappa::Icona_Satellite(u"00005", 2, 0), 11);
    EXPECT_EQ(mappa::Icona_Satellite(u"00005", 0, 13), 13);

    vb::setDisplayLocale(QLocale::c());
    EXPECT_EQ(mappa::Testo_Coordinate("Map", "Lon.", "Lat.", -0.5, 45.25, false),
              "Map - Lon. -00° 30m  Lat. +45° 15m ");
    EXPECT_EQ(mappa::Testo_Coordinate("Globe", "Lon.", "Lat.", 179.99, -12.0, true),
              "Globe - Lon. +179° 59m   Lat. -12° 00m ");
}

} // namespace
