// The options dialog's pages: building them, and the interactive parts
// (colours, filter groups, grid types, the external program, the two lists).
#include "settings/settings_dialog.h"

#include "controls/graph_button.h"
#include "controls/range_tool.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "settings/settings_binding.h"
#include "platform/file_chooser.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/vb.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <cmath>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QButtonGroup>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace settings::binding;

namespace {

const QString kSezione = QStringLiteral("frmSettings");

template <typename W>
W* crea(QWidget* parent, const QString& name)
{
    auto* w = new W(parent);
    w->setObjectName(name);
    return w;
}

GraphButton* pulsante(QWidget* parent, const char* name)
{
    auto* b = crea<GraphButton>(parent, QLatin1String(name));
    b->setMinimumSize(100, 26);
    return b;
}

// Restore values of the colour pages.
constexpr quint32 RGBc(int r, int g, int b)
{
    return vb::RGB(r, g, b);
}

// The place of the filter frames: 120 twips from the left and 840 from the
// top, 6135 x 2175 twips, or more when the controls of a group need it. The
// three frames share one place and one size, so that the group in front
// covers the others whole.
QRect Posto_filtri(const std::array<QFrame*, 3>& frames)
{
    int w = vb::TwipsToPixels(6135);
    int h = vb::TwipsToPixels(2175);
    for (const QFrame* f : frames) {
        w = std::max(w, f->sizeHint().width());
        h = std::max(h, f->sizeHint().height());
    }
    return QRect(vb::TwipsToPixels(120), vb::TwipsToPixels(840), w, h);
}


// The compass points under an azimuth range control of the same width: each
// letter stands under the place a thumb takes for its azimuth.
class Bussola : public QWidget {
public:
    explicit Bussola(QWidget* parent) : QWidget(parent)
    {
        const char* punti[5] = {"N", "E", "S", "W", "N"};
        for (int k = 0; k < 5; ++k) {
            m_punti[k] = new QLabel(QLatin1String(punti[k]), this);
            m_punti[k]->setAlignment(Qt::AlignCenter);
        }
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    QSize sizeHint() const override { return {217, m_punti[0]->sizeHint().height()}; }
    QSize minimumSizeHint() const override { return {40, sizeHint().height()}; }

protected:
    void resizeEvent(QResizeEvent*) override
    {
        // A thumb at value v has its left edge at v / 360 of the track
        // (the width less one thumb), so its middle is half a thumb further.
        constexpr double kMezzoCursore = 15 / 2.0;
        const double pista = width() - 17;
        for (int k = 0; k < 5; ++k) {
            QLabel* l = m_punti[k];
            const int w = l->sizeHint().width() + 2;
            const double centro = kMezzoCursore + k * 90 / 360.0 * pista;
            l->setGeometry(int(std::lround(centro - w / 2.0)), 0, w, height());
        }
    }

private:
    QLabel* m_punti[5] = {};
};

} // namespace

// ---------------------------------------------------------------- building

void frmSettings::creaPagine()
{
    SSTab1 = crea<QTabWidget>(this, QStringLiteral("SSTab1"));
    SSTab1->setUsesScrollButtons(false);
    SSTab1->tabBar()->setExpanding(false);
    static const char* const kFrame[14] = {"fraGenerali", "fraSatelliti", "fraMappamondo", "fraLocale",
                                           "fraLocale2",  "fraGenerale",  "fraAnteprima",  "fraAnteprima2",
                                           "fraFiltri",   "fraServer",    "fraColori1",    "fraColori2",
                                           "fraDownload", "fraEsegui"};
    for (int i = 0; i < 14; ++i) {
        frames[size_t(i)] = crea<QFrame>(nullptr, QLatin1String(kFrame[i]));
        SSTab1->addTab(frames[size_t(i)], QString());
    }
    // Fourteen captions do not fit one row of tabs at the dialog's width, and
    // tabs behind scroll arrows cannot be seen at a glance: the pages are
    // chosen from two rows of seven tabs above the page, as the dialog always
    // showed them. The hidden tab row and its holder take no focus, so that
    // Tab goes from the window's frame to the page buttons and on to the
    // page shown.
    SSTab1->tabBar()->hide();
    SSTab1->tabBar()->setFocusPolicy(Qt::NoFocus);
    SSTab1->setFocusPolicy(Qt::NoFocus);
    SSTab1Schede = crea<QWidget>(this, QStringLiteral("SSTab1Schede"));
    auto* righe = new QGridLayout(SSTab1Schede);
    righe->setContentsMargins(0, 0, 0, 0);
    righe->setSpacing(2);
    auto* gruppo = new QButtonGroup(SSTab1Schede);
    gruppo->setExclusive(true);
    for (int i = 0; i < 14; ++i) {
        auto* b = crea<QToolButton>(SSTab1Schede, QStringLiteral("scheda%1").arg(i));
        b->setCheckable(true);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        gruppo->addButton(b, i);
        righe->addWidget(b, i / 7, i % 7);
        schede[size_t(i)] = b;
    }
    // The page buttons are one Tab stop, as a row of tabs: the button of the
    // page shown, however the page was chosen (its button, the arrows on the
    // buttons, or an options menu item, which chooses it before the dialog
    // shows).
    const auto fermata = [this](int pagina) {
        schede[size_t(pagina)]->setChecked(true);
        QToolButton* prima = nullptr;
        for (int i = 0; i < 14; ++i) {
            QToolButton* b = schede[size_t(i)];
            if (b->hasFocus() && i != pagina)
                prima = b;
            b->setFocusPolicy(i == pagina ? Qt::FocusPolicy(b->focusPolicy() | Qt::TabFocus)
                                          : Qt::FocusPolicy(b->focusPolicy() & ~Qt::TabFocus));
        }
        // The keyboard on another page's button follows to the page's own.
        if (prima)
            schede[size_t(pagina)]->setFocus(Qt::OtherFocusReason);
    };
    fermata(0);
    connect(gruppo, &QButtonGroup::idClicked, SSTab1, &QTabWidget::setCurrentIndex);
    connect(SSTab1, &QTabWidget::currentChanged, this, [fermata](int i) {
        if (i >= 0 && i < 14)
            fermata(i);
    });

    auto chk = [](QWidget* p, const char* n) { return crea<QCheckBox>(p, QLatin1String(n)); };
    auto cmb = [](QWidget* p, const char* n) { return crea<QComboBox>(p, QLatin1String(n)); };
    auto lbl = [](QWidget* p, const char* n) { return crea<QLabel>(p, QLatin1String(n)); };

    // page 0
    {
        QFrame* f = frames[0];
        auto* v = new QVBoxLayout(f);
        chkConfermaUscita = chk(f, "chkConfermaUscita");
        chkVerificaOpzioni = chk(f, "chkVerificaOpzioni");
        chkBarraPulsanti = chk(f, "chkBarraPulsanti");
        chkBarraStato = chk(f, "chkBarraStato");
        chkPosizioniFinestre = chk(f, "chkPosizioniFinestre");
        chkVerificaOraLegale = chk(f, "chkVerificaOraLegale");
        for (QCheckBox* c : {chkConfermaUscita, chkVerificaOpzioni, chkBarraPulsanti, chkBarraStato,
                             chkPosizioniFinestre, chkVerificaOraLegale})
            v->addWidget(c);
        lblBarraStato = lbl(f, "lblBarraStato");
        cmbData = cmb(f, "cmbData");
        v->addSpacing(8);
        v->addWidget(lblBarraStato);
        v->addWidget(cmbData);
        v->addStretch();
    }
    // page 1
    {
        QFrame* f = frames[1];
        auto* g = new QGridLayout(f);
        lblPropagatore = lbl(f, "lblPropagatore");
        cmbPropagatore = cmb(f, "cmbPropagatore");
        lblMagnitudine = lbl(f, "lblMagnitudine");
        cmbMagnitudine = cmb(f, "cmbMagnitudine");
        lblVisibilita = lbl(f, "lblVisibilita");
        cmbVisibilita = cmb(f, "cmbVisibilita");
        chkRifrazione = chk(f, "chkRifrazione");
        lblInfoPropagatore = lbl(f, "lblInfoPropagatore");
        lblInfoMagnitudine = lbl(f, "lblInfoMagnitudine");
        lblInfoVisibilita = lbl(f, "lblInfoVisibilita");
        lblInfoRifrazione = lbl(f, "lblInfoRifrazione");
        int r = 0;
        for (auto [l, c, info] : {std::tuple<QLabel*, QWidget*, QLabel*>{lblPropagatore, cmbPropagatore, lblInfoPropagatore},
                                  {lblMagnitudine, cmbMagnitudine, lblInfoMagnitudine},
                                  {lblVisibilita, cmbVisibilita, lblInfoVisibilita}}) {
            g->addWidget(l, r, 0);
            g->addWidget(c, r, 1);
            info->setWordWrap(true);
            g->addWidget(info, r + 1, 0, 1, 2);
            r += 2;
        }
        g->addWidget(chkRifrazione, r, 0, 1, 2);
        lblInfoRifrazione->setWordWrap(true);
        g->addWidget(lblInfoRifrazione, r + 1, 0, 1, 2);
        g->setRowStretch(r + 2, 1);
    }
    // page 2
    {
        QFrame* f = frames[2];
        auto* g = new QGridLayout(f);
        chkWorldMapGriglia = chk(f, "chkWorldMapGriglia");
        chkWorldMapNomeCitta = chk(f, "chkWorldMapNomeCitta");
        chkWorldMapCerchioVisibilita = chk(f, "chkWorldMapCerchioVisibilita");
        chkWorldMapTracciatoOrbita = chk(f, "chkWorldMapTracciatoOrbita");
        chkWorldMapDatiSatellite = chk(f, "chkWorldMapDatiSatellite");
        chkWorldMapCoordinateMouse = chk(f, "chkWorldMapCoordinateMouse");
        chkWorldMapRiquadroDati = chk(f, "chkWorldMapRiquadroDati");
        chkWorldMapSole = chk(f, "chkWorldMapSole");
        chkWorldMapOmbra = chk(f, "chkWorldMapOmbra");
        chkWorldMapTerminatore = chk(f, "chkWorldMapTerminatore");
        // No setting stands behind the terminator box: the world map's own
        // menu item keeps that layer.
        chkWorldMapTerminatore->setEnabled(false);
        int i = 0;
        for (QCheckBox* c : {chkWorldMapGriglia, chkWorldMapNomeCitta, chkWorldMapCerchioVisibilita,
                             chkWorldMapTracciatoOrbita, chkWorldMapDatiSatellite, chkWorldMapCoordinateMouse,
                             chkWorldMapRiquadroDati, chkWorldMapSole, chkWorldMapOmbra, chkWorldMapTerminatore}) {
            g->addWidget(c, i % 5, i / 5);
            ++i;
        }
        g->setRowStretch(5, 1);
    }
    // pages 3 and 4
    {
        QFrame* f = frames[3];
        auto* g = new QGridLayout(f);
        chkLocalSkyGriglia = chk(f, "chkLocalSkyGriglia");
        fraLocalSkyOggetti = crea<QGroupBox>(f, QStringLiteral("fraLocalSkyOggetti"));
        fraLocalSkyEtichette = crea<QGroupBox>(f, QStringLiteral("fraLocalSkyEtichette"));
        auto* vo = new QVBoxLayout(fraLocalSkyOggetti);
        chkLocalSkyOggettiCostellazioni = chk(fraLocalSkyOggetti, "chkLocalSkyOggettiCostellazioni");
        chkLocalSkyOggettiPianeti = chk(fraLocalSkyOggetti, "chkLocalSkyOggettiPianeti");
        chkLocalSkyOggettiSoleLuna = chk(fraLocalSkyOggetti, "chkLocalSkyOggettiSoleLuna");
        for (QCheckBox* c : {chkLocalSkyOggettiCostellazioni, chkLocalSkyOggettiPianeti, chkLocalSkyOggettiSoleLuna})
            vo->addWidget(c);
        auto* ve = new QVBoxLayout(fraLocalSkyEtichette);
        chkLocalSkyEtichetteCostellazioni = chk(fraLocalSkyEtichette, "chkLocalSkyEtichetteCostellazioni");
        chkLocalSkyEtichettePianeti = chk(fraLocalSkyEtichette, "chkLocalSkyEtichettePianeti");
        chkLocalSkyEtichetteSoleLuna = chk(fraLocalSkyEtichette, "chkLocalSkyEtichetteSoleLuna");
        for (QCheckBox* c :
             {chkLocalSkyEtichetteCostellazioni, chkLocalSkyEtichettePianeti, chkLocalSkyEtichetteSoleLuna})
            ve->addWidget(c);
        lblLocalSkyProiezione = lbl(f, "lblLocalSkyProiezione");
        cmbLocalSkyProiezione = cmb(f, "cmbLocalSkyProiezione");
        lblLocalSkyCoordinateMouse = lbl(f, "lblLocalSkyCoordinateMouse");
        cmbLocalSkyCoordinate = cmb(f, "cmbLocalSkyCoordinate");
        lblLocalSkyMagnitudine = lbl(f, "lblLocalSkyMagnitudine");
        cmbLocalSkyMagnitudine = cmb(f, "cmbLocalSkyMagnitudine");
        g->addWidget(chkLocalSkyGriglia, 0, 0, 1, 2);
        g->addWidget(fraLocalSkyOggetti, 1, 0);
        g->addWidget(fraLocalSkyEtichette, 1, 1);
        g->addWidget(lblLocalSkyProiezione, 2, 0);
        g->addWidget(cmbLocalSkyProiezione, 2, 1);
        g->addWidget(lblLocalSkyCoordinateMouse, 3, 0);
        g->addWidget(cmbLocalSkyCoordinate, 3, 1);
        g->addWidget(lblLocalSkyMagnitudine, 4, 0);
        g->addWidget(cmbLocalSkyMagnitudine, 4, 1);
        g->setRowStretch(5, 1);

        QFrame* f2 = frames[4];
        auto* g2 = new QGridLayout(f2);
        lblLocalSkyTipoGriglia = lbl(f2, "lblLocalSkyTipoGriglia");
        cmbLocalSkyTipoGriglia = cmb(f2, "cmbLocalSkyTipoGriglia");
        chkLocalSkyGriglia10 = chk(f2, "chkLocalSkyGriglia10");
        lblLocalSkyOrientamento = lbl(f2, "lblLocalSkyOrientamento");
        cmbLocalSkyOrientamento = cmb(f2, "cmbLocalSkyOrientamento");
        chkLocalSkyOrizzonte = chk(f2, "chkLocalSkyOrizzonte");
        chkLocalSkyPaesaggio = chk(f2, "chkLocalSkyPaesaggio");
        chkLocalSkyRiquadroDati = chk(f2, "chkLocalSkyRiquadroDati");
        g2->addWidget(lblLocalSkyTipoGriglia, 0, 0);
        g2->addWidget(cmbLocalSkyTipoGriglia, 0, 1);
        g2->addWidget(chkLocalSkyGriglia10, 1, 0, 1, 2);
        g2->addWidget(lblLocalSkyOrientamento, 2, 0);
        g2->addWidget(cmbLocalSkyOrientamento, 2, 1);
        g2->addWidget(chkLocalSkyOrizzonte, 3, 0, 1, 2);
        g2->addWidget(chkLocalSkyPaesaggio, 4, 0, 1, 2);
        g2->addWidget(chkLocalSkyRiquadroDati, 5, 0, 1, 2);
        g2->setRowStretch(6, 1);
    }
    // page 5
    {
        QFrame* f = frames[5];
        auto* g = new QGridLayout(f);
        chkGeneralSkyGriglia = chk(f, "chkGeneralSkyGriglia");
        fraGeneralSkyOggetti = crea<QGroupBox>(f, QStringLiteral("fraGeneralSkyOggetti"));
        fraGeneralSkyEtichette = crea<QGroupBox>(f, QStringLiteral("fraGeneralSkyEtichette"));
        auto* vo = new QVBoxLayout(fraGeneralSkyOggetti);
        chkGeneralSkyOggettiCostellazioni = chk(fraGeneralSkyOggetti, "chkGeneralSkyOggettiCostellazioni");
        chkGeneralSkyOggettiPianeti = chk(fraGeneralSkyOggetti, "chkGeneralSkyOggettiPianeti");
        chkGeneralSkyOggettiSoleLuna = chk(fraGeneralSkyOggetti, "chkGeneralSkyOggettiSoleLuna");
        for (QCheckBox* c :
             {chkGeneralSkyOggettiCostellazioni, chkGeneralSkyOggettiPianeti, chkGeneralSkyOggettiSoleLuna})
            vo->addWidget(c);
        auto* ve = new QVBoxLayout(fraGeneralSkyEtichette);
        chkGeneralSkyEtichetteCostellazioni = chk(fraGeneralSkyEtichette, "chkGeneralSkyEtichetteCostellazioni");
        chkGeneralSkyEtichettePianeti = chk(fraGeneralSkyEtichette, "chkGeneralSkyEtichettePianeti");
        chkGeneralSkyEtichetteSoleLuna = chk(fraGeneralSkyEtichette, "chkGeneralSkyEtichetteSoleLuna");
        for (QCheckBox* c :
             {chkGeneralSkyEtichetteCostellazioni, chkGeneralSkyEtichettePianeti, chkGeneralSkyEtichetteSoleLuna})
            ve->addWidget(c);
        lblGeneralSkyMagnitudine = lbl(f, "lblGeneralSkyMagnitudine");
        cmbGeneralSkyMagnitudine = cmb(f, "cmbGeneralSkyMagnitudine");
        g->addWidget(chkGeneralSkyGriglia, 0, 0, 1, 2);
        g->addWidget(fraGeneralSkyOggetti, 1, 0);
        g->addWidget(fraGeneralSkyEtichette, 1, 1);
        g->addWidget(lblGeneralSkyMagnitudine, 2, 0);
        g->addWidget(cmbGeneralSkyMagnitudine, 2, 1);
        g->setRowStretch(3, 1);
    }
    // pages 6 and 7
    {
        QFrame* f = frames[6];
        auto* g = new QGridLayout(f);
        chkSkySatGriglia = chk(f, "chkSkySatGriglia");
        fraSkySatOggetti = crea<QGroupBox>(f, QStringLiteral("fraSkySatOggetti"));
        fraSkySatEtichette = crea<QGroupBox>(f, QStringLiteral("fraSkySatEtichette"));
        auto* vo = new QVBoxLayout(fraSkySatOggetti);
        chkSkySatOggettiCostellazioni = chk(fraSkySatOggetti, "chkSkySatOggettiCostellazioni");
        chkSkySatOggettiPianeti = chk(fraSkySatOggetti, "chkSkySatOggettiPianeti");
        chkSkySatOggettiSoleLuna = chk(fraSkySatOggetti, "chkSkySatOggettiSoleLuna");
        for (QCheckBox* c : {chkSkySatOggettiCostellazioni, chkSkySatOggettiPianeti, chkSkySatOggettiSoleLuna})
            vo->addWidget(c);
        auto* ve = new QVBoxLayout(fraSkySatEtichette);
        chkSkySatEtichetteCostellazioni = chk(fraSkySatEtichette, "chkSkySatEtichetteCostellazioni");
        chkSkySatEtichettePianeti = chk(fraSkySatEtichette, "chkSkySatEtichettePianeti");
        chkSkySatEtichetteSoleLuna = chk(fraSkySatEtichette, "chkSkySatEtichetteSoleLuna");
        for (QCheckBox* c : {chkSkySatEtichetteCostellazioni, chkSkySatEtichettePianeti, chkSkySatEtichetteSoleLuna})
            ve->addWidget(c);
        lblSkySatProiezione = lbl(f, "lblSkySatProiezione");
        cmbSkySatProiezione = cmb(f, "cmbSkySatProiezione");
        lblSkySatOrientamento = lbl(f, "lblSkySatOrientamento");
        cmbSkySatOrientamento = cmb(f, "cmbSkySatOrientamento");
        lblSkySatMagnitudine = lbl(f, "lblSkySatMagnitudine");
        cmbSkySatMagnitudine = cmb(f, "cmbSkySatMagnitudine");
        g->addWidget(chkSkySatGriglia, 0, 0, 1, 2);
        g->addWidget(fraSkySatOggetti, 1, 0);
        g->addWidget(fraSkySatEtichette, 1, 1);
        g->addWidget(lblSkySatProiezione, 2, 0);
        g->addWidget(cmbSkySatProiezione, 2, 1);
        g->addWidget(lblSkySatOrientamento, 3, 0);
        g->addWidget(cmbSkySatOrientamento, 3, 1);
        g->addWidget(lblSkySatMagnitudine, 4, 0);
        g->addWidget(cmbSkySatMagnitudine, 4, 1);
        g->setRowStretch(5, 1);

        QFrame* f2 = frames[7];
        auto* g2 = new QGridLayout(f2);
        lblSkySatTipoGriglia = lbl(f2, "lblSkySatTipoGriglia");
        cmbSkySatTipoGriglia = cmb(f2, "cmbSkySatTipoGriglia");
        chkSkySatGriglia10 = chk(f2, "chkSkySatGriglia10");
        chkSkySatOrizzonte = chk(f2, "chkSkySatOrizzonte");
        chkSkySatPaesaggio = chk(f2, "chkSkySatPaesaggio");
        g2->addWidget(lblSkySatTipoGriglia, 0, 0);
        g2->addWidget(cmbSkySatTipoGriglia, 0, 1);
        g2->addWidget(chkSkySatGriglia10, 1, 0, 1, 2);
        g2->addWidget(chkSkySatOrizzonte, 2, 0, 1, 2);
        g2->addWidget(chkSkySatPaesaggio, 3, 0, 1, 2);
        g2->setRowStretch(4, 1);
    }
    // page 8: the filter groups, three frames at one place under a tab strip
    {
        QFrame* f = frames[8];
        tabFiltri = crea<QTabBar>(f, QStringLiteral("tabFiltri"));
        for (int i = 0; i < 3; ++i)
            tabFiltri->addTab(QString());
        tabFiltri->move(vb::TwipsToPixels(120), vb::TwipsToPixels(400));
        static const char* const kNomi[3] = {"fraTutti", "fraPrincipale", "fraSecondari"};
        chkTransito = nullptr;
        for (int g = 0; g < 3; ++g) {
            QFrame* fr = crea<QFrame>(f, QLatin1String(kNomi[g]));
            fraFiltro[size_t(g)] = fr;
            fr->setAutoFillBackground(true);
            auto* gl = new QGridLayout(fr);
            const QString n = QString::number(g);
            chkAM[g] = crea<QCheckBox>(fr, QStringLiteral("chkAM_") + n);
            chkPM[g] = crea<QCheckBox>(fr, QStringLiteral("chkPM_") + n);
            chkSoloVisibili[g] = crea<QCheckBox>(fr, QStringLiteral("chkSoloVisibili_") + n);
            gl->addWidget(chkAM[g], 0, 0);
            gl->addWidget(chkPM[g], 0, 1);
            gl->addWidget(chkSoloVisibili[g], 0, 2);
            if (g == 0) {
                chkTransito = crea<QCheckBox>(fr, QStringLiteral("chkTransito"));
                gl->addWidget(chkTransito, 1, 0, 1, 4);
            }
            lblAltezza[g] = crea<QLabel>(fr, QStringLiteral("lblAltezza_") + n);
            rtAltsat[g] = crea<RangeTool>(fr, QStringLiteral("rtAltsat_") + n);
            rtAltsat[g]->setMin(0);
            rtAltsat[g]->setMax(90);
            lblAltmin[g] = crea<QLabel>(fr, QStringLiteral("lblAltmin_") + n);
            lblAltmax[g] = crea<QLabel>(fr, QStringLiteral("lblAltmax_") + n);
            lblAltmin[g]->setText(QStringLiteral("0°"));
            lblAltmax[g]->setAlignment(Qt::AlignRight);
            gl->addWidget(lblAltezza[g], 2, 0, 1, 4);
            gl->addWidget(rtAltsat[g], 3, 0, 1, 4);
            gl->addWidget(lblAltmin[g], 4, 0);
            gl->addWidget(lblAltmax[g], 4, 3);
            lblAzimuth[g] = crea<QLabel>(fr, QStringLiteral("lblAzimuth_") + n);
            rtAzisat[g] = crea<RangeTool>(fr, QStringLiteral("rtAzisat_") + n);
            rtAzisat[g]->setMin(0);
            rtAzisat[g]->setMax(360);
            lblAzmin[g] = crea<QLabel>(fr, QStringLiteral("lblAzmin_") + n);
            lblAzmax[g] = crea<QLabel>(fr, QStringLiteral("lblAzmax_") + n);
            lblAzmin[g]->setText(QStringLiteral("0°"));
            lblAzmax[g]->setText(QStringLiteral("360°"));
            lblAzmax[g]->setAlignment(Qt::AlignRight);
            gl->addWidget(lblAzimuth[g], 5, 0, 1, 4);
            gl->addWidget(rtAzisat[g], 6, 0, 1, 4);
            gl->addWidget(new Bussola(fr), 7, 0, 1, 4);
            gl->addWidget(lblAzmin[g], 8, 0);
            gl->addWidget(lblAzmax[g], 8, 3);
            // A group shorter than the frames they share keeps its rows as
            // they are; the room left stays below them.
            gl->setRowStretch(9, 1);
            // The upper end of the elevation range is always the zenith.
            rtAltsat[g]->setUpperValue(90);
            rtAltsat[g]->setUpperLocked(true);
            connect(rtAltsat[g], &RangeTool::Change, this, [this, g] { Aggiorna_altezza(g); });
            connect(rtAltsat[g], &RangeTool::Scroll, this, [this, g] { Aggiorna_altezza(g); });
            connect(rtAzisat[g], &RangeTool::Change, this, [this, g] { Aggiorna_azimuth(g); });
            connect(rtAzisat[g], &RangeTool::Scroll, this, [this, g] { Aggiorna_azimuth(g); });
            // Plain panels: the frames are the pages of the tab strip.
            fr->setFrameShape(QFrame::NoFrame);
        }
        const QRect posto = Posto_filtri(fraFiltro);
        for (QFrame* fr : fraFiltro)
            fr->setGeometry(posto);
        f->setMinimumSize(posto.right() + vb::TwipsToPixels(120), posto.bottom() + vb::TwipsToPixels(120));
        connect(tabFiltri, &QTabBar::currentChanged, this, [this](int i) { tabFiltri_Click(i + 1); });
    }
    // pages 9 and 12: the lists
    auto paginaLista = [&](QFrame* f, QTreeWidget*& lista, const char* nomeLista,
                           std::array<GraphButton**, 4> bottoni, std::array<const char*, 4> nomi) {
        auto* h = new QHBoxLayout(f);
        lista = crea<QTreeWidget>(f, QLatin1String(nomeLista));
        lista->setMinimumWidth(vb::TwipsToPixels(3800 + 400 + 400));
        h->addWidget(lista, 1);
        auto* v = new QVBoxLayout;
        for (int i = 0; i < 4; ++i) {
            *bottoni[size_t(i)] = pulsante(f, nomi[size_t(i)]);
            v->addWidget(*bottoni[size_t(i)]);
        }
        v->addStretch();
        h->addLayout(v);
    };
    paginaLista(frames[9], lvwServerNTP, "lvwServerNTP",
                {&cmdServerRipristina, &cmdServerElimina, &cmdServerSu, &cmdServerGiu},
                {"cmdServerRipristina", "cmdServerElimina", "cmdServerSu", "cmdServerGiu"});
    paginaLista(frames[12], lvwDownload, "lvwDownload",
                {&cmdDownloadRipristina, &cmdDownloadElimina, &cmdDownloadSu, &cmdDownloadGiu},
                {"cmdDownloadRipristina", "cmdDownloadElimina", "cmdDownloadSu", "cmdDownloadGiu"});
    connect(cmdServerRipristina, &GraphButton::Click, this, &frmSettings::cmdServerRipristina_Click);
    connect(cmdServerElimina, &GraphButton::Click, this, &frmSettings::cmdServerElimina_Click);
    connect(cmdServerSu, &GraphButton::Click, this, &frmSettings::cmdServerSu_Click);
    connect(cmdServerGiu, &GraphButton::Click, this, &frmSettings::cmdServerGiu_Click);
    connect(cmdDownloadRipristina, &GraphButton::Click, this, &frmSettings::cmdDownloadRipristina_Click);
    connect(cmdDownloadElimina, &GraphButton::Click, this, &frmSettings::cmdDownloadElimina_Click);
    connect(cmdDownloadSu, &GraphButton::Click, this, &frmSettings::cmdDownloadSu_Click);
    connect(cmdDownloadGiu, &GraphButton::Click, this, &frmSettings::cmdDownloadGiu_Click);

    // pages 10 and 11: colours
    auto riga = [this](QGridLayout* g, int r, QWidget* p, QLabel*& area, const char* nomeArea, QLabel*& cap,
                       const char* nomeCap) {
        area = crea<QLabel>(p, QLatin1String(nomeArea));
        area->setFixedSize(60, 20);
        area->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        area->setAutoFillBackground(true);
        area->setCursor(Qt::PointingHandCursor);
        area->installEventFilter(this);
        cap = crea<QLabel>(p, QLatin1String(nomeCap));
        g->addWidget(area, r, 0);
        g->addWidget(cap, r, 1);
    };
    {
        QFrame* f = frames[10];
        auto* v = new QVBoxLayout(f);
        auto* g = new QGridLayout;
        riga(g, 0, f, lblAreaColoreSatellite, "lblAreaColoreSatellite", lblColoreSatellite, "lblColoreSatellite");
        riga(g, 1, f, lblAreaColoreOrbitaPrecedente, "lblAreaColoreOrbitaPrecedente", lblColoreOrbitaPrecedente,
             "lblColoreOrbitaPrecedente");
        riga(g, 2, f, lblAreaColoreOrbitaCorrente, "lblAreaColoreOrbitaCorrente", lblColoreOrbitaCorrente,
             "lblColoreOrbitaCorrente");
        riga(g, 3, f, lblAreaColoreNomeCitta, "lblAreaColoreNomeCitta", lblColoreNomeCitta, "lblColoreNomeCitta");
        riga(g, 4, f, lblAreaColoreGrigliaMappamondo, "lblAreaColoreGrigliaMappamondo", lblColoreGrigliaMappamondo,
             "lblColoreGrigliaMappamondo");
        riga(g, 5, f, lblAreaColoreGrigliaGenerale, "lblAreaColoreGrigliaGenerale", lblColoreGrigliaCieloGenerale,
             "lblColoreGrigliaCieloGenerale");
        g->setColumnStretch(1, 1);
        fraColoriGrigliaCieloLocale = crea<QGroupBox>(f, QStringLiteral("fraColoriGrigliaCieloLocale"));
        auto* gl = new QGridLayout(fraColoriGrigliaCieloLocale);
        QWidget* p = fraColoriGrigliaCieloLocale;
        riga(gl, 0, p, lblAreaColoreGrigliaLocale1, "lblAreaColoreGrigliaLocale1", lblColoreGrigliaLocale1,
             "lblColoreGrigliaLocale1");
        riga(gl, 1, p, lblAreaColoreGrigliaLocale2, "lblAreaColoreGrigliaLocale2", lblColoreGrigliaLocale2,
             "lblColoreGrigliaLocale2");
        riga(gl, 2, p, lblAreaColoreGrigliaLocale3, "lblAreaColoreGrigliaLocale3", lblColoreGrigliaLocale3,
             "lblColoreGrigliaLocale3");
        riga(gl, 3, p, lblAreaColoreGrigliaLocale4, "lblAreaColoreGrigliaLocale4", lblColoreGrigliaLocale4,
             "lblColoreGrigliaLocale4");
        gl->setColumnStretch(1, 1);
        v->addLayout(g);
        v->addWidget(fraColoriGrigliaCieloLocale);
        cmdRipristinaColori1 = pulsante(f, "cmdRipristinaColori1");
        auto* h = new QHBoxLayout;
        h->addStretch();
        h->addWidget(cmdRipristinaColori1);
        v->addLayout(h);
        v->addStretch();
    }
    {
        QFrame* f = frames[11];
        auto* v = new QVBoxLayout(f);
        auto* g = new QGridLayout;
        riga(g, 0, f, lblAreaColoreCostellazioni, "lblAreaColoreCostellazioni", lblColoreCostellazioni,
             "lblColoreCostellazioni");
        riga(g, 1, f, lblAreaColoreEtichetteCostellazioni, "lblAreaColoreEtichetteCostellazioni",
             lblColoreEtichetteCostellazioni, "lblColoreEtichetteCostellazioni");
        g->setColumnStretch(1, 1);
        v->addLayout(g);
        cmdRipristinaColori2 = pulsante(f, "cmdRipristinaColori2");
        auto* h = new QHBoxLayout;
        h->addStretch();
        h->addWidget(cmdRipristinaColori2);
        v->addLayout(h);
        v->addStretch();
    }
    connect(cmdRipristinaColori1, &GraphButton::Click, this, &frmSettings::cmdRipristinaColori1_Click);
    connect(cmdRipristinaColori2, &GraphButton::Click, this, &frmSettings::cmdRipristinaColori2_Click);

    // page 13
    {
        QFrame* f = frames[13];
        auto* g = new QGridLayout(f);
        lblEseguiPercorso = crea<QLabel>(f, QStringLiteral("lblEseguiPercorso"));
        txtEseguiProgramma = crea<QLineEdit>(f, QStringLiteral("txtEseguiProgramma"));
        cmdEseguiProgramma = crea<GraphButton>(f, QStringLiteral("cmdEseguiProgramma"));
        cmdEseguiProgramma->setFixedSize(30, 24);
        lblEseguiParametri = crea<QLabel>(f, QStringLiteral("lblEseguiParametri"));
        txtEseguiParametri = crea<QLineEdit>(f, QStringLiteral("txtEseguiParametri"));
        cmdEseguiElimina = pulsante(f, "cmdEseguiElimina");
        g->addWidget(lblEseguiPercorso, 0, 0, 1, 2);
        g->addWidget(txtEseguiProgramma, 1, 0);
        g->addWidget(cmdEseguiProgramma, 1, 1);
        g->addWidget(lblEseguiParametri, 2, 0, 1, 2);
        g->addWidget(txtEseguiParametri, 3, 0);
        auto* h = new QHBoxLayout;
        h->addStretch();
        h->addWidget(cmdEseguiElimina);
        g->addLayout(h, 4, 0, 1, 2);
        g->setRowStretch(5, 1);
        connect(cmdEseguiProgramma, &GraphButton::Click, this, &frmSettings::cmdEseguiProgramma_Click);
        connect(cmdEseguiElimina, &GraphButton::Click, this, &frmSettings::cmdEseguiElimina_Click);
    }

    connect(cmbLocalSkyTipoGriglia, &QComboBox::currentIndexChanged, this, &frmSettings::cmbLocalSkyTipoGriglia_Click);
    connect(cmbSkySatTipoGriglia, &QComboBox::currentIndexChanged, this, &frmSettings::cmbSkySatTipoGriglia_Click);

    cmdOK = pulsante(this, "cmdOK");
    cmdCancel = pulsante(this, "cmdCancel");
    cmdSave = pulsante(this, "cmdSave");
    connect(cmdOK, &GraphButton::Click, this, &frmSettings::cmdOK_Click);
    connect(cmdCancel, &GraphButton::Click, this, &frmSettings::cmdCancel_Click);
    connect(cmdSave, &GraphButton::Click, this, &frmSettings::cmdSave_Click);

    SSTab1->setMinimumWidth(vb::TwipsToPixels(9600));
    auto* tutto = new QVBoxLayout(this);
    tutto->addWidget(SSTab1Schede);
    tutto->addWidget(SSTab1, 1);
    auto* basso = new QHBoxLayout;
    basso->addWidget(cmdSave);
    basso->addStretch();
    basso->addWidget(cmdOK);
    basso->addWidget(cmdCancel);
    tutto->addLayout(basso);
    // Tab ends on the three buttons in the order they stand.
    setTabOrder(cmdSave, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
}

// ---------------------------------------------------------------- colours

quint32 frmSettings::Colore(const QLabel* label)
{
    return label->property("Colore").toUInt();
}

void frmSettings::Imposta_colore(QLabel* label, quint32 colour)
{
    label->setProperty("Colore", colour);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, vb::toQColor(colour));
    label->setPalette(p);
}

void frmSettings::Scegli_colore(QLabel* label)
{
    platform::FileChooser* files = platform::services().files;
    if (!files || !label)
        return;
    const std::optional<quint32> scelto = files->chooseColor(Colore(label), this);
    if (scelto)
        Imposta_colore(label, *scelto);
}

bool frmSettings::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* label = qobject_cast<QLabel*>(watched);
        if (label && label->objectName().startsWith(QLatin1String("lblAreaColore")) &&
            label->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
            Scegli_colore(label);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmSettings::cmdRipristinaColori1_Click()
{
    Imposta_colore(lblAreaColoreSatellite, RGBc(255, 255, 0));
    Imposta_colore(lblAreaColoreOrbitaPrecedente, RGBc(255, 0, 0));
    Imposta_colore(lblAreaColoreOrbitaCorrente, RGBc(0, 255, 0));
    Imposta_colore(lblAreaColoreNomeCitta, RGBc(255, 255, 255));
    Imposta_colore(lblAreaColoreGrigliaMappamondo, RGBc(130, 130, 130));
    Imposta_colore(lblAreaColoreGrigliaGenerale, RGBc(100, 100, 100));
    Imposta_colore(lblAreaColoreGrigliaLocale1, RGBc(140, 140, 140));
    Imposta_colore(lblAreaColoreGrigliaLocale2, RGBc(120, 120, 120));
    Imposta_colore(lblAreaColoreGrigliaLocale3, RGBc(120, 120, 120));
    Imposta_colore(lblAreaColoreGrigliaLocale4, RGBc(100, 100, 100));
}

void frmSettings::cmdRipristinaColori2_Click()
{
    Imposta_colore(lblAreaColoreEtichetteCostellazioni, RGBc(255, 0, 0));
    Imposta_colore(lblAreaColoreCostellazioni, RGBc(0, 164, 164));
}

// ---------------------------------------------------------------- filters

void frmSettings::tabFiltri_Click(int index)
{
    if (index < 1 || index > 3)
        return;
    // The texts of the language may have widened a group since the frames
    // were placed: all three take the place again. Only the group in front
    // is shown, so that the keyboard never reaches a control behind it.
    const QRect posto = Posto_filtri(fraFiltro);
    QFrame* f = fraFiltro[size_t(index - 1)];
    for (QFrame* altro : fraFiltro) {
        altro->setGeometry(posto);
        altro->setVisible(altro == f);
    }
    f->raise();
}

void frmSettings::Aggiorna_altezza(int g)
{
    lblAltmin[g]->setText(vb::Format(double(rtAltsat[g]->LowerValue()), u"#0°"));
}

void frmSettings::Aggiorna_azimuth(int g)
{
    lblAzmin[g]->setText(vb::Format(double(rtAzisat[g]->LowerValue()), u"##0°"));
    lblAzmax[g]->setText(vb::Format(double(rtAzisat[g]->UpperValue()), u"##0°"));
}

void frmSettings::cmbLocalSkyTipoGriglia_Click()
{
    chkLocalSkyGriglia10->setEnabled(cmbLocalSkyTipoGriglia->currentIndex() == 1);
}

void frmSettings::cmbSkySatTipoGriglia_Click()
{
    chkSkySatGriglia10->setEnabled(cmbSkySatTipoGriglia->currentIndex() == 1);
}

// ---------------------------------------------------------------- external program

void frmSettings::cmdEseguiProgramma_Click()
{
    QApplication::processEvents();
    platform::FileChooser* files = platform::services().files;
    if (!files)
        return;
    platform::FileDialogRequest r;
    r.title = mLang::Testo_Lingua(QStringLiteral("Dialogs"), QStringLiteral("esegui"));
    r.fileName = txtEseguiProgramma->text().trimmed();
    r.filter = mLang::Testo_Lingua(kSezione, QStringLiteral("filtroprogrammi"));
    r.filterIndex = 1;
    const std::optional<QString> scelto = files->openFile(r, this);
    if (!scelto)
        return;
    const QFileInfo info(*scelto);
    if (!info.exists())
        return;
    if (info.size() == 0)
        txtEseguiProgramma->clear();
    else
        txtEseguiProgramma->setText(info.absoluteFilePath());
}

void frmSettings::cmdEseguiElimina_Click()
{
    txtEseguiProgramma->clear();
    txtEseguiParametri->clear();
}

// ---------------------------------------------------------------- the two lists

QStringList frmSettings::Server_predefiniti()
{
    QStringList out;
    for (int i = 0; i < 10; ++i)
        out << Default_Impostazione(QStringLiteral("ServerNTP"), QStringLiteral("Server%1").arg(i));
    return out;
}

QStringList frmSettings::Voci_download_predefinite()
{
    // The settings' own built-in entries, in their order, so that restoring
    // gives the list of a first start.
    QStringList out;
    for (int i = 0; i < 31; ++i)
        out << Default_Impostazione(QStringLiteral("Download"), QStringLiteral("Remoto%1").arg(i));
    return out;
}

void frmSettings::cmdServerRipristina_Click()
{
    Scrivi_testi(lvwServerNTP, Server_predefiniti());
}

void frmSettings::cmdServerElimina_Click()
{
    Scrivi_testi(lvwServerNTP, QStringList());
}

void frmSettings::cmdDownloadRipristina_Click()
{
    Scrivi_testi(lvwDownload, Voci_download_predefinite());
}

void frmSettings::cmdDownloadElimina_Click()
{
    Scrivi_testi(lvwDownload, QStringList());
}

void frmSettings::Sposta_riga(QTreeWidget* lista, bool su, const char* chiaveMessaggio)
{
    const int n = lista->topLevelItemCount();
    const int sel = Riga_selezionata(lista);
    if (sel == 0) {
        platform::MsgBox(mLang::Testo_Lingua(kSezione, QLatin1String(chiaveMessaggio)), platform::vbInformation);
        return;
    }
    if ((su && sel == 1) || (!su && sel == n))
        return;
    QStringList testi = Testi_lista(lista);
    const int a = su ? sel - 2 : sel - 1;
    testi.swapItemsAt(a, a + 1);
    Scrivi_testi(lista, testi);
    Seleziona_riga(lista, su ? sel - 1 : sel + 1);
    lista->setFocus();
}

void frmSettings::cmdServerSu_Click()
{
    Sposta_riga(lvwServerNTP, true, "selezionareserver");
}

void frmSettings::cmdServerGiu_Click()
{
    Sposta_riga(lvwServerNTP, false, "selezionareserver");
}

void frmSettings::cmdDownloadSu_Click()
{
    Sposta_riga(lvwDownload, true, "selezionarefile");
}

void frmSettings::cmdDownloadGiu_Click()
{
    Sposta_riga(lvwDownload, false, "selezionarefile");
}
