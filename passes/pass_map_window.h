#pragma once
// The pass map: one predicted pass of one satellite charted across the
// observer's sky (sky at a chosen instant, grid, constellations, stars, Sun,
// Moon, planets, landscape) with the satellite's track from the start to the
// end of the pass, time and magnitude annotations the user pins to track
// points, and a printed observation sheet.
//
// Each charted pass opens a new window; several may be open at once, each
// with its own satellite copy, times, options and sky. How a pass map is
// opened:
//
//   auto* map = new frmSkySat;             // no parent: Mostra() adopts it
//   map->Apri(pass, jdMappa);              // the pass record (core/pass_record.h)
//                                          //  and the instant charted first
//   map->gstrRiga1 = line1; map->gstrRiga2 = line2; map->gstrRiga3 = line3;
//   map->Mostra();                         // child of the main window
//
// The window keeps its own copy of the satellite's elements and element
// lines; it computes the sky and the satellite for its own instants into
// values of its own and writes no shared table.
//
// The main window drives the active pass map by member names: the fourteen
// option flags are Qt properties with their names, and Genera_mappa(bool)
// and Stampa() are invokable by name.
#include "platform/canvas_widget.h"

#include "astro/records.h"
#include "common/sky_chart.h"
#include "common/window_calls.h"
#include "core/pass_record.h"
#include "core/sky_instant.h"

#include <QDateTime>
#include <QImage>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

class QPrinter;

// One point of the satellite's track on the chart.
struct PuntoPassaggio {
    float X = 0;            // chart position
    float Y = 0;
    QString DataOra;        // the instant, general date format
    QString Magnitudine;    // magnitude text; empty in the Earth's shadow
    double Azimuth = 0;     // degrees
    double Altezza = 0;     // degrees
    int Stato = 0;          // illumination state (1 shadow, 2 visible, 3 sunlit not visible)
    QDateTime Tempo;        // the instant itself (local program time)
};

// One annotation: a line from a track point to where its text sits, kept as
// sky positions so that it follows the sky through projection changes.
struct EtichettaAltazimutale {
    float AzimuthPunto = 0;
    float AltezzaPunto = 0;
    float AzimuthTesto = 0;
    float AltezzaTesto = 0;
    int Punto = 0;          // index in the track points
};

class frmSkySat : public QWidget, public common::CartaStellare, public common::Stampabile {
    Q_OBJECT
public:
    explicit frmSkySat(QWidget* parent = nullptr);
    ~frmSkySat() override;

    // ------------------------------------------------ set by the opener
    QString gstrRiga1;          // the pass's three lines of the result list
    QString gstrRiga2;
    QString gstrRiga3;
    int gintNumStelle = 0;      // stars drawn, the brightest first
    QDateTime gvarTempoMappa;   // local instant of the sky drawn (caption)
    QDateTime gvarTempoInizio;  // local start of the pass
    QDateTime gvarTempoCulmine; // local culmination
    QDateTime gvarTempoFine;    // local end of the pass

    // ------------------------------------------------ options (menu mnuSkySat)
    bool impmnuSkySatGriglia = false;
    bool impmnuSkySatPaesaggio = false;
    bool impmnuSkySatEtichettePianeti = false;
    bool impmnuSkySatEtichetteSoleLuna = false;
    bool impmnuSkySatEtichetteCostellazioni = false;
    bool impmnuSkySatOggettiPianeti = false;
    bool impmnuSkySatOggettiSoleLuna = false;
    bool impmnuSkySatOggettiCostellazioni = false;
    bool impmnuSkySatProiezStereo = false;
    bool impmnuSkySatProiezNormale = true;
    bool impmnuSkySatOrientamentoNord = false;
    bool impmnuSkySatOrientamentoSud = true;
    bool impmnuSkySatOrientamentoOvest = false;
    bool impmnuSkySatOrientamentoEst = false;

    // Prints the chart and the observation sheet on one page (asks for the
    // printer first; a cancel prints nothing).
    void Stampa();
    // Draws the whole chart; true first drops every annotation.
    void Genera_mappa(bool arraynuovo);

    // common::CartaStellare: the limiting-magnitude dialog sets the count and
    // redraws keeping the annotations.
    Tipo Tipo_Carta() const override { return Tipo::MappaPassaggio; }
    int& Numero_Stelle() override { return gintNumStelle; }
    void Ridisegna_Carta() override { Genera_mappa(false); }
    // common::Stampabile: File > Print and the view menu's Print.
    void Comando_Stampa() override { Stampa(); }

