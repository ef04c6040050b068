#pragma once
// The world map window: the Earth with the live satellites of the working
// list, as an equirectangular map ("Recta") or as an orthographic globe over
// pre-drawn views ("Ortho"). The static picture (background, night shade,
// terminator, grid, Sun, observer, ground track) is drawn on the persistent
// layer of the map box by Genera_mappa; the clock tick draws the satellites
// and the principal's footprint on the transient layer every second and
// regenerates the map every 61 ticks.
#include "common/data_panel.h"
#include "core/clock.h"
#include "platform/canvas_widget.h"
#include "maps/world_map_geometry.h"

#include <QHash>
#include <QDateTime>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <optional>

class QAction;
class QMdiSubWindow;

class frmWorldMap : public QWidget, public core::WorldMapView {
    Q_OBJECT
public:
    // The one window (created on first use when `create`; null otherwise).
    static frmWorldMap* instance(bool create = true);
    // Closes and destroys the window when it exists.
    static void Unload();
    ~frmWorldMap() override;

    // The satellite picked on the map (a working-list slot, 0 for none).
    int mintSelezione() const { return m_selezione; }
    void setMintSelezione(int slot) { m_selezione = slot; }

    // core::WorldMapView
    void Disegna_satellite(int Index) override;
    void Disegna_visibilita() override;
    void Genera_mappa() override;
    bool cerchioVisibilita() const override;
    void Mostra_dati(const core::PrincipalTexts& texts) override;
    void Azzera_dati() override;

    void Form_Resize();
    void Disegna_orbita();
    void Disegna_griglia();

    // The projection word: "Recta" or "Ortho".
    QString Tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

    // The width of the data box in twips (1935 shown, 0 hidden); the next
    // Form_Resize lays the window out with it.
    void larghezzaRiquadro(int twips);

    // Shows the window in the main window's workspace (or on its own).
    void Mostra();

    // Captions and tooltips from the language file.
    void Lingua();

    // Pointer events of the map box (classic codes, map units).
    void Picture1_MouseMove(int Button, int Shift, double X, double Y);
    void Picture1_MouseDown(int Button, int Shift, double X, double Y);
    void Picture1_MouseUp(int Button, int Shift, double X, double Y);

    // The centre of the globe view in use.
    float centroLon() const { return m_centroLon; }
    float centroLat() const { return m_centroLat; }
    // The last drawn place of a slot on the globe (999 when behind it).
    QPointF posizioneDisegnata(int slot) const;
    int iconaCorrente() const { return m_icona; }
    // The background picture loaded (its file name as kept in the box's tag).
    QString Picture1Tag() const { return m_picture1Tag; }
    const QImage& Picture2() const { return m_picture2; }

    // Texts shared with the menu commands.
    QString titoloRettangolare() const { return m_titoloRettangolare; }
    QString titoloOrtografico() const { return m_titoloOrtografico; }

    // The frame in the main window's workspace, null when on its own.
    QMdiSubWindow* cornice() const;

    platform::CanvasWidget* Picture1 = nullptr;
    common::RiquadroDati* fraSatellitePrincipale = nullptr; // the principal satellite's data box

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    explicit frmWorldMap(QWidget* parent = nullptr);
    void creaControlli();
    void Form_Load();
    void Imposta_finestra();
    void Form_QueryUnload();
    void Disegna_sfondo();
    void Titolo_finestra();
    void Disegna_ombra();
    QImage veloNotte(double H, double d, platform::VbColor colore) const;
    // Lays out the map box and the data box for the projection in use.
    void Disponi();
    void Disegna_sole();
    void Disegna_localita();
    void disegnaIcona(double x, double y, const QString& nome);
    const QImage& immagineNome(const QString& nome);
    void trattoBordo(double lon, double lat);
    bool ortho() const { return m_tag == QLatin1String("Ortho"); }
    bool recta() const { return m_tag == QLatin1String("Recta"); }

    platform::Canvas& box() { return Picture1->canvas(); }

    QString m_tag;
    QString m_picture1Tag;
    QImage m_picture2;
    float m_centroLon = 0;
    float m_centroLat = 0;
    int m_icona = 0;
    std::array<double, 201> m_x{};
    std::array<double, 201> m_y{};
    int m_selezione = 0;
    int m_larghezzaRiquadro = 1935; // twips
    QString m_titolo, m_titoloRettangolare, m_titoloOrtografico;
    bool m_inGenerazione = false;
    // The program clock the persistent map shows, and at the last tick.
    QDateTime m_istanteMappa;
    QDateTime m_istanteTick;
    // One painter for the whole of a second's drawing: opened by slot 1,
    // closed when the data box is filled.
    std::optional<platform::Canvas::Batch> m_lotto;
    // The satellites' names as drawn in the box's font and colour: drawn once,
    // then copied every second (text is the dearest part of a tick).
    QHash<QString, QImage> m_nomi;
};

namespace maps {

// The opacity (0..255) of the night side's shade over the map.
inline constexpr int kOpacitaNotte = 128;

// A menu item of the main window by name (null without a main window).
QAction* Voce_Mappa(const char* nome);
// Whether that item is checked (false when it does not exist).
bool Spuntata(const char* nome);

} // namespace maps
