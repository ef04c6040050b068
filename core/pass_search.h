#pragma once
// The pass search: every pass of one satellite over the observer within a
// span of time, with its rise, culmination and set, and the texts the pass
// prediction window lists (result row, the three event lines and the row's
// tag).
//
// PREDICI scans the span for maxima of the elevation (short steps near the
// observer's visibility cone, long ones where the satellite cannot reach
// it), refines each maximum the satellite may reach and the crossings of
// the minimum height from the elevations and rates of the points computed,
// and reports every pass with the satellite computed at its three events.
// EVENTI completes one pass from its culmination alone. The search works on its own copy of the element set and its own
// model set-up: it touches no working-list slot and no shared global, so the
// window may yield to the event loop between passes.
#include "astro/pass_solver.h"
#include "astro/records.h"
#include "astro/satellite.h"
#include "core/frequency_table.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace core {

// One event of a pass: its time and the satellite's state then.
struct EventoPassaggio {
    double jd = 0;            // Julian date, UT
    QDateTime locale;         // observer's local date-time, whole seconds
    Valori v;                 // the satellite's state at jd
    double altezzaSole = 0;   // the Sun's elevation at the observer, degrees
};

// One pass: rise, culmination and set.
struct Passaggio {
    EventoPassaggio sorgere, culmine, tramonto;
    // The culmination falls in the morning (local time of day up to 12:00:00
    // included) or in the afternoon.
    bool mattino = true;
    qint64 durata = 0;        // seconds from the rise to the set (local, whole seconds)
};

// The half-day and visibility filters of one search tab, and its azimuth
// window (culmination azimuth strictly between the two bounds).
struct FiltriPassaggio {
    bool am = true;
    bool pm = true;
    bool soloVisibili = false;
    double azimuthMin = 0;
    double azimuthMax = 360;
};

// Whether a pass is listed: its half of the day is ticked, and it is visible
// (sunlit and visible at the rise, the culmination or the set) when only
// visible passes are wanted, else its culmination azimuth lies inside the
// azimuth window.
bool Passa_Filtri(const Passaggio& p, const FiltriPassaggio& filtri);

// ------------------------------------------------------------ texts

// The event line of one event: 86 characters when the month abbreviation
// has three letters:
//   date "dd mmm yyyy  hh:mm:ss", 18 blanks, elevation "#0.0" (4), 3 blanks,
//   azimuth "000.0", 3 blanks, state (8, left), 2 blanks, magnitude "#0.0"
//   (4; " ???" unknown, blanks in shadow), 3 blanks, Sun elevation "00.0"
//   (5), 2 blanks, range "0.0" (8).
QString Riga_Evento(const EventoPassaggio& e);

// The four-character magnitude field of an event.
QString Testo_Magnitudine(const MagnitudineVisuale& m);

// The duration "hh:mm:ss" (hours of three digits above 99).
QString Testo_Durata(qint64 secondi);

// One row of the result list.
struct RigaRisultato {
    QString testo;            // culmination "dd mmm yyyy hh:mm:ss"
    QStringList sottovoci;    // sub-items 1 to 8 (index 0 is sub-item 1)
    QString tag;              // index;rise line;culmination line;set line
};
// `indice` is the principal-file entry (all satellites) or the working-list
// slot; `nome` the satellite's name.
RigaRisultato Riga_Risultato(const Passaggio& p, const QString& nome, int indice);

// ------------------------------------------------------------ the search

// Whether the search leaves a satellite out: geostationary orbits (mean
// motion within 0.001 revolutions a day of the Earth's rotation) and
// near-circular orbits (eccentricity below 0.1) slower than about two
// revolutions a day, which stay above or below the horizon for days.
bool Satellite_Escluso(double motoMedio, double eccentricita);

// The scan step near the observer (days) for a satellite of mean motion n
// (revolutions a day): a thirtieth of the period, at most 20 minutes. Far
// from the observer's visibility cone the search steps further, by the
// time the satellite needs at its fastest to reach the cone.
double Passo_Scansione(double motoMedio);
// The smallest step of the scan (10 seconds).
inline constexpr double kPassoPiccolo = 10.0 / 60.0 / 1440.0;

// The fastest rate (rad/s) at which a satellite on an orbit of semi-latus
// rectum p (km) and eccentricity e can close on the observer's visibility
// cone seen from the Earth's centre, c being the observer's distance from
// the centre times the cosine of the cone's elevation (km, below the
// perigee): the largest over the orbit of h / r^2 + |dpsiMax/dr| |dr/dt|,
// psiMax(r) = acos(c / r) - elevation the cone's half-angle. Never below the
// rate at any point of the orbit; a little above it at most.
double Velocita_Massima_Cono(double p, double e, double c);