    // The view menu's option for a menu item name (mnuSkySat...), or null
    // for a name that is not one of the options.
    bool* Opzione(const QString& voce);

    // The pass to chart: the window's own copy of the satellite (elements
    // and element lines) and its local start, culmination and end; jdMappa
    // is the instant charted first (Julian dates, UT).
    void Apri(const core::RecordPassaggio& passaggio, double jdMappa);
    // Loads the window (reads the options of the settings) and shows it as a
    // child of the main window, or on its own when there is no main window.
    // Runs Form_Load only once. A window not given its pass by Apri takes
    // the satellite of slot 201 as it stands when it loads.
    void Mostra();
    void Form_Load();
    bool caricata() const { return m_caricata; }

    // Chart position of azimuth and altitude (degrees) and back, for this
    // window's projection and orientation.
    void Mappatura(double azimuth, double altezza, float& x, float& y) const;
    void Mappatura_inversa(float x, float y, double& azimuth, double& altezza) const;
    // 0 South (north at the top), 1 East, 2 North, 3 West.
    int Orientamento() const;

    // The chart surface (receives the mouse) and the window's state.
    platform::CanvasWidget* Picture1() const { return m_picture1; }
    const std::vector<PuntoPassaggio>& puntiTraccia() const { return mudtPuntiTraccia; }
    const std::vector<EtichettaAltazimutale>& etichette() const { return mudtEtichette; }
    const Satelement& satellite() const { return mudtSatellite; }
    const RigaDati& righe() const { return mudtRighe; }
    // The chart places of the sky of the last drawing.
    const common::PosizioniCielo& posizioni() const { return m_posizioni; }
    // The text pinned to track point i (1-based).
    QString Testo_Etichetta(int i) const;

    // Mouse on the chart (chart units; buttons 1 left, 2 right).
    void Picture1_MouseDown(int button, int shift, double x, double y);
    void Picture1_MouseMove(int button, int shift, double x, double y);
    void Picture1_MouseUp(int button, int shift, double x, double y);

    // The track's quarter-minute start for a pass starting at `inizio`, and
    // the step in seconds for a span of `minuti` whole minutes.
    static QDateTime Inizio_Traccia(const QDateTime& inizio);
    static int Passo_Traccia(long long minuti);

    // Prints on `printer` without the printer dialog (the sheet's page
    // drawing); false, with nothing left open, when printing failed.
    bool Stampa_Su(QPrinter& printer);

    // The design size (6630 by 6870 twips), and the least in which the
    // chart still reads: the workspace's cascade and tile go by them.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // A track never holds more points than this (a far end time would
    // otherwise step on for ever): 50 hours at the longest step.
    static constexpr int kMaxPuntiTraccia = 1000;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Form_Resize();
    void Calcola_coordinate_altazimutali();
    void Disegna_sfondo();
    void Disegna_punti_cardinali();
    void Disegna_griglia();
    void Disegna_linee_costellazioni();
    void Disegna_nomi_costellazioni();
    void Disegna_stelle();
    void Disegna_pianeta(float size, std::uint32_t colour, int n);
    void Disegna_luna();
    void Disegna_paesaggio();
    void Disegna_traccia(bool arraynuovo);
    void Mostra_menu();
    common::OpzioniCielo Opzioni() const;

    platform::CanvasWidget* m_picture1 = nullptr;
    QImage picBackground;

    Satelement mudtSatellite;
    RigaDati mudtRighe;
    bool m_passaggioDato = false;        // Apri gave the satellite
    astro::ModelloSatellite m_modello;   // the satellite's model, set up once
    // The sky at the map instant, its chart places and the painter of its layers.
    core::CieloIstante m_cielo;
    common::PosizioniCielo m_posizioni;
    common::OpzioniCielo m_opzioni;
    std::unique_ptr<common::PittoreCielo> m_pittore;
    std::vector<PuntoPassaggio> mudtPuntiTraccia;       // index 0 unused
    std::vector<EtichettaAltazimutale> mudtEtichette;   // index 0 unused
    float msngPuntoX = 0;
    float msngPuntoY = 0;
    int mintPuntoScelto = 0;
    // A track point is picked (a point may lie at x = 0 or y = 0, so the
    // position cannot tell).
    bool mblnPuntoScelto = false;
    std::uint32_t mlngColoreGriglia = 0x8C8C8C;
    bool m_caricata = false;
    bool m_disegno = false;

    friend struct PassMapProbe; // tests: track points in given places
};
