#pragma once
// The program clock: the one-second tick that moves the clock on, propagates
// every satellite of the working list, removes decayed ones and feeds every
// live view; the clock mode (computer's time, simulation running or stopped);
// the run flags shared by the windows.
//
// The main window drives the tick from its 1000 ms timer
// (CentralClock::tmrCentrale_Timer). A window that wants an immediate refresh
// after changing the clock or the observer calls CentralClock::Aggiorna,
// which does the same work without moving a simulated clock on.
#include <QDateTime>
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>
#include <optional>

struct Satelement;
struct Valori;

// ---------------------------------------------------------------- run flags
// pflgCentrale: the clock runs (a tick does nothing while it is false).
// pflgSatellite: the satellite section of the tick runs; lowered while the
//   working list or a database list is rebuilt.
// pflgRicerca: a pass search runs; no decayed satellite is removed meanwhile.
// pflgArresta: the cancel request of a long load (polled by the loader).
// pflgSostituzione: the principal element file was replaced by a download.
// Raise and lower them with core::FlagGuard so that a failure never leaves
// the clock frozen.
extern bool pflgCentrale;
extern bool pflgSatellite;
extern bool pflgRicerca;
extern bool pflgArresta;
extern bool pflgSostituzione;

// The program clock: the observer's local date and time to the second, held
// as a plain calendar date-time (no zone: its time spec is Qt::UTC, so that
// adding a second never meets a daylight-saving jump of the computer's zone).
extern QDateTime gdatDataCorrente;

namespace core {

// Sets a flag for the lifetime of the guard and puts back its previous
// value when the scope ends, also through an exception.
class FlagGuard {
public:
    FlagGuard(bool& flag, bool value) : m_flag(flag), m_previous(flag) { m_flag = value; }
    ~FlagGuard() { m_flag = m_previous; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& m_flag;
    bool m_previous;
};

// ---------------------------------------------------------------- views

// The eighteen figures of the principal satellite shown in the data panels
// of the world map and of the local sky chart (labels of the same names).
struct PrincipalTexts {
    QString lblLatitude;
    QString lblLongitude;
    QString lblHeight;
    QString lblRange;
    QString lblRangeRate;
    QString lblOrbitNumber;
    QString lblAltitude;    // elevation
    QString lblAzimuth;
    QString lblApogee;
    QString lblPerigee;
    QString lblPeriod;
    QString lblVelocity;    // speed
    QString lblAscension;
    QString lblDeclination;
    QString lblState;
    QString lblMagnitude;
    QString lblRicez;       // reception frequency, Doppler-corrected
    QString lblTrasm;       // transmission frequency, Doppler-corrected
};

// The world map (rectangular or orthographic).
class WorldMapView {
public:
    virtual ~WorldMapView() = default;
    // Regenerates every static layer (background, night shadow, grid...).
    virtual void Genera_mappa() = 0;
    // Draws one working-list slot on the transient layer; slot 1 clears it first.
    virtual void Disegna_satellite(int slot) = 0;
    // Draws the principal satellite's visibility circle.
    virtual void Disegna_visibilita() = 0;
    // The view menu's item for the visibility circle is checked.
    virtual bool cerchioVisibilita() const = 0;
    // Shows the principal satellite's figures in the data panel.
    virtual void Mostra_dati(const PrincipalTexts& texts) = 0;
    // The principal was removed: clears the transient layer, shows "0" in the
    // first fourteen labels and empties the state and the magnitude.
    virtual void Azzera_dati() = 0;
};

// The chart of the observer's sky.
class LocalSkyView {
public:
    virtual ~LocalSkyView() = default;
    // Draws one slot when above the horizon; slot 1 clears the transient layer first.
    virtual void Disegna_satellite_in_cielo(int slot) = 0;
    // The view menu's item "only the principal" is checked.
    virtual bool soloPrincipale() const = 0;
    virtual void Mostra_dati(const PrincipalTexts& texts) = 0;
    virtual void Azzera_dati() = 0;
    // Redraws the static layers (stars, planets, Sun and Moon) for the
    // program clock: the tick asks for it when the clock has jumped, so that
    // the chart does not wait for its own timer to show the new instant.
    virtual void Genera_mappa() {}
};

// A window that refreshes itself from the shared state at every tick: the
// tracking table, the Sun/Moon/planet table, the time window.
class RefreshView {
public:
    virtual ~RefreshView() = default;
    virtual void Aggiorna_dati() = 0;
};

// The main window's status bar: the date panel.
class StatusView {
public:
    virtual ~StatusView() = default;
    virtual void Mostra_data(const QString& text) = 0;
};

// What is open now. A window sets its pointer when it opens and puts back
// nullptr when it closes; the clock asks here at every tick.
struct ClockViews {
    WorldMapView* worldMap = nullptr;
    LocalSkyView* localSky = nullptr;
    RefreshView* track = nullptr;
    RefreshView* planets = nullptr;
    RefreshView* time = nullptr;
    StatusView* status = nullptr;
};
ClockViews& clockViews();

// ---------------------------------------------------------------- time source

// The observer's present local date and time. Tests install a fixed one.
class TimeSource {
public:
    virtual ~TimeSource() = default;
    // The observer's local date and time now, as a plain calendar date-time.
    virtual QDateTime adesso() const = 0;
};

// The computer keeps universal time; the observer's local time is made from
// it with the observer's zone and daylight saving (gsngFusoOrario,
// gbytOraLegale), whatever zone the computer itself is set to.
class SystemTimeSource : public TimeSource {
public:
    // `ut` gives the computer's universal time (default: the system clock).
    explicit SystemTimeSource(std::function<QDateTime()> ut = {});
    QDateTime adesso() const override;

private:
    std::function<QDateTime()> m_ut;
};

// The observer's local date and time at the universal instant `ut`: ut plus
// gsngFusoOrario + gbytOraLegale hours (in whole minutes), to the second, as
// the program clock holds it. Invalid when ut is.
QDateTime Ora_Locale_Osservatore(const QDateTime& ut);

// A date and time as the program clock holds it (time spec Qt::UTC, seconds).
QDateTime Data_Orologio(const QDate& d, const QTime& t);

// ---------------------------------------------------------------- formatting

// Words for the illumination states, from the language file ("Conditions").
// Read again by Carica_Parole_Stato when the language changes.
void Carica_Parole_Stato();
// 1 in the Earth's shadow, 2 sunlit and visible, 3 sunlit but not visible;
// any other value gives the empty text.
QString Stato2Stringa(long stato);

// The eighteen panel texts of a satellite from its state and elements; the
// radio channel k (1 to 10) gives the reception and transmission figures.
// latitudine and tempoSiderale place the observer for the equatorial
// coordinates.
PrincipalTexts Testi_Principale(const Valori& v, const Satelement& e, int canale,
                                double latitudine, double tempoSiderale);

// The status-bar date in format 0 to 9 of the time-format setting, from the
// time globals; nothing for any other format.
std::optional<QString> Testo_Data_Stato(int formato);

// ---------------------------------------------------------------- the clock

enum class ClockMode { RealTime, SimulationRunning, SimulationStopped };

class CentralClock : public QObject {
    Q_OBJECT
public:
    static CentralClock& instance();

