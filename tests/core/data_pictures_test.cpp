// The pictures shipped in data/: they load, have the sizes the map and sky
// windows are drawn for, and the globe views put the continents where the
// window's orthographic projection draws coastlines and tracks.
#include <QColor>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

QString dataFile(const char* name)
{
    return QStringLiteral(ASTROVELA_SOURCE_DIR "/data/") + QLatin1String(name);
}

struct GlobeView {
    const char* file;
    double lon0;
    double lat0;
};

const std::vector<GlobeView> kGlobes = {
    {"MapNorth.dat", 0, 90},    {"MapSouth.dat", 0, -90},
    {"Map0.dat", 0, 0},         {"Map0N45.dat", 0, 45},       {"Map0S45.dat", 0, -45},
    {"Map90.dat", 90, 0},       {"Map90N45.dat", 90, 45},     {"Map90S45.dat", 90, -45},
    {"Map180.dat", 180, 0},     {"Map180N45.dat", 180, 45},   {"Map180S45.dat", 180, -45},
    {"Map270.dat", 270, 0},     {"Map270N45.dat", 270, 45},   {"Map270S45.dat", 270, -45},
};

constexpr int kGlobeWidth = 1440;
constexpr int kGlobeHeight = 720;
constexpr double kGlobeRadius = 142.0; // map units, the shorter side spanning 360 units

enum class Ground { Ocean, Desert, Forest, Ice };

// Places whose look in the NASA picture no season or resolution changes.
struct Place {
    const char* name;
    double lon;
    double lat;
    Ground ground;
};

const std::vector<Place> kPlaces = {
    {"Sahara", 10, 24, Ground::Desert},
    {"Arabian desert", 47, 22, Ground::Desert},
    {"Australian outback", 128, -25, Ground::Desert},
    {"Gobi", 103, 42, Ground::Desert},
    {"Chihuahua desert", -106, 29, Ground::Desert},
    {"Atacama and altiplano", -68, -23, Ground::Desert},
    {"South Atlantic", -20, -30, Ground::Ocean},
    {"North Atlantic", -40, 35, Ground::Ocean},
    {"Indian Ocean", 80, -20, Ground::Ocean},
    {"North Pacific", -160, 30, Ground::Ocean},
    {"South Pacific", -120, -30, Ground::Ocean},
    {"Tasman Sea", 160, -38, Ground::Ocean},
    {"Libyan desert", 20, 27, Ground::Desert},
    {"Malian Sahara", -2, 20, Ground::Desert},
    {"Iranian plateau", 57, 31, Ground::Desert},
    {"Taklamakan", 83, 39, Ground::Desert},
    {"Thar", 71, 27, Ground::Desert},
    {"Great Basin", -116, 40, Ground::Desert},
    {"Bay of Bengal", 88, 14, Ground::Ocean},
    {"Arabian Sea", 64, 14, Ground::Ocean},
    {"Ionian Sea", 18, 34, Ground::Ocean},
    {"East Pacific", -100, -10, Ground::Ocean},
    {"Gulf of Guinea, south", -5, -10, Ground::Ocean},
    {"North-west Pacific", 150, 30, Ground::Ocean},
    {"Congo forest", 22, 0, Ground::Forest},
    {"Amazon forest", -62, -5, Ground::Forest},
    {"Borneo", 114, 1, Ground::Forest},
    {"Siberian taiga", 100, 62, Ground::Forest},
    {"Central Europe", 15, 50, Ground::Forest},
    {"Central Pacific", -140, 10, Ground::Ocean},
    {"South-west Pacific", -170, -40, Ground::Ocean},
    {"Marshall Islands sea", 175, 10, Ground::Ocean},
    {"Bering Sea", -175, 58, Ground::Ocean},
    {"Southern Ocean, Pacific", -90, -55, Ground::Ocean},
    {"Southern Ocean, Indian", 100, -50, Ground::Ocean},
    {"Southern Ocean, Atlantic", 30, -50, Ground::Ocean},
    {"Sahel", 0, 14, Ground::Desert},
    {"Alaska", -150, 64, Ground::Forest},
    {"Greenland ice", -40, 75, Ground::Ice},
    {"Ross ice shelf", -170, -82, Ground::Ice},
    {"Antarctic plateau", 60, -80, Ground::Ice},
};

bool looksLike(QColor c, Ground g)
{
    switch (g) {
    case Ground::Ocean: return c.blue() > c.red() + 25 && c.blue() > c.green();
    case Ground::Desert: return c.red() > c.blue() + 25 && c.red() >= c.green();
    case Ground::Forest: return c.green() > c.blue() + 25 && c.green() > c.red();
    case Ground::Ice: return c.red() > 170 && c.green() > 170 && c.blue() > 170;
    }
    return false;
}

const char* groundName(Ground g)
{
    switch (g) {
    case Ground::Ocean: return "ocean";
    case Ground::Desert: return "desert";
    case Ground::Forest: return "forest";
    case Ground::Ice: return "ice";
    }
    return "";
}

// The map window's forward orthographic projection about (lon0, lat0).
bool project(double lon0, double lat0, double lon, double lat, double& x, double& y, double& cosc)
{
    const double d2r = 0.0174532925;
    const double f0 = lat0 * d2r, l0 = lon0 * d2r, f = lat * d2r, l = lon * d2r;
    cosc = std::sin(f0) * std::sin(f) + std::cos(f0) * std::cos(f) * std::cos(l - l0);
    if (cosc <= 0 && std::fabs(cosc) > 1e-7)
        return false;
    x = kGlobeRadius * std::cos(f) * std::sin(l - l0);
    y = kGlobeRadius * (std::cos(f0) * std::sin(f) - std::sin(f0) * std::cos(f) * std::cos(l - l0));
    return true;
}