enum class EsitoRicerca {
    Completa,      // the span was searched
    Arrestata,     // the caller asked to stop (the stop error, 999)
    NonCalcolabile // the satellite cannot be computed in the span; passes found before stay reported
};
// The number of the stop error, as the program has always called it.
inline constexpr int kErroreArresto = 999;

class RicercaPassaggi {
public:
    // Called at the start of every culmination before anything of the pass
    // is computed: yield to the window system and say whether to go on
    // (false: the search ends with Arrestata and the pass is not reported).
    std::function<bool()> continua;
    // Called between culminations at least every 50 ms of computation (with
    // the progress first): false stops the search as continua does.
    std::function<bool()> controllo;
    // The progress value: span length minus the time still to search (days).
    std::function<void(double valore)> progresso;
    // A pass has been found (the caller applies its filters).
    std::function<void(const Passaggio& p)> passaggio;
    // A solver gave up on one culmination (the pass is left out).
    std::function<void()> erroreSolutore;

    // The satellite, the observer and the options of the computation;
    // altezzaMinima the minimum elevation of a pass (degrees); fusoOrario
    // and oraLegale turn Julian dates into local date-times.
    RicercaPassaggi(const Satelement& s, const astro::Osservatore& oss, const astro::OpzioniSatellite& opz,
                    double altezzaMinima, double fusoOrario, int oraLegale);

    // Searches [dblTI, dblTF] (Julian dates, UT) and reports every pass: a
    // stretch of time the satellite spends above the minimum height, with
    // its highest point as the culmination. dblDT is the scan step near the
    // observer (Passo_Scansione), dblDTSML the smallest step (days).
    EsitoRicerca PREDICI(double dblTI, double dblTF, double dblDT, double dblDTSML);
    // Completes the pass culminating at dblTOPT within [dblTI, dblTF]: the
    // rise and the set by widening from a minute either side, doubling.
    EsitoRicerca EVENTI(double dblTI, double dblTF, double dblTOPT);

    // The pass function f(t) = minimum height - elevation at t (NaN when the
    // satellite cannot be computed then), from the light evaluation.
    bool vista(double t, astro::VistaSatellite& v);
    double f(double t);
    // Light evaluations (elevation only) and full satellite computations.
    long valutazioni() const { return m_valutazioni; }
    long calcoliCompleti() const { return m_completi; }
    // Points of the scan (light evaluations that were not a solver's).
    long campioni() const { return m_campioni; }

private:
    struct Campione {
        double t = 0, e = 0, d = 0;  // time, elevation (deg), its rate (deg/s)
        double g = 0;                // angle to the widened visibility cone (rad); > 0 outside
        double w = 0;                // angular rate about the Earth's centre (rad/s)
        double gPiano = -1;          // the observer's angle from the orbit's plane beyond the widest cone (rad)
        double psi = -1;             // the satellite's angle from the observer (rad), seen from the centre
        double beta = 0;             // the observer's angle from the orbit's plane (rad)
        double cosBeta = 1;          // its cosine
        double fase = 0;             // the satellite's phase in its plane from the observer's foot (rad, 0 to 2 pi)
        double previsto = 0;         // days before the satellite can be inside the cone, by the secular motion
    };
    struct Tratto;  // a stretch above the minimum height being followed

    bool campiona(double t, Campione& c);
    void preparaLimiti(double ti, double tf);
    double passoLontano(const Campione& c) const;
    bool puoEntrare(const Campione& a, const Campione& b) const;
    double passoFase(const Campione& c, double piano) const;
    void preparaPrevisione(const astro::ImpostazioneSGP4& s4, const astro::sgp::LimitiPeriodiche& lim, double ti,
                           double tf);
    double previsione(const astro::VistaSatellite& v, double t) const;
    EsitoRicerca intervallo(const Campione& a, const Campione& b, Tratto& tr, double ti, double tf);
    EsitoRicerca completa(double ti, double tf, double tRise, double tc, double tSet);
    bool evento(double jd, EventoPassaggio& e);
    bool limite(double tc, double verso, double estremo, double& t);
    bool radice(double a, double b, double& t);
    bool radice(const Campione& a, const Campione& b, double& t);
    astro::PuntoPassaggio punto(const Campione& c) const;
    astro::FunzioneConPendenza conPendenza();