    // The computer's clock used in real time (never null; the system clock
    // unless a test installed another).
    const TimeSource& timeSource() const;
    void setTimeSource(const TimeSource* source);

    // Real time follows the computer's clock; a simulation runs from a chosen
    // instant one second per tick, or stands still.
    ClockMode mode() const;
    bool usaOraPc() const { return m_usaOraPc; }
    // The computer's clock mode: the clock takes the computer's time and runs.
    void Usa_Ora_Pc();
    // Leaves real time, or stops a running simulation: the clock stands
    // still at the instant it has reached.
    void Arresta();
    // Starts the simulation so that the next tick shows exactly `inizio`.
    void Avvia_Simulazione(const QDateTime& inizio);
    // The instant the last simulation was started from (invalid before any).
    QDateTime inizioSimulazione() const { return m_inizioSimulazione; }
    // Sets the program clock while the simulation stands still and derives
    // the time quantities (the time window's own labels follow at once).
    void Imposta_Data(const QDateTime& istante);

    // The timer's tick: moves the clock on (or takes the computer's time) and
    // refreshes everything.
    void tmrCentrale_Timer();
    // An immediate refresh without a clock step (a simulated clock stays where
    // it is; real time still takes the computer's time).
    void Aggiorna();

    // Ticks with the satellite section enabled since the world map was last
    // regenerated (0 to 60).
    int contatore() const { return m_contatore; }
    // Forgets the counter and puts back real time (tests, start-up).
    void reset();

signals:
    void modeChanged();
    // A satellite was removed as decayed (its slot before the removal). This
    // happens only on the computer's own clock: in a simulation a satellite
    // that cannot be computed, or has fallen by the simulated date, shows
    // nothing for that second and stays in the list and its file.
    void satelliteDecaduto(int slot, const QString& nome);

private:
    CentralClock() = default;
    void esegui(bool passo);
    bool calcolaSatelliti();
    // On the computer's clock: when the computer's zone has changed its
    // offset since the last such tick (summer time begun or ended), asks the
    // start's daylight-saving question again, where the start would. True
    // when it was asked whether to (the question may have been shown).
    bool Segui_Fuso_Computer();
    enum class MotivoRimozione {
        Perigeo,         // its perigee is below the decay limit
        NonCalcolabile,  // the model can no longer follow the orbit drag has brought down
    };
    // Removes a decayed satellite, saying why; false when it stays (its set
    // could not be kept: said once, and not tried again in this run).
    bool Azzera(int slot, MotivoRimozione motivo);

    const TimeSource* m_source = nullptr;
    bool m_usaOraPc = true;
    QDateTime m_inizioSimulazione;
    int m_contatore = 0;
    bool m_inCorso = false;
    // The instant of the last tick: a later tick more than two seconds away
    // follows a jump of the clock.
    QDateTime m_ultimoTick;
    // The lines of the decayed sets that could not be kept in this run: they
    // stay in the list, and the user has been told.
    QSet<QString> m_nonConservati;
    // The computer's zone as the last tick on its clock saw it: the source
    // asked, and its offset from universal time (minutes).
    const void* m_fusoVisto = nullptr;
    std::optional<double> m_scartoComputer;
};

} // namespace core