// Map units (x right, y up, shorter side -180..180) to a pixel of the picture,
// which the window stretches to twice the shorter side by the shorter side.
QPoint pixelOf(const QImage& img, double x, double y)
{
    const double perUnit = img.height() / 360.0;
    return QPoint(int(std::floor(img.width() / 2.0 + x * perUnit)),
                  int(std::floor(img.height() / 2.0 - y * perUnit)));
}

TEST(DataPictures, EveryPictureLoadsAsPngWithItsSize)
{
    struct Expect {
        const char* file;
        int width;
        int height;
    };
    std::vector<Expect> all = {{"MapEarth.dat", 2048, 1024}, {"landscape.dat", 720, 720}};
    for (const auto& g : kGlobes)
        all.push_back({g.file, kGlobeWidth, kGlobeHeight});
    ASSERT_EQ(all.size(), 16u);
    for (const auto& e : all) {
        QImageReader reader(dataFile(e.file));
        EXPECT_EQ(reader.format(), QByteArray("png")) << e.file;
        const QImage img = reader.read();
        ASSERT_FALSE(img.isNull()) << e.file << ": " << reader.errorString().toStdString();
        EXPECT_EQ(img.width(), e.width) << e.file;
        EXPECT_EQ(img.height(), e.height) << e.file;
    }
}

TEST(DataPictures, GlobeViewsShowTheEarthWhereTheProjectionDrawsIt)
{
    for (const auto& g : kGlobes) {
        const QImage img(dataFile(g.file));
        ASSERT_FALSE(img.isNull()) << g.file;
        int checked = 0;
        for (const auto& p : kPlaces) {
            double x = 0, y = 0, cosc = 0;
            // away from the limb, where a pixel spans a wide stretch of ground
            if (!project(g.lon0, g.lat0, p.lon, p.lat, x, y, cosc) || cosc < 0.35)
                continue;
            const QColor c = img.pixelColor(pixelOf(img, x, y));
            EXPECT_TRUE(looksLike(c, p.ground))
                << g.file << ": " << p.name << " should be " << groundName(p.ground) << ", got rgb("
                << c.red() << "," << c.green() << "," << c.blue() << ")";
            ++checked;
        }
        EXPECT_GE(checked, 8) << g.file;

        // Black beyond the globe's rim, Earth just inside it.
        for (int a = 0; a < 360; a += 15) {
            const double t = a * 0.0174532925;
            const QColor out = img.pixelColor(pixelOf(img, 147 * std::cos(t), 147 * std::sin(t)));
            EXPECT_EQ(out, QColor(Qt::black)) << g.file << " outside the rim at " << a;
            const QColor in = img.pixelColor(pixelOf(img, 138 * std::cos(t), 138 * std::sin(t)));
            EXPECT_GT(in.red() + in.green() + in.blue(), 25) << g.file << " inside the rim at " << a;
        }
        EXPECT_EQ(img.pixelColor(0, 0), QColor(Qt::black)) << g.file;
        EXPECT_EQ(img.pixelColor(img.width() - 1, img.height() - 1), QColor(Qt::black)) << g.file;
    }
}

TEST(DataPictures, EquirectangularMapSpansTheWholeEarth)
{
    const QImage img(dataFile("MapEarth.dat"));
    ASSERT_FALSE(img.isNull());
    for (const auto& p : kPlaces) {
        const QPoint px(int((p.lon + 180.0) / 360.0 * img.width()), int((90.0 - p.lat) / 180.0 * img.height()));
        const QColor c = img.pixelColor(px);
        EXPECT_TRUE(looksLike(c, p.ground)) << p.name << " should be " << groundName(p.ground) << ", got rgb("
                                            << c.red() << "," << c.green() << "," << c.blue() << ")";
    }
}

TEST(DataPictures, LandscapeIsASilhouetteOnPureGreen)
{
    const QImage img = QImage(dataFile("landscape.dat")).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(img.isNull());
    const QRgb green = qRgb(0, 255, 0);
    // Lossless: each pixel is either exactly the transparent green or dark ground.
    int silhouette = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (c == green)
                continue;
            ++silhouette;
            ASSERT_TRUE(qRed(c) < 80 && qGreen(c) < 80 && qBlue(c) < 80)
                << "pixel " << x << "," << y << " is neither green nor silhouette";
        }
    EXPECT_GT(silhouette, 1000);

    // The chart paints the picture over the square of its horizon circle: the
    // sky (altitude above about 8 degrees) and the corners show through, the
    // ground just above the horizon is covered all round.
    const double c = img.width() / 2.0, r = img.width() / 2.0;
    EXPECT_EQ(img.pixel(int(c), int(c)), green);
    EXPECT_EQ(img.pixel(0, 0), green);
    EXPECT_EQ(img.pixel(img.width() - 1, 0), green);
    for (int az = 0; az < 360; ++az) {
        const double t = az * 0.0174532925;
        const auto at = [&](double k) {
            return img.pixel(int(c + k * r * std::sin(t)), int(c - k * r * std::cos(t)));
        };
        EXPECT_NE(at(0.997), green) << "no ground at azimuth " << az;
        EXPECT_EQ(at(82.0 / 90.0), green) << "silhouette too high at azimuth " << az;
    }
}

} // namespace
