#include "core/pass_search.h"

#include "astro/pass_solver.h"
#include "astro/time.h"
#include "core/clock.h"
#include "core/mastro.h"
#include "platform/vb.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace core {

namespace {

constexpr double kTreSecondi = 3.0 / 86400.0;

QString Testo_Altezza(double h) { return vb::RSet(vb::Format(h, u"#0.0"), 4); }

} // namespace

bool Passa_Filtri(const Passaggio& p, const FiltriPassaggio& filtri)
{
    const bool pm = !p.mattino;
    if (!((filtri.pm && pm) || (filtri.am && !pm)))
        return false;
    if (filtri.soloVisibili)
        return p.sorgere.v.Stato == StatoVisibile || p.culmine.v.Stato == StatoVisibile
            || p.tramonto.v.Stato == StatoVisibile;
    const double az = p.culmine.v.Azimuth;
    return filtri.azimuthMin < az && az < filtri.azimuthMax;
}

QString Testo_Magnitudine(const MagnitudineVisuale& m)
{
    if (m.isNumber())
        return vb::RSet(vb::Format(m.valore, u"#0.0"), 4);
    if (m.isUnknown())
        return vb::RSet(QStringLiteral("???"), 4);
    return QString(4, QLatin1Char(' '));
}

QString Riga_Evento(const EventoPassaggio& e)
{
    const QString blank = QStringLiteral(" ");
    QString r = vb::Format(e.locale, u"dd mmm yyyy  hh:mm:ss");
    r += QString(18, QLatin1Char(' '));
    r += Testo_Altezza(e.v.Altezza);
    r += blank.repeated(3);
    r += vb::Format(e.v.Azimuth, u"000.0");
    r += blank.repeated(3);
    r += vb::LSet(Stato2Stringa(e.v.Stato), 8);
    r += blank.repeated(2);
    r += Testo_Magnitudine(e.v.Magnitudine);
    r += blank.repeated(3);
    r += vb::RSet(vb::Format(e.altezzaSole, u"00.0"), 5);
    r += blank.repeated(2);
    r += vb::RSet(vb::Format(e.v.Distanza, u"0.0"), 8);
    return r;
}

QString Testo_Durata(qint64 s)
{
    const qint64 ore = s / 3600;
    const qint64 minuti = (s - 3600 * ore) / 60;
    const qint64 secondi = s - 3600 * ore - 60 * minuti;
    return vb::Format(double(ore), u"00") + QLatin1Char(':') + vb::Format(double(minuti), u"00")
        + QLatin1Char(':') + vb::Format(double(secondi), u"00");
}

RigaRisultato Riga_Risultato(const Passaggio& p, const QString& nome, int indice)
{
    RigaRisultato r;
    const EventoPassaggio& c = p.culmine;
    r.testo = vb::Format(c.locale, u"dd mmm yyyy hh:mm:ss");
    const double magnitudine = c.v.Magnitudine.isNumber() ? c.v.Magnitudine.valore : 99.0;
    r.sottovoci << nome << Testo_Altezza(c.v.Altezza) << vb::RSet(vb::Format(c.v.Azimuth, u"##0"), 4)
                << vb::LSet(Stato2Stringa(c.v.Stato), 8).left(3) << Testo_Magnitudine(c.v.Magnitudine)
                << Testo_Durata(p.durata) << vb::Format(c.locale, u"yyyymmdd hh:mm:ss")
                << vb::FormatC(magnitudine + 99.0, u"000.00");
    r.tag = QString::number(indice) + QLatin1Char(';') + Riga_Evento(p.sorgere) + QLatin1Char(';')
        + Riga_Evento(c) + QLatin1Char(';') + Riga_Evento(p.tramonto);
    return r;
}

bool Satellite_Escluso(double n, double e)
{
    const double a = std::fabs(n - 1.0027);
    return a < 0.001 || (a < 1.0 && e < 0.1);
}

// ------------------------------------------------------------ the search

RicercaPassaggi::RicercaPassaggi(const Satelement& s, const astro::Osservatore& oss,
                                 const astro::OpzioniSatellite& opz, double altezzaMinima, double fusoOrario,
                                 int oraLegale)
    : m_sat(s), m_oss(oss), m_opz(opz), m_altezzaMinima(altezzaMinima), m_fuso(fusoOrario), m_oraLegale(oraLegale)
{
}

double RicercaPassaggi::f(double t)
{
    ++m_valutazioni;
    Valori v;
    astro::UsciteSatellite u;
    if (!astro::Calcola_Satellite(m_sat, m_oss, m_opz, t, v, u, &m_modello)) {
        m_nonCalcolabile = true;
        return std::numeric_limits<double>::quiet_NaN();
    }
    return m_altezzaMinima - v.Altezza;
}

bool RicercaPassaggi::evento(double jd, EventoPassaggio& e)
{
    ++m_valutazioni;
    astro::UsciteSatellite u;
    if (!astro::Calcola_Satellite(m_sat, m_oss, m_opz, jd, e.v, u, &m_modello)) {
        m_nonCalcolabile = true;
        return false;
    }
    e.jd = jd;
    e.altezzaSole = u.altezzaSole;
    try {
        e.locale = mAstro::A_QDateTime(mAstro::Data_Da_Giuliano(jd, m_fuso, m_oraLegale));
    } catch (...) {
        return false;
    }
    return e.locale.isValid();
}

