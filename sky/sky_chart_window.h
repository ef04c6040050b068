#pragma once
// The whole-sky chart: the celestial sphere in right ascension (24 h at the
// left, 0 h at the right) and declination (+90 at the top), with grid,
// constellations, stars, Sun, Moon and planets for the program clock. The
// mouse shows the coordinates under it, zooms into a dragged rectangle and
// opens the details of a clicked star or body. One instance, created on
// first use; its commands are the main window's "General Sky" menu.
#include "sky/sky_chart_logic.h"
#include "common/window_calls.h"
#include "platform/canvas.h"

#include <QHash>
#include <QString>
#include <QWidget>

class QAction;
class QTimer;
namespace platform {
class CanvasWidget;
}

class frmGeneralSky : public QWidget, public common::CartaStellare {
    Q_OBJECT
public:
    explicit frmGeneralSky(QWidget* parent = nullptr);
    ~frmGeneralSky() override;

    // The one chart (created and loaded when `create` and none exists).
    static frmGeneralSky* instance(bool create = true);
    // Shows the chart in the main window's workspace (or as a window of its
    // own without one), creating it on first use, with the wait pointer.
    static frmGeneralSky* Mostra();

    // The visible window: right ascension at the left and right edges
    // (hours), declination at the top and bottom edges (degrees).
    float gsngLatoSx = 24;
    float gsngLatoSy = 90;
    float gsngLatoDx = 0;
    float gsngLatoDy = -90;
    // Stars drawn, counted from the brightest (0 .. 9010).
    int gintNumStelle = 5146;

    void Genera_mappa();
    void tmrGeneralSky_Timer();

    // common::CartaStellare: the limiting-magnitude dialog and a new location
    // redraw the chart through Genera_mappa.
    Tipo Tipo_Carta() const override { return Tipo::CieloGenerale; }
    int& Numero_Stelle() override { return gintNumStelle; }
    void Ridisegna_Carta() override { Genera_mappa(); }

    // The main window's chart menu commands that act on this window.
    void mnuGeneralSkyZoom_Click();
    void mnuGeneralSkyRipristina_Click();
    // A layer item: inverts its check mark and redraws.
    void Inverti_Voce(const QString& name);

    // A check item or command of the chart menu: the main window's item, or
    // one of the chart's own when there is no main window (tests, tools).
    QAction* voce(const QString& name) const;

    platform::CanvasWidget* Picture1 = nullptr;
    QTimer* tmrGeneralSky = nullptr;
    // The date text of the last drawing (the chart's tag).
    QString Tag;

    void Picture1_MouseDown(int button, int shift, double x, double y);
    void Picture1_MouseMove(int button, int shift, double x, double y);
    void Picture1_MouseUp(int button, int shift, double x, double y);

    void Lingua();
    // Current pointer picture of the chart (1 ordinary, 3 zoom).
    int puntatore() const { return m_puntatore; }
    void Imposta_Puntatore(int n);

    // The design size (10665 by 6870 twips), and the least in which the
    // chart still reads: the workspace's cascade and tile go by them.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void Disegna_griglia(platform::Canvas& c);
    void Disegna_costellazioni(platform::Canvas& c);
    void Disegna_nomi_costellazioni(platform::Canvas& c, bool intero);
    void Disegna_stelle(platform::Canvas& c, bool intero);
    void Disegna_pianeta(platform::Canvas& c, double r, platform::VbColor colore, int n, bool intero);
    void Disegna_luna(platform::Canvas& c);
    bool spuntata(const char* name) const;

    float msngInizioX = 0;
    float msngInizioY = 0;
    QString mstrTitolo, mstrOraLocale, mstrAR, mstrDec;
    sky::CoordinateMouse mudtCoordinate;
    int m_puntatore = 1;
    bool m_disegno = false;
    mutable QHash<QString, QAction*> m_voci;   // own items when there is no main window
};
