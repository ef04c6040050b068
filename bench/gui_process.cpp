// The computation inside the program as in a plain process. Runs the same
// measurements three times in one process:
//   plain   with the upper halves of the vector registers clear, as in a
//           process that has shown nothing,
//   gui     right after a widget has been shown and repainted (again before
//           each measurement),
//   upper   right after an AVX instruction that leaves the vector registers'
//           upper halves in use (again before each measurement),
// and prints each time with its ratio to the plain one, whether the upper
// halves were in use when the measurement started, and whether the passes
// and the listing came out the same in every state (with a digest of them
// to compare with another build's). Measure pinned to four
// cores (taskset -c 0-3); ASTROVELA_BENCH_REPEAT sets how many times each
// short measurement is repeated (best kept, default 3).
//
//   20,000 satellite states (ISS, one a minute, set-up kept)
//   the pass search of the 200 benchmark sets over 10 days, in the calling
//     thread and in a thread started from that state
//   the catalogue search, 20,000 sets over one day, one worker and four
//   a 200,000-line ephemeris listing and a 200,000-line relative listing
//   100 clock ticks with the 200 benchmark sets in the working list
#include "astro/vector_state.h"
#include "common/progress_window.h"
#include "core/clock.h"
#include "core/element_parser.h"
#include "core/globals_orbit.h"
#include "core/pass_search.h"
#include "listings/listing_lines.h"
#include "listings/listing_model.h"
#include "listings/listing_window.h"
#include "platform/fakes.h"
#include "platform/services.h"

#include <QApplication>
#include <QWidget>

#include "bench_program.h"
#include "bench_sets.h"
#include "pass_reference.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using bench::kInizio, bench::kLimite, bench::kMilano, bench::Opzioni;
using Orologio = std::chrono::steady_clock;

