#include "sky/sky_chart_logic.h"

#include "astro/mate.h"
#include "core/data_files.h"
#include "core/globals_time.h"
#include "platform/vb.h"

#include <algorithm>
#include <cmath>

namespace sky {

CoordinateMouse Calcola_Coordinate(double x, double y)
{
    CoordinateMouse c;
    c.Segno = y < 0 ? QStringLiteral("-") : QStringLiteral("+");
    c.Ore = static_cast<int>(std::floor(x));
    c.Minuti = static_cast<int>(std::floor((x - c.Ore) * 60.0));
    c.Secondi = static_cast<int>(std::floor((x - c.Ore - c.Minuti / 60.0) * 3600.0));
    c.DecAssoluta = static_cast<float>(std::fabs(y));
    c.Gradi = static_cast<int>(std::floor(c.DecAssoluta));
    c.Primi = static_cast<int>(std::floor((c.DecAssoluta - c.Gradi) * 60.0));
    return c;
}

QString Testo_Coordinate(const CoordinateMouse& c, const QString& ar, const QString& dec)
{
    return ar + QLatin1Char(' ') + vb::Format(c.Ore, u"00h ") + vb::Format(c.Minuti, u"00m ")
        + vb::Format(c.Secondi, u"00s ") + QLatin1Char(' ') + dec + QLatin1Char(' ') + c.Segno
        + vb::Format(c.Gradi, u"00° ") + vb::Format(c.Primi, u"00' ");
}

int Pezzi_Linea(double a1, double d1, double a2, double d2, PezzoLinea pezzi[2])
{
    if (std::fabs(a2 - a1) <= 16.0) {
        pezzi[0] = {a1, d1, a2, d2};
        return 1;
    }
    if (a2 <= a1) {
        pezzi[0] = {a1, d1, a2 + 24.0, d2};
        pezzi[1] = {a1 - 24.0, d1, a2, d2};
    } else {
        pezzi[0] = {a1 + 24.0, d1, a2, d2};
        pezzi[1] = {a1, d1, a2 - 24.0, d2};
    }
    return 2;
}

void Posizione_Carta(int n, double& ra, double& dec)
{
    ra = gudtCorpi[n].AscensioneRetta;
    dec = gudtCorpi[n].Declinazione;
    if (n == mAstro::kSole || n == mAstro::kLuna)
        mAstro::Precessione_A_J2000(gdblGiornoGiuliano, ra, dec);
}

Identificazione Identifica(double x, double y, double sw, double sh, int numStelle)
{
    Identificazione r;
    if (sw == 0 || sh == 0)
        return r;
    const double rapporto = std::fabs(sh / sw);
    auto distanza = [&](double a, double d) { return (x - a) * (x - a) + (y - d) * (y - d) / rapporto; };

    const int ultima = std::clamp(numStelle, 0, static_cast<int>(gudtStelle.size()) - 1);
    for (int i = 1; i <= ultima; ++i) {
        const double d = distanza(gudtStelle[i].AscensioneRetta, gudtStelle[i].Declinazione);
        if (d < r.dStella) {
            r.dStella = d;
            r.stella = i;
        }
    }
    for (int n = 1; n <= 9; ++n) {
        double a = 0, dec = 0;
        Posizione_Carta(n, a, dec);
        const double d = distanza(a, dec);
        if (d < r.dCorpo) {
            r.dCorpo = d;
            r.corpo = n;
        }
    }
    const double m = std::min(std::fabs(sw), std::fabs(sh));
    r.soglia = m / 400.0;
    if (!(r.dStella < r.soglia) && !(r.dCorpo < r.soglia))
        return r;
    r.oggetto = r.dStella < r.dCorpo ? 0 : r.corpo;
    return r;
}

} // namespace sky
