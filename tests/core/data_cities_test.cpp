// The city list the program ships (data/cities.dat), read the way the
// location dialog reads it, against PyEphem's own list of cities.
#include <gtest/gtest.h>

#include <QFile>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <algorithm>
#include <cmath>

#include "platform/vb.h"

namespace {

struct Citta {
    QString nome;
    double lat = 0, lon = 0, fuso = 0;
};

QByteArray Leggi(const QString& percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

double Distanza_Km(double lat1, double lon1, double lat2, double lon2)
{
    constexpr double rad = 3.14159265358979323846 / 180.0;
    const double c = std::sin(lat1 * rad) * std::sin(lat2 * rad)
                     + std::cos(lat1 * rad) * std::cos(lat2 * rad) * std::cos((lon1 - lon2) * rad);
    return 6371.0 * std::acos(std::clamp(c, -1.0, 1.0));
}

} // namespace

TEST(ShippedCities, EveryLineReadsAsAPlaceWithItsZone)
{
    const QByteArray byte = Leggi(QStringLiteral(ASTROVELA_SOURCE_DIR "/data/cities.dat"));
    ASSERT_FALSE(byte.isEmpty());
    // Plain ASCII lines ended by CR LF, no other line end.
    for (char c : byte)
        ASSERT_TRUE(static_cast<unsigned char>(c) < 128) << "a byte outside ASCII";
    EXPECT_EQ(byte.count("\r\n"), byte.count('\n'));
    EXPECT_EQ(byte.count("\r\n"), byte.count('\r'));
    EXPECT_TRUE(byte.endsWith("\r\n"));

    // Sequential field input: name, then three numbers, until the end.
    vb::ListReader in(QString::fromLatin1(byte));
    QList<Citta> citta;
    while (!in.atEnd()) {
        Citta c;
        c.nome = in.readString();
        if (c.nome.isEmpty())
            break;
        const auto lat = in.readNumber(), lon = in.readNumber(), fuso = in.readNumber();
        ASSERT_TRUE(lat && lon && fuso) << c.nome.toStdString();
        c.lat = *lat;
        c.lon = *lon;
        c.fuso = *fuso;
        citta.append(c);
    }
    EXPECT_EQ(citta.size(), byte.count('\n')) << "an empty name cuts the list short";
    EXPECT_GT(citta.size(), 1000);
    // The dialog counts its rows in a 16-bit integer.
    EXPECT_LT(citta.size(), 32768);

    QSet<QString> nomi;
    for (const Citta& c : citta) {
        const std::string n = c.nome.toStdString();
        // "Country: Place", one entry per name: the dialog lists them by name.
        EXPECT_EQ(c.nome.count(QStringLiteral(": ")), 1) << n;
        EXPECT_FALSE(c.nome.contains(u'"')) << n;
        EXPECT_FALSE(nomi.contains(c.nome)) << n << " is listed twice";
        nomi.insert(c.nome);
        EXPECT_TRUE(c.lat >= -90 && c.lat <= 90 && c.lon >= -180 && c.lon <= 180) << n;
        // Zone offsets are whole, half or three-quarter hours.
        EXPECT_TRUE(c.fuso >= -12 && c.fuso <= 14 && std::fmod(std::abs(c.fuso) * 4, 1.0) == 0.0) << n;
    }
}

TEST(ShippedCities, PlacesLieWhereAnIndependentListPutsThem)
{
    // Place name (the part after "Country: ", before any ", province") to its entries.
    const QByteArray byte = Leggi(QStringLiteral(ASTROVELA_SOURCE_DIR "/data/cities.dat"));
    vb::ListReader in(QString::fromLatin1(byte));
    QHash<QString, QList<Citta>> perNome;
    while (!in.atEnd()) {
        Citta c;
        c.nome = in.readString();
        if (c.nome.isEmpty())
            break;
        c.lat = in.readDouble();
        c.lon = in.readDouble();
        c.fuso = in.readDouble();
        perNome[c.nome.section(QStringLiteral(": "), 1).section(u',', 0, 0)].append(c);
    }
    ASSERT_FALSE(perNome.isEmpty());

    const QByteArray rif = Leggi(QStringLiteral(ASTROVELA_TEST_DATA "/ref_cities.csv"));
    ASSERT_FALSE(rif.isEmpty());
    int confrontate = 0;
    for (const QByteArray& riga : rif.split('\n')) {
        const QList<QByteArray> f = riga.trimmed().split(',');
        if (riga.startsWith('#') || f.size() != 3)
            continue;
        const QString nome = QString::fromUtf8(f[0]);
        if (!perNome.contains(nome))
            continue;
        const double lat = f[1].toDouble(), lon = f[2].toDouble();
        double migliore = 1e9;
        for (const Citta& c : perNome[nome])
            migliore = std::min(migliore, Distanza_Km(lat, lon, c.lat, c.lon));
        // Lists differ on where a city's centre is; a hundred kilometres off
        // is another place (a sign or a digit wrong), not the city.
        EXPECT_LT(migliore, 100.0) << nome.toStdString();
        ++confrontate;
    }
    EXPECT_GT(confrontate, 80);
}
