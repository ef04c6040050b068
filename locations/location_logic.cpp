#include "locations/location_logic.h"

#include "astro/mate.h"
#include "core/mlang.h"
#include "platform/vb.h"

#include <cmath>

namespace locations {

int Indice_Minuti(int minuti)
{
    switch (minuti) {
    case 0: return 0;
    case 30: return 1;
    case 45: return 2;
    default: return -1;
    }
}

int Minuti_Indice(int indice)
{
    static const int minuti[3] = {0, 30, 45};
    return indice >= 0 && indice < 3 ? minuti[indice] : 0;
}

FusoBoxes Scomponi_Fuso(double fuso)
{
    FusoBoxes b;
    b.lato = fuso < 0 ? 1 : 0;
    const double assoluto = std::fabs(fuso);
    b.ore = int(std::fabs(vb::Fix(fuso)));
    b.minuti = Indice_Minuti(int(std::lround((assoluto - b.ore) * 60.0)));
    return b;
}

double Fuso_Da_Boxes(int lato, int ore, int indiceMinuti)
{
    const QString testo = QString::number(ore) + QLatin1Char('.')
                          + vb::CStrC(double(Minuti_Indice(indiceMinuti)) * 10.0 / 6.0);
    double fuso = vb::Val(testo);
    if (lato == 1)
        fuso = -fuso;
    return fuso;
}

double Fuso_Da_Minuti(int lato, int ore, int minuti)
{
    double fuso = double(minuti) / 60.0 + double(ore);
    return lato == 1 ? -fuso : fuso;
}

Globo Scegli_Globo(double l)
{
    if (l < -160) return {1, -180};
    if (l < -120) return {2, -140};
    if (l < -80) return {3, -100};
    if (l < -40) return {4, -60};
    if (l < 0) return {5, -20};
    if (l < 20) return {6, 0};
    if (l < 40) return {7, 20};
    if (l < 80) return {8, 60};
    if (l < 120) return {9, 100};
    if (l < 160) return {10, 140};
    return {11, 160};
}

QPointF Proietta_Globo(double latitudine, double longitudine, double centro)
{
    const double rad = 0.0174532925;
    const double phi0 = 0.2617993875;
    const double phi = latitudine * rad;
    const double dl = (longitudine - centro) * rad;
    const double x = std::cos(phi) * std::sin(dl);
    const double y = std::cos(phi0) * std::sin(phi) - std::sin(phi0) * std::cos(phi) * std::cos(dl);
    return {x, y};
}

namespace {
bool Fuori(double v, double lo, double hi)
{
    return v < lo || v > hi;
}
} // namespace

Verifica Verifica_Decimale(const Decimale& lat, const Decimale& lon)
{
    if (Fuori(lat.gradi, 0, 90)) return {Campo::GradiLat, QStringLiteral("valorecompreso0-90")};
    if (Fuori(lat.decimi, 0, 9999)) return {Campo::FrazLat, QStringLiteral("valorecompreso0-9999")};
    if (Fuori(lon.gradi, 0, 180)) return {Campo::GradiLon, QStringLiteral("valorecompreso0-180")};
    if (Fuori(lon.decimi, 0, 9999)) return {Campo::FrazLon, QStringLiteral("valorecompreso0-9999")};
    return {};
}

Verifica Verifica_Sessagesimale(const Sessagesimale& lat, const Sessagesimale& lon)
{
    if (Fuori(lat.gradi, 0, 90)) return {Campo::GmsGradiLat, QStringLiteral("valorecompreso0-90")};
    if (Fuori(lat.minuti, 0, 59)) return {Campo::GmsMinLat, QStringLiteral("valorecompreso0-59")};
    if (Fuori(lat.secondi, 0, 59)) return {Campo::GmsSecLat, QStringLiteral("valorecompreso0-59")};
    if (Fuori(lon.gradi, 0, 180)) return {Campo::GmsGradiLon, QStringLiteral("valorecompreso0-180")};
    if (Fuori(lon.minuti, 0, 59)) return {Campo::GmsMinLon, QStringLiteral("valorecompreso0-59")};
    if (Fuori(lon.secondi, 0, 59)) return {Campo::GmsSecLon, QStringLiteral("valorecompreso0-59")};
    return {};
}

Verifica Limiti_Decimale(const Decimale& lat, const Decimale& lon)
{
    if (lat.gradi == 90 && lat.decimi > 0) return {Campo::Nessuno, QStringLiteral("valorelaterrato")};
    if (lon.gradi == 180 && lon.decimi > 0) return {Campo::Nessuno, QStringLiteral("valorelongerrato")};
    return {};
}

Verifica Limiti_Sessagesimale(const Sessagesimale& lat, const Sessagesimale& lon)
{
    if (lat.gradi == 90 && (lat.minuti > 0 || lat.secondi > 0))
        return {Campo::Nessuno, QStringLiteral("valorelaterrato")};
    if (lon.gradi == 180 && (lon.minuti > 0 || lon.secondi > 0))
        return {Campo::Nessuno, QStringLiteral("valorelongerrato")};
    return {};
}

Sessagesimale Gms_Da_Decimale(const Decimale& d)
{
    Sessagesimale s;
    mMate::Decimali_GMS(d.gradi + d.decimi / 10000.0, s.gradi, s.minuti, s.secondi);
    return s;
}

Decimale Decimale_Da_Valore(double x)
{
    const double a = std::fabs(x);
    Decimale d;
    d.gradi = std::floor(a);
    d.decimi = vb::Val(vb::FormatC((a - d.gradi) * 10000.0, u"0"));
    if (d.decimi >= 10000) {
        d.gradi += 1;
        d.decimi -= 10000;
    }
    return d;
}

double Gradi_Da_Gms(const Sessagesimale& s)
{
    return mMate::Gradi_Decimali(s.gradi, s.minuti, s.secondi);
}

QString Testo_Conferma(const QString& nome, double lat, double lon, double fuso)
{
    const QString sez = QStringLiteral("frmAddLocation");
    const QString due = QStringLiteral("  ");
    return mLang::Testo_Lingua(sez, QStringLiteral("nuovalocalitacondati")) + due + nome + due
           + mLang::Testo_Lingua(sez, QStringLiteral("latitudine")) + QStringLiteral("= ") + vb::CStr(lat)
           + QStringLiteral("°") + due + mLang::Testo_Lingua(sez, QStringLiteral("longitudine"))
           + QStringLiteral("= ") + vb::CStr(lon) + QStringLiteral("°") + due
           + mLang::Testo_Lingua(sez, QStringLiteral("fuso")) + QStringLiteral("= ") + vb::CStr(fuso)
           + QLatin1Char(' ') + mLang::Testo_Lingua(QStringLiteral("Def"), QStringLiteral("ore"));
}

Decimale Decimale_Da_Gms(const Sessagesimale& s)
{
    return Decimale_Da_Valore(mMate::Gradi_Decimali(s.gradi, s.minuti, s.secondi));
}

double Arrotonda_Coordinata(double x, const QString& picture)
{
    return vb::Val(vb::FormatC(x, picture));
}

} // namespace locations