    Satelement m_sat;
    astro::Osservatore m_oss;
    astro::OpzioniSatellite m_opz;
    double m_altezzaMinima;
    double m_fuso;
    int m_oraLegale;
    astro::AltezzaSatellite m_altezza;
    long m_valutazioni = 0;
    long m_completi = 0;
    long m_campioni = 0;
    bool m_nonCalcolabile = false;
    // The scan: the widened cone (cos of the limit less a margin, times the
    // observer's distance from the centre), the fastest rate (rad/s) at
    // which the satellite can close on it, whether that bound holds.
    double m_limiteCono = 0, m_cosCono = 1, m_distanzaOss = 0, m_velocitaMax = 0;
    // The widest the cone gets (at the highest point of the orbit), rad.
    double m_conoMassimo = M_PI;
    // The fastest the satellite's phase in its plane grows, rad/s.
    double m_velocitaFase = 0;
    bool m_conoValido = false;
    // The secular prediction of SGP4 orbits (null when the model is another
    // or the orbit does not lend itself): the cone widened by what the
    // periodic terms can move the satellite, its sine and cosine; the
    // fastest and slowest the satellite's secular argument turns and the
    // fastest the Earth turns under its plane (rad/day); the observer's
    // direction from the centre; the span's end.
    const astro::ImpostazioneSGP4* m_sgp4 = nullptr;
    double m_conoPrevisto = 0, m_senoPrevisto = 0, m_cosPrevisto = 1;
    double m_velocitaArgomento = 0, m_velocitaArgominima = 0, m_velocitaTerra = 0;
    double m_direzioneOss[3] = {0, 0, 1};
    double m_fine = 0;
};

// ------------------------------------------------------------ many satellites

// What the search of one satellite among many gave.
struct RisultatiSatellite {
    int indice = 0;                    // the caller's number of the satellite
    std::string nome;                  // its name as the parser gives it
    std::vector<Passaggio> passaggi;   // every pass found, in time order
    EsitoRicerca esito = EsitoRicerca::Completa;
    bool saltato = false;              // left out (refused set, skip rule, or below the horizon at the start when asked)
    bool erroreSolutore = false;       // a solver gave up on some culmination
};

// The search of many satellites (a whole element file) across the
// machine's cores. The workers start at once, each taking a run of
// satellites at a time; the caller takes the results
// satellite by satellite in the order given, so the rows come out as one
// satellite after another would give them. Arresta, or the destructor,
// stops the workers within about 50 ms.
class RicercaMultipla {
public:
    // One satellite: its element set parsed already, or its three lines,
    // which the workers parse with the tables given.
    struct Voce {
        int indice = 0;
        Satelement s;
        std::optional<RigaDati> righe;
    };
    // soloSopraOrizzonte: leave out the satellites below the horizon at ti.
    // fili: the number of worker threads (0: one per core).
    RicercaMultipla(std::vector<Voce> voci, const astro::Osservatore& oss, const astro::OpzioniSatellite& opz,
                    double altezzaMinima, double fusoOrario, int oraLegale, double ti, double tf,
                    bool soloSopraOrizzonte, int fili = 0, std::vector<std::string> magnitudini = {},
                    TabellaFrequenze frequenze = {});
    ~RicercaMultipla();
    RicercaMultipla(const RicercaMultipla&) = delete;
    RicercaMultipla& operator=(const RicercaMultipla&) = delete;

    // The next satellite's results, waiting at most `attesa` for them:
    // false when they are not ready yet, or when every result has been
    // taken (Finita).
    bool Prossimo(RisultatiSatellite& out, std::chrono::milliseconds attesa);
    bool Finita() const { return m_consegnati >= int(m_voci.size()); }
    int Consegnati() const { return m_consegnati; }
    int Totale() const { return int(m_voci.size()); }
    int Fili() const { return int(m_fili.size()); }
    void Arresta();

private:
    void lavora();
    RisultatiSatellite cerca(const Voce& v);

    std::vector<Voce> m_voci;
    astro::Osservatore m_oss;
    astro::OpzioniSatellite m_opz;
    double m_altezzaMinima, m_fuso;
    int m_oraLegale;
    double m_ti, m_tf;
    bool m_soloSopra;
    std::vector<std::string> m_magnitudini;
    TabellaFrequenze m_frequenze;
    // The most satellites a worker takes at once.
    static constexpr int kBloccoMassimo = 16;
    int m_numeroFili = 1;
    std::atomic<int> m_prossimo{0};
    std::atomic<bool> m_arresto{false};
    // The caller sleeps on m_pronto (with m_mutex) only while the result it
    // waits for (m_atteso, else -1) is not ready.
    std::mutex m_mutex;
    std::condition_variable m_pronto;
    std::atomic<int> m_atteso{-1};
    // One slot a satellite: written by the worker that searched it, then
    // marked ready, then taken by the caller; no lock.
    std::vector<std::optional<RisultatiSatellite>> m_risultati;
    std::unique_ptr<std::atomic<bool>[]> m_pronti;
    int m_consegnati = 0;  // the caller's alone
    std::vector<std::thread> m_fili;
};

} // namespace core
