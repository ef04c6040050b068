#include "core/clock.h"

#include "astro/mate.h"
#include "astro/vector_state.h"
#include "core/globals_orbit.h"
#include "core/globals_time.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "core/msat.h"
#include "core/settings.h"
#include "core/startup.h"
#include "core/working_list.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/time_zone_info.h"
#include "platform/vb.h"

#include <QDateTime>
#include <QDir>
#include <QtGlobal>

#include <cmath>
#include <type_traits>

bool pflgCentrale = false;
bool pflgSatellite = false;
bool pflgRicerca = false;
bool pflgArresta = false;
bool pflgSostituzione = false;
QDateTime gdatDataCorrente;

namespace core {

namespace {

constexpr double kLimiteDecadimento = 138.0; // km, perigee height
constexpr double kVelocitaLuce = 299792.0;   // km/s
constexpr double kGradiRadianti = 0.0174532925;

// Runs a computation that reports success, or that reports nothing.
template <typename F>
bool riuscito(F&& f)
{
    if constexpr (std::is_void_v<std::invoke_result_t<F>>) {
        f();
        return true;
    } else {
        return bool(f());
    }
}

// One satellite's state at jd; false when it could not be computed, with
// the model's reason in *esito.
bool calcola(int slot, double jd, astro::EsitoPropagazione* esito, const astro::SoleSatelliti& sole)
{
    return riuscito([&] { return mSat::Calcola_Satellite(slot, jd, esito, &sole); });
}

QString g_eclisse;
QString g_visibile;
QString g_nonVisibile;

QString frequenza(const std::string& testo, double fattore)
{
    if (testo.empty())
        return QStringLiteral("0");
    return vb::Format(vb::Val(std::string_view(testo)) * fattore, u"000.0000");
}

} // namespace

ClockViews& clockViews()
{
    static ClockViews v;
    return v;
}

QDateTime Data_Orologio(const QDate& d, const QTime& t)
{
    return QDateTime(d, QTime(t.hour(), t.minute(), t.second()), Qt::UTC);
}

SystemTimeSource::SystemTimeSource(std::function<QDateTime()> ut) : m_ut(std::move(ut)) {}

QDateTime SystemTimeSource::adesso() const
{
    return Ora_Locale_Osservatore(m_ut ? m_ut() : QDateTime::currentDateTimeUtc());
}

QDateTime Ora_Locale_Osservatore(const QDateTime& ut)
{
    if (!ut.isValid())
        return {};
    const QDateTime u = ut.toUTC();
    const double ore = double(gbytOraLegale) + double(gsngFusoOrario);
    const qint64 minuti = std::isfinite(ore) && std::fabs(ore) < 48 ? std::llround(ore * 60) : 0;
    return Data_Orologio(u.date(), u.time()).addSecs(minuti * 60);
}

// ---------------------------------------------------------------- texts

void Carica_Parole_Stato()
{
    g_eclisse = mLang::Testo_Lingua("Conditions", "eclisse");
    g_visibile = mLang::Testo_Lingua("Conditions", "visibile");
    g_nonVisibile = mLang::Testo_Lingua("Conditions", "nonvisibile");
}

QString Stato2Stringa(long stato)
{
    switch (stato) {
    case StatoEclisse:
        return g_eclisse;
    case StatoVisibile:
        return g_visibile;
    case StatoNonVisibile:
        return g_nonVisibile;
    default:
        return {};
    }
}

PrincipalTexts Testi_Principale(const Valori& v, const Satelement& e, int canale,
                                double latitudine, double tempoSiderale)
{
    PrincipalTexts t;
    t.lblLatitude = vb::Format(v.LatitudineAssoluta, u"#0.00°") + QString::fromStdString(v.EmisferoNS);
    t.lblLongitude =
        vb::Format(v.LongitudineAssoluta, u"##0.00°") + QString::fromStdString(v.EmisferoEW);
    t.lblHeight = vb::Format(v.Quota, u"#####0.0");
    t.lblRange = vb::Format(v.Distanza, u"#####0.0");
    t.lblRangeRate = vb::Format(v.VelocitaRadiale, u"#0.0");
    t.lblOrbitNumber = vb::Format(v.NumeroOrbita, u"#####0.0");
    t.lblAltitude = vb::Format(v.Altezza, u"00.00°");
    t.lblAzimuth = vb::Format(v.Azimuth, u"#00.00°");
    t.lblApogee = vb::Format(v.Apogeo, u"#####0.0");
    t.lblPerigee = vb::Format(v.Perigeo, u"#####0.0");

    const double p = v.Periodo;
    const double h = std::floor(p / 3600.0);
    const double m = std::floor((p - 3600.0 * h) / 60.0);
    const double s = std::floor(p - 3600.0 * h - 60.0 * m);
    t.lblPeriod = vb::Format(h, u"00") + QLatin1Char(':') + vb::Format(m, u"00") + QLatin1Char(':')
        + vb::Format(s, u"00");
    t.lblVelocity = vb::Format(v.Velocita, u"##0.0");

    const mAstro::CoordinateEquatoriali eq = mAstro::Orizzontali_Equatoriali(
        v.Azimuth * kGradiRadianti, v.Altezza * kGradiRadianti, latitudine, tempoSiderale);
    t.lblAscension = vb::Format(eq.oreAR, u"00") + QLatin1Char('h') + vb::Format(eq.minutiAR, u"00")
        + QLatin1Char('m') + vb::Format(eq.secondiAR, u"00") + QLatin1Char('s');
    t.lblDeclination = QString::fromStdString(eq.segno) + vb::Format(eq.gradiDec, u"00")
        + QStringLiteral("°") + vb::Format(eq.minutiDec, u"00") + QLatin1Char('\'');

    t.lblState = Stato2Stringa(v.Stato);
    if (v.Altezza < 0 || v.Stato == StatoEclisse)
        t.lblMagnitude = QStringLiteral("*");
    else if (v.Magnitudine.isNumber())
        t.lblMagnitude = vb::Format(v.Magnitudine.valore, u"#0.0");
    else
        t.lblMagnitude = QString::fromStdString(v.Magnitudine.testo());

    const bool canaleValido = canale >= 1 && canale <= kCanaliRadio;
    const std::string giu = canaleValido ? e.FrequenzaDiscesa[std::size_t(canale)] : std::string();
    const std::string su = canaleValido ? e.FrequenzaSalita[std::size_t(canale)] : std::string();
    t.lblRicez = frequenza(giu, 1.0 - v.VelocitaRadiale / kVelocitaLuce);
    t.lblTrasm = frequenza(su, 1.0 + v.VelocitaRadiale / kVelocitaLuce);
    return t;
}

std::optional<QString> Testo_Data_Stato(int formato)
{
    const QString legale = gbytOraLegale == 1 ? QStringLiteral("*") : QString();
    const QDateTime& locale = gdatDataLocale;
    const QDateTime& ut = gdatDataUT;
    const QString spazio = QStringLiteral(" ");
    switch (formato) {
    case 0:
        return vb::Format(locale, u"dd mmmm yyyy  hh:mm:ss") + spazio + legale;
    case 1:
        return vb::Format(ut, u"dd mmmm yyyy  hh:mm:ss") + QStringLiteral(" (Greenwich)");
    case 2:
        return vb::Format(locale, u"ddd dd mmmm yyyy  hh:mm:ss") + spazio + legale;
    case 3:
        return vb::Format(ut, u"ddd dd mmmm yyyy  hh:mm:ss") + QStringLiteral(" (Greenwich)");
    case 4:
        return vb::Format(locale, u"mmm dd yyyy  hh:mm:ss") + spazio + legale;
    case 5:
        return vb::Format(ut, u"mmm dd yyyy  hh:mm:ss") + QStringLiteral(" Greenwich");
    case 6:
        return vb::Format(double(gintGiornoAnnoLocale), u"000") + QStringLiteral(" giorno")
            + vb::Format(locale, u" hh:mm:ss") + spazio + legale;
    case 7:
        return vb::Format(double(gintGiornoAnnoUT), u"000") + QStringLiteral(" giorno")
            + vb::Format(ut, u" hh:mm:ss") + QStringLiteral(" Greenwich");
    case 8:
        return vb::Format(gintGiornoAnnoLocale + gdblOraLocale / 24.0, u"##0.00000000")
            + QLatin1Char('@') + QString::number(qint64(gdblAnnoLocale)) + spazio + legale;
    case 9:
        return vb::Format(gintGiornoAnnoUT + gdblOraUT / 24.0, u"##0.00000000") + QLatin1Char('@')
            + QString::number(qint64(gdblAnnoUT)) + QStringLiteral(" Greenwich");
    default:
        return std::nullopt;
    }
}

// ---------------------------------------------------------------- the clock

CentralClock& CentralClock::instance()
{
    static CentralClock clock;
    return clock;
}

const TimeSource& CentralClock::timeSource() const
{
    static const SystemTimeSource sistema;
    return m_source ? *m_source : sistema;
}

void CentralClock::setTimeSource(const TimeSource* source)
{
    m_source = source;
}

ClockMode CentralClock::mode() const
{
    if (m_usaOraPc)
        return ClockMode::RealTime;
    return pflgCentrale ? ClockMode::SimulationRunning : ClockMode::SimulationStopped;
}

void CentralClock::Usa_Ora_Pc()
{
    m_usaOraPc = true;
    pflgCentrale = true;
    emit modeChanged();
}

void CentralClock::Arresta()
{
    m_usaOraPc = false;
    pflgCentrale = false;
    emit modeChanged();
}

void CentralClock::Avvia_Simulazione(const QDateTime& inizio)
{
    // One second before the chosen instant: the next tick shows it exactly.
    m_inizioSimulazione = Data_Orologio(inizio.date(), inizio.time());
    gdatDataCorrente = m_inizioSimulazione.addSecs(-1);
    m_usaOraPc = false;
    pflgCentrale = true;
    emit modeChanged();
}

void CentralClock::Imposta_Data(const QDateTime& istante)
{
    gdatDataCorrente = Data_Orologio(istante.date(), istante.time());
    mAstro::Aggiorna_Tempo(gdatDataCorrente);
    if (RefreshView* t = clockViews().time)
        t->Aggiorna_dati();
}

void CentralClock::reset()
{
    m_contatore = 0;
    m_usaOraPc = true;
    m_inizioSimulazione = QDateTime();
    m_inCorso = false;
    m_ultimoTick = QDateTime();
    m_nonConservati.clear();
    m_fusoVisto = nullptr;
    m_scartoComputer.reset();
}

bool CentralClock::Segui_Fuso_Computer()
{
    platform::TimeZoneInfo* fuso = platform::services().timeZone;
    const std::optional<platform::TimeZoneState> stato = fuso ? fuso->current() : std::nullopt;
    if (!stato)
        return false; // the system cannot tell now: what was seen last still holds
    // Another source of the zone (installed by a test) is no change of it.
    const bool cambiato =
        fuso == m_fusoVisto && m_scartoComputer && *m_scartoComputer != stato->biasMinutes;
    m_fusoVisto = fuso;
    m_scartoComputer = stato->biasMinutes;
    // The computer's clock has gone into or out of summer time (or its zone
    // was changed): the start's question again, asked before the time is
    // taken, so that the views show the observer's time as it will be
    // answered and never the hour the change skips or repeats.
    if (!cambiato || !gblnVerificaOraLegale)
        return false;
    Verifica_Ora_Legale();
    return true;
}

void CentralClock::tmrCentrale_Timer()
{
    esegui(true);
}

void CentralClock::Aggiorna()
{
    esegui(false);
}

void CentralClock::esegui(bool passo)
{
    if (!pflgCentrale || m_inCorso)
        return;
    // A message box shown from inside the tick runs the event loop: the
    // timer's ticks that arrive meanwhile find the tick busy and return.
    FlagGuard inCorso(m_inCorso, true);
    // The views painted since the last tick: see astro/vector_state.h.
    astro::Azzera_Meta_Alte();

    if (!gdatDataCorrente.isValid())
        gdatDataCorrente = timeSource().adesso();
    const QDateTime prima = gdatDataCorrente;
    if (m_usaOraPc) {
        if (Segui_Fuso_Computer())
            astro::Azzera_Meta_Alte(); // a message box may have painted
        gdatDataCorrente = timeSource().adesso();
    } else if (passo)
        gdatDataCorrente = gdatDataCorrente.addSecs(1);
    if (!mAstro::Aggiorna_Tempo(gdatDataCorrente)) {
        // The simulated clock ran off the dates the program can hold: it
        // stands still at the last good instant.
        gdatDataCorrente = prima;
        Arresta();
        return;
    }

    ClockViews& v = clockViews();
    // A jump of the clock (a simulation started or stopped elsewhere in
    // time, real time taken back): the local sky's stars, planets, Sun and
    // Moon follow at once, as the world map's day and night do.
    const bool salto = m_ultimoTick.isValid() && std::abs(m_ultimoTick.secsTo(gdatDataCorrente)) > 2;
    m_ultimoTick = gdatDataCorrente;
    if (salto && v.localSky)
        v.localSky->Genera_mappa();
    if (pflgSatellite) {
        if (passo && ++m_contatore > 60) {
            m_contatore = 0;
            if (v.worldMap)
                v.worldMap->Genera_mappa();
        }
        if (!WorkingList::instance().isEmpty()) {
            if (!calcolaSatelliti())
                return; // a decayed satellite was removed: the rest waits for the next tick
            const int n = gintNumSatelliti;
            // A principal the models cannot compute this second shows empty
            // figures, not the zeros of an empty state.
            const PrincipalTexts testi = gudtValori[1].Stato == StatoNessuno
                ? PrincipalTexts{}
                : Testi_Principale(gudtValori[1], gudtSatelementi[1], gintCanale[0], gsngLatitudine,
                                   gdblTempoSiderale);
            if (v.worldMap) {
                for (int i = 1; i <= n; ++i)
                    v.worldMap->Disegna_satellite(i);
                if (v.worldMap->cerchioVisibilita())
                    v.worldMap->Disegna_visibilita();
                v.worldMap->Mostra_dati(testi);
            }
            if (v.localSky) {
                const int ultimo = v.localSky->soloPrincipale() ? 1 : n;
                for (int i = 1; i <= ultimo; ++i)
                    v.localSky->Disegna_satellite_in_cielo(i);
                v.localSky->Mostra_dati(testi);
            }
        }
        if (v.track)
            v.track->Aggiorna_dati();
    }

    if (v.status) {
        if (const std::optional<QString> data = Testo_Data_Stato(gintFormatoOra))
            v.status->Mostra_data(*data);
    }

    mAstro::Calcola_Sole();
    mAstro::Calcola_Luna();
    mAstro::Calcola_Pianeta();
    if (v.time)
        v.time->Aggiorna_dati();
    if (v.planets)
        v.planets->Aggiorna_dati();
}

bool CentralClock::calcolaSatelliti()
{
    const double jd = gdblGiornoGiuliano;
    // Only the computer's own clock says that a satellite has come down. A
    // simulated date far from the epochs (1950, 9999) is beyond what a model
    // can follow: that is no decay, and the list stays whole.
    const bool rimozione = m_usaOraPc && !pflgRicerca;
    // One Sun for every satellite of the tick.
    const astro::SoleSatelliti sole = astro::Sole_Satelliti(jd);
    for (int i = 1; i <= gintNumSatelliti; ++i) {
        bool riuscito = true;
        astro::EsitoPropagazione esito = astro::EsitoPropagazione::Ok;
        try {
            riuscito = calcola(i, jd, &esito, sole);
        } catch (const std::exception&) {
            riuscito = false;
        }
        // The model gives up on an orbit that drag has brought down (mean
        // motion driven through zero, the orbit falling through the Earth)
        // after its epoch: its perigee is long past the decay limit.
        const bool caduto = !riuscito && esito == astro::EsitoPropagazione::OrbitaNonSeguibile
            && jd > gudtSatelementi[i].EpocaGiuliana;
        const Valori& val = gudtValori[i];
        if (riuscito
            && (!std::isfinite(val.Perigeo) || !std::isfinite(val.Altezza) || !std::isfinite(val.Quota)))
            riuscito = false;
        const bool basso = riuscito && val.Perigeo < kLimiteDecadimento;
        if ((caduto || basso) && rimozione
            && Azzera(i, caduto ? MotivoRimozione::NonCalcolabile : MotivoRimozione::Perigeo))
            return false;
        if (!riuscito || caduto || basso) {
            // This satellite shows nothing this second; the others go on.
            gudtValori[i] = Valori{};
            continue;
        }
    }
    return true;
}

bool CentralClock::Azzera(int slot, MotivoRimozione motivo)
{
    // The satellite's set goes to the file of removed sets first (the list's
    // file as it stood before the run's first removal is kept beside it);
    // when it cannot be kept the satellite stays (shown as not computable),
    // the user is told once, and the set is not tried again in this run.
    WorkingList& lista = WorkingList::instance();
    const QString righe = WorkingList::Testo_Slot({slot});
    if (m_nonConservati.contains(righe))
        return false;
    QString motivoFile;
    const bool conservato = lista.Conserva_Rimossi(righe, &motivoFile);
    if (!conservato)
        m_nonConservati.insert(righe);
    FlagGuard satelliti(pflgSatellite, false);
    const QString nome = vb::displayable(vb::Trim(QString::fromStdString(gudtSatelementi[slot].Nome)));
    const QString fine = QStringLiteral("\r\n");
    QString testo = mLang::Testo_Lingua("MDIForm1", "satellitedecaduto1") + fine
        + mLang::Testo_Lingua("MDIForm1", motivo == MotivoRimozione::Perigeo ? "satellitedecaduto2"
                                                                              : "satellitenoncalcolabile");
    if (!conservato) {
        testo += fine + fine + mLang::Testo_Lingua("MDIForm1", "rimossinonconservati") + fine + motivoFile + fine
            + mLang::Testo_Lingua("MDIForm1", "satelliteresta");
        platform::MsgBox(testo, platform::vbOKOnly | platform::vbExclamation, nome);
        return false;
    }
    testo += fine + mLang::Testo_Lingua("MDIForm1", "satellitedecaduto3");
    if (!lista.File_Rimossi().isEmpty())
        testo += fine + fine + mLang::Testo_Lingua("MDIForm1", "rimossiconservati") + fine
            + QDir::toNativeSeparators(lista.File_Rimossi());
    platform::MsgBox(testo, platform::vbOKOnly | platform::vbExclamation, nome);
    gudtValori[slot] = Valori{};
    if (slot == 1) {
        ClockViews& v = clockViews();
        if (v.worldMap)
            v.worldMap->Azzera_dati();
        if (v.localSky)
            v.localSky->Azzera_dati();
    }
    // Only this satellite leaves the list.
    lista.Rimuovi(slot);
    emit satelliteDecaduto(slot, nome);
    return true;
}

} // namespace core