double Secondi(Orologio::time_point a, Orologio::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

// A digest of what a measurement produced, compared across the states.
struct Impronta {
    unsigned long long h = 1469598103934665603ull;
    long n = 0;
    void aggiungi(double x)
    {
        unsigned long long b = 0;
        static_assert(sizeof b == sizeof x);
        std::memcpy(&b, &x, sizeof b);
        h = (h ^ b) * 1099511628211ull;
        ++n;
    }
    void aggiungi(const QString& s)
    {
        for (QChar c : s)
            aggiungi(double(c.unicode()));
    }
    bool operator==(const Impronta& o) const { return h == o.h && n == o.n; }
};

void Passaggio(Impronta& imp, const core::Passaggio& p)
{
    imp.aggiungi(p.sorgere.jd);
    imp.aggiungi(p.culmine.jd);
    imp.aggiungi(p.tramonto.jd);
    imp.aggiungi(p.culmine.v.Altezza);
    imp.aggiungi(p.culmine.v.Azimuth);
}

std::vector<Satelement> Insiemi200()
{
    std::vector<Satelement> sats;
    for (int n = 1; n <= 200; ++n) {
        const RigaDati r = bench::Insieme_Prova(n);
        Satelement e;
        if (core::Analizza_Elementi(r.Riga0, r.Riga1, r.Riga2, {}, TabellaFrequenze{}, e)
            == core::ErroreElementi::Nessuno)
            sats.push_back(e);
    }
    return sats;
}

Impronta Stati20000(const Satelement& iss)
{
    Impronta imp;
    astro::ModelloSatellite modello;
    const astro::OpzioniSatellite opz = Opzioni();
    for (int k = 0; k < 20000; ++k) {
        Valori v;
        astro::UsciteSatellite u;
        astro::Calcola_Satellite(iss, kMilano, opz, iss.EpocaGiuliana + k / 1440.0, v, u, &modello);
        imp.aggiungi(v.Altezza);
    }
    return imp;
}

Impronta Ricerca200(const std::vector<Satelement>& sats)
{
    Impronta imp;
    for (const Satelement& s : sats) {
        if (core::Satellite_Escluso(s.MotoMedio, s.Eccentricita))
            continue;
        core::RicercaPassaggi r(s, kMilano, Opzioni(), kLimite, 1.0, 0);
        r.continua = [] { return true; };
        r.passaggio = [&](const core::Passaggio& p) { Passaggio(imp, p); };
        r.PREDICI(kInizio, kInizio + 10, core::Passo_Scansione(s.MotoMedio), core::kPassoPiccolo);
    }
    return imp;
}

Impronta Catalogo(const std::vector<core::RicercaMultipla::Voce>& voci, int fili)
{
    Impronta imp;
    core::RicercaMultipla m(voci, kMilano, Opzioni(), kLimite, 1.0, 0, kInizio, kInizio + 1, false, fili);
    core::RisultatiSatellite r;
    while (!m.Finita())
        if (m.Prossimo(r, std::chrono::milliseconds(50)))
            for (const core::Passaggio& p : r.passaggi)
                Passaggio(imp, p);
    return imp;
}

Impronta Elenco(bool relativo)
{
    const QDateTime inizio(QDate(2013, 11, 26), QTime(15, 0), Qt::UTC);
    const QDateTime fine = inizio.addSecs(200'000 - 1);
    auto d = std::make_unique<frmDetails>();
    double passo = 1;
    if (relativo)
        d->Genera_relativo(inizio, fine, passo, listings::TipoOBS);
    else
        d->Genera_elenco(kSlotScratch, inizio, fine, passo, listings::TipoOBS);
    Impronta imp;
    const int n = d->numeroRighe();
    imp.aggiungi(double(n));
    for (int i = 0; i < n; i += 997)
        imp.aggiungi(d->riga(i));
    if (n > 0)
        imp.aggiungi(d->riga(n - 2));
    d.reset();
    frmProgress::Unload();
    return imp;
}

Impronta Tick100()
{
    core::CentralClock& clock = core::CentralClock::instance();
    clock.Avvia_Simulazione(core::Data_Orologio(QDate(2026, 12, 7), QTime(21, 0, 0)));
    Impronta imp;
    for (int k = 0; k < 100; ++k) {
        clock.tmrCentrale_Timer();
        imp.aggiungi(gudtValori[200].Altezza);
    }
    return imp;
}

struct Misura {
    const char* nome;
    std::function<Impronta()> corpo;
    int ripetizioni;
};

const char* Testo_Stato(std::optional<bool> s)
{
    return !s ? "unknown" : *s ? "in use" : "clear";
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int ripeti = std::max(1, std::atoi(qgetenv("ASTROVELA_BENCH_REPEAT").isEmpty()
                                                 ? "3" : qgetenv("ASTROVELA_BENCH_REPEAT").constData()));
    const std::optional<bool> avvio = astro::Meta_Alte_In_Uso();
    QApplication app(argc, argv);
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    bench::Prepara_Programma();
    gsngLatitudine = 45.464f;
    Estrai_Dati_Satellite(kSlotScratch, "ISS (ZARYA)",
                          "1 25544U 98067A   13330.58127943  .00000814  00000-0  21834-4 0  1064",
                          "2 25544  51.6484  23.7537 0001246  74.1647  18.7420 15.50540527859894");
    Estrai_Dati_Satellite(kSlotSecondo, "DELTA 1 DEB",
                          "1 06251U 62025E   13330.50000000  .00008885  00000-0  12808-3 0  3985",
                          "2 06251  58.0579  54.0425 0030035 139.1568 221.1854 15.56387291  6774");
    const Satelement iss = gudtSatelementi[kSlotScratch];
    const std::vector<Satelement> sats = Insiemi200();
    std::vector<core::RicercaMultipla::Voce> voci;
    for (int n = 1; n <= 20000; ++n)
        voci.push_back({n, {}, bench::Catalogo_Prova(n)});
    core::clockViews() = core::ClockViews{};
    pflgSatellite = true;
    pflgRicerca = true;  // keep the list whole whatever the orbits do

    const std::vector<Misura> misure = {
        {"20,000 satellite states", [&] { return Stati20000(iss); }, ripeti},
        {"pass search, 200 sets x 10 days", [&] { return Ricerca200(sats); }, ripeti},
        {"  the same in a new thread",
         [&] {
             Impronta imp;
             std::thread t([&] { imp = Ricerca200(sats); });
             t.join();
             return imp;
         },
         ripeti},
        {"catalogue, 20,000 sets x 1 day, 1 worker", [&] { return Catalogo(voci, 1); }, std::min(ripeti, 2)},
        {"catalogue, 4 workers", [&] { return Catalogo(voci, 4); }, ripeti},
        {"ephemeris listing, 200,000 lines", [] { return Elenco(false); }, ripeti},
        {"relative listing, 200,000 lines", [] { return Elenco(true); }, ripeti},
        {"100 clock ticks, 200 satellites", [] { return Tick100(); }, ripeti},
    };

    // The states, each set up again before every measurement.
    QWidget finestra;
    finestra.resize(400, 300);
    struct Stato {
        const char* nome;
        std::function<void()> prepara;
    };
    const std::vector<Stato> stati = {
        {"plain", [] { astro::Azzera_Meta_Alte(); }},
        {"gui",
         [&] {
             finestra.show();
             finestra.repaint();
             QApplication::processEvents();
         }},
        {"upper", [] { astro::Occupa_Meta_Alte(); }},
    };

    std::printf("upper halves at the start of the process: %s\n", Testo_Stato(avvio));
    std::vector<std::vector<double>> tempi(stati.size(), std::vector<double>(misure.size(), 0));
    std::vector<std::vector<Impronta>> impronte(stati.size(), std::vector<Impronta>(misure.size()));
    std::vector<std::string> statiVisti(stati.size());
    for (size_t s = 0; s < stati.size(); ++s) {
        for (size_t m = 0; m < misure.size(); ++m) {
            double migliore = 1e300;
            for (int k = 0; k < misure[m].ripetizioni; ++k) {
                stati[s].prepara();
                if (k == 0)
                    statiVisti[s] += std::string(Testo_Stato(astro::Meta_Alte_In_Uso())).substr(0, 1);
                const Orologio::time_point a = Orologio::now();
                impronte[s][m] = misure[m].corpo();
                migliore = std::min(migliore, Secondi(a, Orologio::now()));
            }
            tempi[s][m] = migliore;
        }
    }

    std::printf("%-42s %10s %10s %6s %10s %6s %s\n", "measurement (best, ms)", "plain", "gui", "ratio", "upper",
                "ratio", "same results");
    for (size_t m = 0; m < misure.size(); ++m) {
        const double p = tempi[0][m] * 1e3, g = tempi[1][m] * 1e3, u = tempi[2][m] * 1e3;
        const bool uguali = impronte[0][m] == impronte[1][m] && impronte[0][m] == impronte[2][m];
        std::printf("%-42s %10.1f %10.1f %6.2f %10.1f %6.2f %s (%ld values, digest %016llx)\n", misure[m].nome, p,
                    g, g / p, u, u / p, uguali ? "yes" : "NO", impronte[0][m].n, impronte[0][m].h);
    }
    for (size_t s = 0; s < stati.size(); ++s)
        std::printf("state %-6s upper halves before each measurement: %s (c clear, i in use, u unknown)\n",
                    stati[s].nome, statiVisti[s].c_str());
    std::printf("four workers against one: plain %.2fx, gui %.2fx, upper %.2fx\n", tempi[0][3] / tempi[0][4],
                tempi[1][3] / tempi[1][4], tempi[2][3] / tempi[2][4]);
    return 0;
}
