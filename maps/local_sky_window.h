#pragma once
// The local sky window: the chart of the observer's sky (horizon, grid,
// stars, constellations, Sun, Moon, planets, the live satellites and the
// principal satellite's pass) beside the principal satellite's data box.
// One instance, created by the main window's "Local sky" command.
#include "core/clock.h"
#include "common/data_panel.h"
#include "common/sky_chart.h"
#include "common/window_calls.h"

#include <QImage>
#include <QRect>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QTimer;

namespace platform {
class Canvas;
class CanvasWidget;
}

class frmLocalSky : public QWidget,
                    public core::LocalSkyView,
                    public common::CartaStellare,
                    public common::Stampabile {
    Q_OBJECT
public:
    explicit frmLocalSky(QWidget* parent = nullptr);
    ~frmLocalSky() override;

    // The open window, or null. With create, makes (and loads) it first.
    static frmLocalSky* instance(bool create = false);

    // Shows the object details box for a body row 1..9, or 0 for the star
    // record just read into gudtRecordStella: the details box itself unless
    // another function is installed here (tests).
    static std::function<void(int oggetto)>& mostraOggetto();

    // Scale window of the chart (left, top, right, bottom) in chart units,
    // used as it stands while gblnZoom is true.
    float gsngLatoSx = -200;
    float gsngLatoSy = 100;
    float gsngLatoDx = 200;
    float gsngLatoDy = -100;
    bool gblnZoom = false;
    // How many of the brightest stars are projected and drawn (1..9010).
    int gintNumStelle = 1639;

    // Redraws every static layer of the chart for the program clock.
    void Genera_mappa() override;
    // core::LocalSkyView: one working-list slot on the transient layer.
    void Disegna_satellite_in_cielo(int slot) override;
    bool soloPrincipale() const override;
    void Mostra_dati(const core::PrincipalTexts& texts) override;
    void Azzera_dati() override;
    // The principal's pass and its time labels (on the persistent layer).
    void Disegna_passaggio();
    void Form_Resize();
    void tmrLocalSky_Timer() { Genera_mappa(); }
    // Azimuth and altitude (degrees) to chart x and y, in the orientation and
    // projection of the main window's menu.
    void Mappatura(double azimuth, double altitude, float& x, float& y) const;
    void Mappatura_inversa(float x, float y, double& azimuth, double& altitude) const;
    // Prints the chart on one page (print dialog first; cancel prints nothing).
    void Stampa();

    // common::CartaStellare: the limiting-magnitude dialog sets the count and
    // a new location redraws, both through the timer's procedure.
    Tipo Tipo_Carta() const override { return Tipo::CieloLocale; }
    int& Numero_Stelle() override { return gintNumStelle; }
    void Ridisegna_Carta() override { tmrLocalSky_Timer(); }
    // common::Stampabile: File > Print.
    void Comando_Stampa() override { Stampa(); }

    // Pointer events of the chart (button 1 left, 2 right; chart units).
    void Picture1_MouseDown(int button, int shift, double x, double y);
    void Picture1_MouseMove(int button, int shift, double x, double y);
    void Picture1_MouseUp(int button, int shift, double x, double y);

    // Run after a zoom drag has set a new window (the main window's zoom
    // command, which leaves zoom mode).
    std::function<void()> zoomEseguito;
    // The object the last pick chose (body row 1..9, 0 a star; -1 none yet).
    int ultimoOggetto = -1;

    // Sets the chart's pointer: 1 normal, 2 time picking, 3 zoom.
    void Imposta_Puntatore(int immagine);

    // Controls (public, as the other windows use them).
    platform::CanvasWidget* Picture1 = nullptr;
    common::RiquadroDati* fraSatellitePrincipale = nullptr; // the principal satellite's data box
    QTimer* tmrLocalSky = nullptr;
    QImage picBackground;        // the landscape picture (null when it could not be read)
    // Width of the data box in twips (1935 shown, 0 hidden).
    int larghezzaRiquadro() const { return m_larghezzaRiquadro; }
    void setLarghezzaRiquadro(int twips) { m_larghezzaRiquadro = twips; }

    // The placement read at load (pixels, frame): where the window goes when
    // it is first shown, and whether it is moved there (saved placements on).
    QRect posizione;
    bool spostaAllaPosizione = false;

    // The chart's date text of the last redraw (pointer read-out repeats it).
    QString testoData() const { return m_testoData; }
    // The aspect ratio of the chart box at the last redraw.
    double aspetto() const { return m_aspetto; }
    // Orientation index (0 south, 1 east, 2 north, 3 west) and projection
    // from the main window's menu.
    int orientamento() const;
    bool stereografica() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    void Lingua();
    void Imposta_scala();
    void Calcola_posizioni();
    void Disegna_sfondo();
    void Disegna_punti_cardinali();
    void Disegna_griglia();
    void Disegna_linee_costellazioni();
    void Disegna_nomi_costellazioni();
    void Disegna_stelle();
    void Disegna_luna();
    void Disegna_pianeta(float size, std::uint32_t colour, int k);
    void Disegna_paesaggio();
    common::OpzioniCielo Opzioni() const;
    bool dentro(double x, double y) const;

    platform::Canvas& canvas() const;

    // The sky of the last redraw, its chart places and the painter of its layers.
    core::CieloIstante m_cielo;
    common::PosizioniCielo m_posizioni;
    common::OpzioniCielo m_opzioni;
    std::unique_ptr<common::PittoreCielo> m_pittore;
    int m_larghezzaRiquadro = 1935;
    double m_aspetto = 2;
    double m_rapportoCerchio = 1;
    QString m_titolo;        // chart title ("mappalocale")
    QString m_oraLocale;     // local-time word
    QString m_testoData;
    // Pointer state.
    float m_xInizio = 0, m_yInizio = 0;
    int m_puntoScelto = 0;
    float m_xAncora = 0, m_yAncora = 0;
    bool m_inCaricamento = true;
    bool m_chiuso = false;
};
