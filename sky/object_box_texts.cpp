#include "sky/object_box_texts.h"

#include "core/mlang.h"
#include "platform/vb.h"

#include <cmath>

namespace sky::dettagli {

QString Unita(const char* chiave)
{
    return mLang::Testo_Lingua(QStringLiteral("frmObject"), QString::fromLatin1(chiave));
}

namespace {
QString Ore()
{
    return Unita("ore");
}
QString Minuti()
{
    return Unita("minuti");
}
QString Secondi()
{
    return Unita("secondi");
}
} // namespace

QString Testo_AR(double ore)
{
    const double h = std::floor(ore);
    const double m = std::floor((ore - h) * 60.0);
    const double s = std::floor(((ore - h) * 60.0 - m) * 60.0);
    return vb::Format(h, u" 00") + Ore() + vb::Format(m, u" 00") + Minuti() + vb::Format(s, u" 00") + Secondi();
}

QString Testo_Dec(double gradi)
{
    const QString segno = gradi < 0 ? QStringLiteral("-") : QStringLiteral("+");
    const double assoluta = std::fabs(gradi);
    const double d = std::floor(assoluta);
    const double m = std::floor((assoluta - d) * 60.0);
    return segno + vb::Format(d, u"00°") + vb::Format(m, u" 00'");
}

QString Testo_Altezza(double gradi)
{
    return vb::Format(gradi, u"#0.0°");
}

QString Testo_Azimuth(double gradi)
{
    return vb::Format(gradi, u"##0.0°");
}

QString Testo_Diametro(double secondi)
{
    const double minuti = std::floor(secondi / 60.0);
    const double resto = std::floor(secondi - minuti * 60.0);
    return vb::Format(minuti, u"#0'") + vb::Format(resto, u"00''");
}

// Light times are shown to the whole second; the second is rounded before
// it is split, so that 59.7 s carry into the next minute instead of showing 60.
QString Tempo_Luce_Pianeta(double ua)
{
    const double totale = std::round(ua * 0.1386 * 3600.0);
    const double h = std::floor(totale / 3600.0);
    const double m = std::floor((totale - h * 3600.0) / 60.0);
    const double s = totale - h * 3600.0 - m * 60.0;
    if (h > 0)
        return vb::Format(h, u"0") + Ore() + vb::Format(m, u"00") + Minuti() + vb::Format(s, u"00") + Secondi();
    return vb::Format(m, u"#0") + Minuti() + vb::Format(s, u"00") + Secondi();
}

QString Tempo_Luce_Sole(double km)
{
    const double totale = std::round(km / 299792.0);
    const double m = std::floor(totale / 60.0);
    const double s = totale - m * 60.0;
    return vb::Format(m, u"00") + Minuti() + vb::Format(s, u"00") + Secondi();
}

QString Tempo_Luce_Luna(double km)
{
    return vb::Format(km / 299792.0, u"0.0") + Secondi();
}

QString Fase_Luna(double faseRadianti)
{
    return vb::Format((1.0 - std::cos(faseRadianti)) * 0.5, u"#0%");
}

} // namespace sky::dettagli
