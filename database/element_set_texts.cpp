#include "database/element_set_texts.h"

#include "astro/satellite.h"
#include "core/element_file.h"
#include "core/element_parser.h"
#include "platform/vb.h"

#include <QDate>
#include <QTime>

#include <cmath>

namespace database {

namespace {

QString fmt(double v, const char* picture)
{
    return vb::Format(v, QString::fromLatin1(picture));
}

QString testo(const std::string& s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

} // namespace

QString Designatore_Internazionale(const std::string& riga1)
{
    return vb::RTrim(testo(core::Colonne(riga1, 10, 17)));
}

TestiElementi Testi_Segnaposto()
{
    TestiElementi t;
    const QString zero = QStringLiteral("0");
    for (QString* s : {&t.lblEpochTime, &t.lblInclination, &t.lblRaan, &t.lblEccentricity,
                       &t.lblArgumentPerigee, &t.lblMeanAnomaly, &t.lblMeanMotion, &t.lblDev1, &t.lblDev2,
                       &t.lblBStar, &t.lblOrbitNumberEpoch, &t.lblNoradNumber, &t.lblInternational,
                       &t.lblLaunchYear, &t.lblLaunchNumber, &t.lblAge, &t.lblSet, &t.lblMagStd})
        *s = zero;
    t.lblDate.clear();
    t.lblZeroLine = QStringLiteral("N");
    t.lblFirstLine = QStringLiteral("1");
    t.lblSecondLine = QStringLiteral("2");
    for (QString* s : {&t.lblApogee, &t.lblPerigee, &t.lblOrbitalPeriod, &t.lblSemiMaj, &t.lblSemiMin})
        *s = QStringLiteral("0.0");
    return t;
}

std::optional<TestiElementi> Testi_Elementi(const Satelement& e, const RigaDati& r, double adesso)
{
    // Derived figures first: a set from which they cannot be formed shows
    // the placeholders.
    const double ecc = e.Eccentricita;
    const double n = e.MotoMedio * 2 * 3.14159265 / 86400;
    if (!(n > 0) || !std::isfinite(n) || !(ecc >= 0 && ecc < 1))
        return std::nullopt;
    const double a = std::pow(astro::kGM / n / n, 1.0 / 3.0);
    const double b = a * std::sqrt(1 - ecc * ecc);
    const double periodo = astro::Periodo_Orbitale(a) / 60;
    const double apogeo = (ecc + 1) * a - 6378.135;
    const double perigeo = (1 - ecc) * a - 6378.135;
    if (!std::isfinite(a) || !std::isfinite(periodo))
        return std::nullopt;

    TestiElementi t;
    t.semiasseMaggiore = a;
    t.semiasseMinore = b;
    t.periodo = periodo;
    t.apogeo = apogeo;
    t.perigeo = perigeo;

    t.lblEpochTime = fmt(e.GiornoEpoca, "##0.00000000") + QLatin1Char('@') + fmt(e.AnnoEpoca, "0000");
    // Day 1 is 1 January; the fraction is the time of day in UT, to the
    // nearest second.
    const int anno = static_cast<int>(e.AnnoEpoca);
    const double giorno = std::floor(e.GiornoEpoca);
    qint64 secondi = std::llround((e.GiornoEpoca - giorno) * 86400.0);
    QDate data = QDate(anno, 1, 1).addDays(static_cast<qint64>(giorno) - 1);
    if (secondi >= 86400) {
        secondi -= 86400;
        data = data.addDays(1);
    }
    if (data.isValid())
        t.lblDate = vb::Format(data, u"dd mmm yyyy") + QStringLiteral(" - ")
            + QTime(0, 0).addSecs(static_cast<int>(secondi)).toString(QStringLiteral("hh:mm:ss"));
    t.lblInclination = fmt(e.Inclinazione, "##0.0000");
    t.lblRaan = fmt(e.NodoAscendente, "##0.0000");
    t.lblEccentricity = fmt(ecc, "0.0000000");
    t.lblArgumentPerigee = fmt(e.ArgomentoPerigeo, "##0.0000");
    t.lblMeanAnomaly = fmt(e.AnomaliaMedia, "##0.0000");
    t.lblMeanMotion = fmt(e.MotoMedio, "#0.00000000");
    t.lblDev1 = fmt(e.DerivataPrima, "0.00000000");
    t.lblDev2 = fmt(e.DerivataSecondaMantissa * std::pow(10.0, e.DerivataSecondaEsponente), "0.00000000");
    t.lblBStar = fmt(e.BStarMantissa * std::pow(10.0, e.BStarEsponente), "0.00000000");
    t.lblOrbitNumberEpoch = fmt(e.NumeroRivoluzione, "####0");

    t.lblNoradNumber = fmt(vb::Val(std::string_view(e.NumeroCatalogo)), "####0");
    t.lblInternational = Designatore_Internazionale(r.Riga1);
    t.lblLaunchYear = fmt(e.AnnoLancio, "0000");
    t.lblLaunchNumber = fmt(e.NumeroLancio, "##0") + testo(e.PezzoLancio);
    t.lblAge = fmt(adesso - e.EpocaGiuliana, "0.0");
    t.lblSet = testo(core::Colonne(r.Riga1, 65, 68));
    t.lblMagStd = e.MagnitudineStandard.empty() ? QStringLiteral("???") : core::Magnitudine_Mostrata(e);
    t.lblZeroLine = testo(r.Riga0);
    t.lblFirstLine = testo(r.Riga1);
    t.lblSecondLine = testo(r.Riga2);

    t.lblApogee = fmt(apogeo, "#####0.0");
    t.lblPerigee = fmt(perigeo, "#####0.0");
    t.lblOrbitalPeriod = fmt(periodo, "####0.0");
    t.lblSemiMaj = fmt(a, "#####0.0");
    t.lblSemiMin = fmt(b, "#####0.0");
    return t;
}

} // namespace database
