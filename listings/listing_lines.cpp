#include "listings/listing_lines.h"

#include "astro/mate.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/vb.h"

#include <algorithm>
#include <cmath>

namespace predictions {

namespace {

const QString kSezione = QStringLiteral("frmDetails");

QString testo(const std::string& s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QString lingua(const char* sezione, const char* chiave)
{
    return mLang::Testo_Lingua(QString::fromLatin1(sezione), QString::fromLatin1(chiave));
}

QString F(double v, const char16_t* picture)
{
    return vb::Format(v, QStringView(picture));
}

QString magnitudine(const MagnitudineVisuale& m)
{
    if (m.isNumber())
        return F(m.valore, u"0.0");
    return QString::fromStdString(m.testo());
}

// The cosine of an angle, kept within [-1, 1] against rounding, as degrees.
double angolo(double coseno)
{
    if (!std::isfinite(coseno))
        return 0.0;
    return mMate::ArcoCoseno(std::clamp(coseno, -1.0, 1.0)) * mMate::kRadiantiGradi;
}

const QString k3 = QStringLiteral("   ");
const QString k2 = QStringLiteral("  ");
const QString k4 = QStringLiteral("    ");

} // namespace

QString Etichetta(const char* chiave, int larghezza)
{
    return vb::LSet(mLang::Testo_Lingua(kSezione, QString::fromLatin1(chiave)), larghezza);
}

QString R(int w, const QString& s)
{
    return vb::RSet(s, w);
}

double Passo_Automatico(qint64 m)
{
    double passo = 120.0; // exactly 720 minutes
    if (m > 720)
        passo = 180.0;
    if (m < 720)
        passo = 120.0;
    if (m < 60)
        passo = 60.0;
    if (m < 20)
        passo = 30.0;
    if (m < 10)
        passo = 15.0;
    return passo;
}

QDateTime Inizio_Automatico(const QDateTime& inizio)
{
    QDateTime t0 = inizio.addSecs(-15);
    const int s = t0.time().second();
    int indietro = s;
    if (s > 45)
        indietro = s - 45;
    else if (s > 30)
        indietro = s - 30;
    else if (s > 15)
        indietro = s - 15;
    return t0.addSecs(-indietro);
}

qint64 Minuti_Calendario(const QDateTime& a, const QDateTime& b)
{
    auto minuto = [](const QDateTime& d) {
        return QDateTime(d.date(), QTime(d.time().hour(), d.time().minute()), d.timeSpec());
    };
    return minuto(a).secsTo(minuto(b)) / 60;
}

QStringList Intestazione_Satellite(const Satelement& e, const RigaDati& r, const char* chiaveNome,
                                   int larghezza)
{
    QStringList h;
    const QString pad = QString(larghezza - 7, u' ');
    h << Etichetta(chiaveNome, larghezza) + QStringLiteral(": ") + vb::Trim(testo(e.Nome));
    h << QStringLiteral("Norad #") + pad + QStringLiteral(": ") + testo(e.NumeroCatalogo);
    h << QStringLiteral("ID #   ") + pad + QStringLiteral(": ") + vb::Mid(testo(r.Riga1), 10, 6);
    const QDate epoca = QDate(int(e.AnnoEpoca), 1, 1).addDays(qint64(std::floor(e.GiornoEpoca)) - 1);
    h << Etichetta("elementiorbita", larghezza) + QStringLiteral(": ") + vb::Format(epoca, u"dd mmm yyyy")
             + QStringLiteral(" - ") + F(e.GiornoEpoca, u"Long Time") + QStringLiteral(" UTC");
    return h;
}

QStringList Intestazione_Effemeride(const Satelement& e, const RigaDati& r, int opzione)
{
    QStringList h;
    h << QString();
    h << Intestazione_Satellite(e, r, "satellite", 9);
    switch (opzione) {
    case TipoOBS:
        h << QString();
        h << Etichetta("localita", 9) + QStringLiteral(": ") + gstrLocalita + QStringLiteral(" (")
                 + lingua("Def", "lat") + QLatin1Char(' ') + F(gsngLatitudine, u"#0.000°") + QLatin1Char(' ')
                 + lingua("Def", "lon") + QLatin1Char(' ') + F(gsngLongitudine, u"##0.000°")
                 + QLatin1Char(')');
        h << QString();
        h << mLang::Testo_Lingua(kSezione, QStringLiteral("intestazioneobs"));
        break;
    case TipoECI:
        h << QString();
        h << QStringLiteral("                        --------------------(km.)---------------------  "
                            "-------------(km/sec)-------------");
        h << mLang::Testo_Lingua(kSezione, QStringLiteral("intestazioneeci"));
        break;
    case TipoLLA:
        h << QString();
        h << mLang::Testo_Lingua(kSezione, QStringLiteral("intestazionella"));
        break;
    default:
        h << QString();
        h << Etichetta("localita", 9) + QStringLiteral(": ") + gstrLocalita;
        h << QString();
        h << mLang::Testo_Lingua(kSezione, QStringLiteral("intestazionerad"));
        break;
    }
    h << QString();
    return h;
}

QStringList Intestazione_Relativo(const Satelement& a, const RigaDati& ra, const Satelement& b,
                                  const RigaDati& rb, int opzione)
{
    QStringList h;
    h << QString();
    h << Intestazione_Satellite(a, ra, "satellitea", 11);
    h << Intestazione_Satellite(b, rb, "satelliteb", 11);
    h << QString();
    if (opzione == TipoECI) {
        h << QString(25, u' ')
                 + QStringLiteral("------------Satellite A----------    -----------Satellite B-----------");
        h << mLang::Testo_Lingua(kSezione, QStringLiteral("intestazionerelativoeci"));
    } else {
        h << QString(54, u' ') + QStringLiteral("-------Satellite A------    -------Satellite B------");
        const char* chiave = opzione == TipoOBS   ? "intestazionerelativoobs"
                             : opzione == TipoLLA ? "intestazionerelativolla"
                                                  : "intestazionerelativorad";
        h << mLang::Testo_Lingua(kSezione, QString::fromLatin1(chiave));
    }
    h << QString();
    return h;
}

QString Equatoriali::testoAR() const
{
    return F(ore, u"00") + QLatin1Char('h') + F(minuti, u"00") + QLatin1Char('m') + F(secondi, u"00")
           + QLatin1Char('s');
}

QString Equatoriali::testoDec() const
{
    return segno + F(gradi, u"00") + QStringLiteral("°") + F(primi, u"00") + QLatin1Char('\'');
}

double Equatoriali::arDecimale() const
{
    return mMate::Gradi_Decimali(ore, minuti, secondi);
}

double Equatoriali::decDecimale() const
{
    const double d = gradi + primi / 60.0;
    return segno == QLatin1String("-") ? -d : d;
}

QString Testo_Istante(const QDateTime& t)
{
    return vb::Format(t, u"dd mmm yyyy  hh:mm:ss");
}

QString Riga_Effemeride(int opzione, const QDateTime& t, const Istante& s)
{
    const QString D = Testo_Istante(t);
    const Valori& v = s.v;
    switch (opzione) {
    case TipoOBS:
        return D + k3 + R(6, F(v.Altezza, u"0.00")) + k3 + R(6, F(v.Azimuth, u"0.00")) + k3
               + R(8, F(v.Distanza, u"0.0")) + k3 + R(8, F(v.Quota, u"0.0")) + k3
               + R(4, magnitudine(v.Magnitudine)) + k3 + R(4, F(100.0 * v.Fase, u"0.0")) + k3
               + R(5, F(v.AngoloFase, u"0.0")) + k3 + R(6, F(s.altezzaSole, u"#0.00")) + k3 + s.stato;
    case TipoECI: {
        QString L = D + k3 + R(10, F(s.posizione[0], u"0.000"));
        L += k2 + R(10, F(s.posizione[1], u"0.000"));
        L += k2 + R(10, F(s.posizione[2], u"0.000"));
        L += k2 + R(10, F(v.DistanzaGeocentrica, u"0.000"));
        for (double c : s.velocita)
            L += k2 + R(7, F(c, u"0.000"));
        L += k2 + R(7, F(v.Velocita, u"0.000"));
        return L;
    }
    case TipoLLA:
        return D + k3 + R(6, F(v.Latitudine, u"0.00")) + k3 + R(6, F(v.Longitudine360, u"0.00")) + k3
               + R(8, F(v.Quota, u"0.0"));
    default:
        return D + k2 + R(10, s.eq.testoAR()) + k3 + R(7, s.eq.testoDec());
    }
}

Relazione Calcola_Relazione(const Istante& a, const Istante& b)
{
    const auto& A = a.posizione;
    const auto& B = b.posizione;
    Relazione r;
    r.distanza = std::sqrt((A[0] - B[0]) * (A[0] - B[0]) + (A[1] - B[1]) * (A[1] - B[1])
                           + (A[2] - B[2]) * (A[2] - B[2]));
    const double moduli = std::sqrt(A[0] * A[0] + A[1] * A[1] + A[2] * A[2])
                          * std::sqrt(B[0] * B[0] + B[1] * B[1] + B[2] * B[2]);
    r.alfa = moduli > 0 ? angolo((A[0] * B[0] + A[1] * B[1] + A[2] * B[2]) / moduli) : 0.0;
    r.beta = angolo((a.v.VersoreEst * b.v.VersoreEst + a.v.VersoreNord * b.v.VersoreNord
                     + a.v.VersoreZenit * b.v.VersoreZenit)
                    / 1.0);
    return r;
}

QString Riga_Relativa(int opzione, const QDateTime& t, const Istante& a, const Istante& b)
{
    const QString Dt = Testo_Istante(t);
    const Relazione rel = Calcola_Relazione(a, b);
    const Valori& va = a.v;
    const Valori& vb_ = b.v;
    switch (opzione) {
    case TipoOBS:
        return Dt + k4 + R(6, F(rel.alfa, u"0.00")) + k3 + R(6, F(rel.beta, u"0.00")) + k2
               + R(8, F(rel.distanza, u"0.0")) + k4 + R(6, F(va.Altezza, u"0.00")) + k2
               + R(6, F(va.Azimuth, u"0.00")) + k2 + R(8, F(va.Quota, u"0.0")) + k4
               + R(6, F(vb_.Altezza, u"0.00")) + k2 + R(6, F(vb_.Azimuth, u"0.00")) + k2
               + R(8, F(vb_.Quota, u"0.0"));
    case TipoLLA: {
        const double dLat = std::fabs(va.LatitudineAssoluta - vb_.LatitudineAssoluta);
        const double dLon = std::fabs(va.LongitudineAssoluta - vb_.LongitudineAssoluta);
        return Dt + k4 + R(6, F(dLat, u"0.00")) + k3 + R(6, F(dLon, u"0.00")) + k2
               + R(8, F(rel.distanza, u"0.0")) + k4 + R(6, F(va.LatitudineAssoluta, u"0.00")) + k2
               + R(6, F(va.LongitudineAssoluta, u"0.00")) + k2 + R(8, F(va.Quota, u"0.0")) + k4
               + R(6, F(vb_.LatitudineAssoluta, u"0.00")) + k2 + R(6, F(vb_.LongitudineAssoluta, u"0.00"))
               + k2 + R(8, F(vb_.Quota, u"0.0"));
    }
    case TipoECI: {
        QString L = Dt;
        QString sep = k3;
        for (const auto* p : {&a.posizione, &b.posizione})
            for (double c : *p) {
                L += sep + R(10, F(c, u"0.000"));
                sep = k2;
            }
        return L + k2 + R(8, F(rel.distanza, u"0.0"));
    }
    default: {
        Equatoriali delta;
        mMate::Decimali_GMS(std::fabs(a.eq.arDecimale() - b.eq.arDecimale()), delta.ore, delta.minuti,
                            delta.secondi);
        double g = 0, m = 0;
        mMate::Decimali_GM(std::fabs(a.eq.decDecimale() - b.eq.decDecimale()), g, m);
        const QString dDec = F(g, u"00") + QStringLiteral("°") + F(m, u"00") + QLatin1Char('\'');
        return Dt + QStringLiteral("     ") + R(9, delta.testoAR()) + k2 + R(6, dDec) + k3
               + R(8, F(rel.distanza, u"0.0")) + k4 + R(9, a.eq.testoAR()) + k4 + R(7, a.eq.testoDec())
               + QStringLiteral("        ") + R(9, b.eq.testoAR()) + k4 + R(7, b.eq.testoDec());
    }
    }
}

} // namespace predictions