// The crossing of the minimum height next to the culmination tc, backwards
// (verso -1) or forwards (+1). A satellite that stays above the minimum
// height through the whole widening has its crossing beyond the span:
// it is clamped to `estremo`, the span's end on that side.
bool RicercaPassaggi::limite(double tc, double verso, double estremo, double& t)
{
    const astro::FunzionePassaggio fn = [this](double x) { return f(x); };
    double t2 = tc + verso * kTreSecondi;
    const astro::EsitoSolutore allarga = astro::Espandi_Intervallo(fn, tc, t2);
    if (allarga == astro::EsitoSolutore::NessunCambioSegno) {
        t = estremo;
        return true;
    }
    if (allarga != astro::EsitoSolutore::Ok)
        return false;
    double froot = 0;
    if (astro::Trova_Zero_Passaggio(fn, tc, t2, t, froot) != astro::EsitoSolutore::Ok) {
        if (erroreSolutore)
            erroreSolutore();
        return false;
    }
    return true;
}

EsitoRicerca RicercaPassaggi::EVENTI(double dblTI, double dblTF, double dblTOPT)
{
    if (continua && !continua())
        return EsitoRicerca::Arrestata;
    const double tc = dblTOPT;
    Passaggio p;
    const double max = dblTF - dblTI;

    double tRise = 0;
    if (!limite(tc, -1.0, dblTI, tRise))
        return EsitoRicerca::Completa;
    if (tRise < dblTI)
        tRise = dblTI;
    if (!evento(tRise, p.sorgere))
        return EsitoRicerca::Completa;
    if (progresso)
        progresso(std::max(0.0, max - (dblTF - dblTI)));

    if (!evento(tc, p.culmine))
        return EsitoRicerca::Completa;
    if (progresso)
        progresso(std::clamp(max - (dblTF - tc), 0.0, max));
    p.mattino = p.culmine.locale.time() <= QTime(12, 0, 0);

    double tSet = 0;
    if (!limite(tc, 1.0, dblTF, tSet))
        return EsitoRicerca::Completa;
    if (tSet > dblTF)
        tSet = dblTF;
    if (!evento(tSet, p.tramonto))
        return EsitoRicerca::Completa;
    if (progresso)
        progresso(std::clamp(max - (dblTF - tSet), 0.0, max));

    p.durata = p.sorgere.locale.secsTo(p.tramonto.locale);
    if (passaggio)
        passaggio(p);
    return EsitoRicerca::Completa;
}

EsitoRicerca RicercaPassaggi::PREDICI(double dblTI, double dblTF, double dblDT, double dblDTSML)
{
    m_nonCalcolabile = false;
    if (!(dblDT > 0) || !(dblDTSML > 0) || !(dblTF > dblTI) || !std::isfinite(dblDT))
        return EsitoRicerca::Completa;
    bool ultimo = false;
    auto fallito = [this] { return m_nonCalcolabile; };

    double fA = f(dblTI);
    double D = f(dblTI + dblDTSML) - fA;
    if (fallito())
        return EsitoRicerca::NonCalcolabile;
    double prevD = D;
    double ta = dblTI, tb = dblTI, t = dblTI;
    if (D > 0 && fA < 0) {
        const EsitoRicerca e = EVENTI(dblTI, dblTF, dblTI);
        if (e == EsitoRicerca::Arrestata)
            return e;
    }

    enum class Passo { Ciclo, Fine, Affina };
    Passo passo = Passo::Ciclo;
    for (;;) {
        if (fallito())
            return EsitoRicerca::NonCalcolabile;
        if (passo == Passo::Ciclo) {
            if (D <= 0) {
                ta = t;
                prevD = D;
                t += dblDT;
                passo = Passo::Fine;
                while (t < dblTF) {
                    D = f(t) - f(t - dblDTSML);
                    if (fallito())
                        return EsitoRicerca::NonCalcolabile;
                    if (D > 0) {
                        tb = t;
                        passo = Passo::Affina;
                        break;
                    }
                    ta = t;
                    prevD = D;
                    t += dblDT;
                }
            } else {
                t += dblDT;
                if (t >= dblTF)
                    passo = Passo::Fine;
                else
                    D = f(t) - f(t - dblDTSML);
            }
            continue;
        }
        if (passo == Passo::Fine) {
            if (ultimo)
                return EsitoRicerca::Completa;
            fA = f(dblTF);
            D = fA - f(dblTF - dblDTSML);
            if (fallito())
                return EsitoRicerca::NonCalcolabile;
            if (D < 0) {
                if (fA < 0)
                    return EVENTI(dblTI, dblTF, dblTF);
                return EsitoRicerca::Completa;
            }
            if (prevD > 0)
                return EsitoRicerca::Completa;
            tb = dblTF;
            ultimo = true;
            passo = Passo::Affina;
        }
        // Refine the maximum bracketed by [ta, tb].
        const astro::FunzionePassaggio fn = [this](double x) { return f(x); };
        double tOpt = 0, fmin = 0;
        const astro::EsitoSolutore esito = astro::Trova_Massimo_Passaggio(fn, ta, tb, tOpt, fmin);
        ta = tb;
        prevD = D;
        if (fallito())
            return EsitoRicerca::NonCalcolabile;
        if (esito != astro::EsitoSolutore::Ok) {
            if (erroreSolutore)
                erroreSolutore();
        } else if (fmin < 0) {
            const EsitoRicerca e = EVENTI(dblTI, dblTF, tOpt);
            if (e == EsitoRicerca::Arrestata)
                return e;
        }
        passo = Passo::Ciclo;
    }
}

} // namespace core
