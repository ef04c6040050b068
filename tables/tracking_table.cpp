#include "tables/tracking_table.h"
#include "common/help.h"

#include "controls/graph_button.h"
#include "core/data_files.h"
#include "core/globals_orbit.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "common/window_host.h"
#include "platform/help_service.h"
#include "platform/services.h"
#include "platform/vb.h"
#include "tables/channel_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

#include <climits>
#include <cmath>

namespace {

const QString kSezione = QStringLiteral("frmTrack");
constexpr int kContestoAiuto = 190;
constexpr double kVelocitaLuce = 299792.0;   // km/s
constexpr double kGradiRadianti = 0.0174532925;
constexpr std::uint32_t kRosso = vb::RGB(255, 0, 0);
constexpr std::uint32_t kBlu = vb::RGB(0, 0, 255);

QPointer<frmTrack> g_track;

QString L(const char* chiave)
{
    return mLang::Testo_Lingua(kSezione, QString::fromLatin1(chiave));
}

// A column of the table: its heading label, the heading's section and key
// (the tool tip has the same key in "ToolTips"), the value labels' name.
struct ColonnaTabella {
    const char* intestazione;
    const char* sezione;
    const char* chiave;
    const char* valori;
    frmTrack::Colonna frmTrack::*etichette;
};

// The four tabs, in order, and their columns.
const std::vector<std::vector<ColonnaTabella>>& schede()
{
    static const std::vector<std::vector<ColonnaTabella>> s = {
        {{"lblAltezza", "Def", "alt", "lblAlt", &frmTrack::lblAlt},
         {"lblAzimuth", "Def", "az", "lblAz", &frmTrack::lblAz},
         {"lblAscensioneRetta", "Def", "ar", "lblRa", &frmTrack::lblRa},
         {"lblDeclinazione", "Def", "dec", "lblDec", &frmTrack::lblDec},
         {"lblStato", "def", "stato", "lblEcl", &frmTrack::lblEcl},
         {"lblMagnitudine", "Def", "mag", "lblMag", &frmTrack::lblMag}},
        {{"lblLatitudine", "Def", "lat", "lblLat", &frmTrack::lblLat},
         {"lblLongitudine", "Def", "lon", "lblLon", &frmTrack::lblLon},
         {"lblQuota", "Def", "hgt", "lblHgtTrack", &frmTrack::lblHgtTrack},
         {"lblApogeo", "Def", "apg", "lblApg", &frmTrack::lblApg},
         {"lblPerigeo", "Def", "prg", "lblPrg", &frmTrack::lblPrg}},
        {{"lblPeriodo", "Def", "prd", "lblPrd", &frmTrack::lblPrd},
         {"lblVelocita", "Def", "vel", "lblVel", &frmTrack::lblVel},
         {"lblOrbita", "Def", "orb", "lblRev", &frmTrack::lblRev},
         {"lblDistanza", "Def", "dist", "lblRange", &frmTrack::lblRange},
         {"lblVarDistanza", "Def", "var", "lblRR", &frmTrack::lblRR}},
        {{"lblDownlink", "frmTrack", "downlink", "lblDnlink", &frmTrack::lblDnlink},
         {"lblRicezione", "frmTrack", "ricezione", "lblRicez", &frmTrack::lblRicez},
         {"lblUplinkIntest", "frmTrack", "uplink", "lblUplink", &frmTrack::lblUplink},
         {"lblTrasmissione", "frmTrack", "trasmissione", "lblTrasm", &frmTrack::lblTrasm}},
    };
    return s;
}

void colora(QLabel* l, std::uint32_t colore)
{
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, vb::toQColor(colore));
    l->setPalette(p);
}

// A frequency text as the table shows it: "000.0000", "0" when empty.
QString frequenza(const std::string& testo)
{
    if (testo.empty())
        return QStringLiteral("0");
    return vb::Format(QString::fromStdString(testo), u"000.0000");
}

QString frequenzaCorretta(const std::string& testo, double fattore)
{
    if (testo.empty())
        return QStringLiteral("0");
    return vb::Format(vb::Val(std::string_view(testo)) * fattore, u"000.0000");
}

// The channel a button's Tag holds: the nearest whole number; 0, and any
// number outside 1 to 10 (only an edited setting gives one), read as 1.
int canaleDa(const QString& tag)
{
    const double v = vb::Val(tag);
    if (!std::isfinite(v) || std::fabs(v) > 32767.0)
        return 1;
    const int c = vb::CInt(v);
    return (c < 1 || c > kCanaliRadio) ? 1 : c;
}

// The same catalogue number: the same text, or the same whole number
// ("00694" and "694"), as the element-set parser matches them.
bool stessoCatalogo(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    const std::optional<double> x = vb::StrictValue(a);
    const std::optional<double> y = vb::StrictValue(b);
    return x && y && *x == *y && std::floor(*x) == *x;
}

} // namespace

frmTrack::frmTrack(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmTrack"));
    setAttribute(Qt::WA_DeleteOnClose);

    const int altezzaRiga = fontMetrics().height() + 8;
    auto nuovaEtichetta = [&](QWidget* padre, const QString& nome, Qt::Alignment a) {
        auto* l = new QLabel(padre);
        l->setObjectName(nome);
        l->setTextFormat(Qt::PlainText);
        l->setFixedHeight(altezzaRiga);
        l->setAlignment(a | Qt::AlignVCenter);
        return l;
    };
    auto nuovaCornice = [&](const char* nome) {
        auto* f = new QFrame(this);
        f->setObjectName(QString::fromLatin1(nome));
        auto* g = new QGridLayout(f);
        g->setContentsMargins(6, 4, 6, 4);
        g->setVerticalSpacing(2);
        g->setHorizontalSpacing(12);
        return f;
    };

    // The names, beside every tab.
    fraSatelliti = nuovaCornice("fraSatelliti");
    {
        auto* g = static_cast<QGridLayout*>(fraSatelliti->layout());
        g->addWidget(nuovaEtichetta(fraSatelliti, QStringLiteral("lblNomeSatellite"), Qt::AlignLeft), 0, 0);
        for (int r = 0; r < kRighe; ++r) {
            lblName[r] = nuovaEtichetta(fraSatelliti, QStringLiteral("lblName"), Qt::AlignLeft);
            lblName[r]->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 16);
            g->addWidget(lblName[r], r + 1, 0);
        }
    }

    SSTab1 = new QTabBar(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    m_pagine = new QStackedWidget(this);
    QFrame* pagine[] = {fraOsserva = nuovaCornice("fraOsserva"), fraOrbita1 = nuovaCornice("fraOrbita1"),
                        fraOrbita2 = nuovaCornice("fraOrbita2"), fraRadio = nuovaCornice("fraRadio")};
    for (int t = 0; t < 4; ++t) {
        SSTab1->addTab(QString());
        QFrame* f = pagine[t];
        auto* g = static_cast<QGridLayout*>(f->layout());
        int c = 0;
        for (const ColonnaTabella& col : schede()[size_t(t)]) {
            g->addWidget(nuovaEtichetta(f, QString::fromLatin1(col.intestazione), Qt::AlignRight), 0, c);
            for (int r = 0; r < kRighe; ++r) {
                QLabel* l = nuovaEtichetta(f, QString::fromLatin1(col.valori), Qt::AlignRight);
                (this->*col.etichette)[r] = l;
                g->addWidget(l, r + 1, c);
            }
            ++c;
        }
        if (f == fraRadio) {
            g->addWidget(nuovaEtichetta(f, QStringLiteral("lblCanale"), Qt::AlignHCenter), 0, c);
            for (int r = 0; r < kRighe; ++r) {
                auto* b = new GraphButton(f);
                b->setObjectName(QStringLiteral("cmdCanale"));
                b->setFixedHeight(altezzaRiga);
                b->setMinimumWidth(64);
                cmdCanale[r] = b;
                g->addWidget(b, r + 1, c);
                connect(b, &GraphButton::Click, this, [this, r] { cmdCanale_Click(r); });
            }
        }
        g->setRowStretch(kRighe + 1, 1);
        g->setColumnStretch(c + 1, 1);
        m_pagine->addWidget(f);
    }
    static_cast<QGridLayout*>(fraSatelliti->layout())->setRowStretch(kRighe + 1, 1);
    connect(SSTab1, &QTabBar::currentChanged, m_pagine, &QStackedWidget::setCurrentIndex);

    auto* corpo = new QFrame(this);
    corpo->setFrameShape(QFrame::StyledPanel);
    auto* righe = new QHBoxLayout(corpo);
    righe->setContentsMargins(4, 4, 4, 4);
    righe->addWidget(fraSatelliti);
    righe->addWidget(m_pagine, 1);

    Frame3 = new QFrame(this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    auto* barra = new QHBoxLayout(Frame3);
    barra->setContentsMargins(0, 0, 0, 0);
    cmdPrimo = new GraphButton(QStringLiteral("|<"), Frame3);
    cmdPrecedente = new GraphButton(QStringLiteral("<"), Frame3);
    lblSatellite = new QLabel(Frame3);
    lblSatellite->setTextFormat(Qt::PlainText);
    lblSatellite->setAlignment(Qt::AlignCenter);
    lblSatellite->setMinimumWidth(160);
    cmdSuccessivo = new GraphButton(QStringLiteral(">"), Frame3);
    cmdUltimo = new GraphButton(QStringLiteral(">|"), Frame3);
    cmdOK = new GraphButton(this);
    cmdHelp = new GraphButton(this);
    const std::pair<QWidget*, const char*> nomi[] = {
        {cmdPrimo, "cmdPrimo"}, {cmdPrecedente, "cmdPrecedente"}, {lblSatellite, "lblSatellite"},
        {cmdSuccessivo, "cmdSuccessivo"}, {cmdUltimo, "cmdUltimo"}, {cmdOK, "cmdOK"}, {cmdHelp, "cmdHelp"}};
    for (const auto& [w, n] : nomi)
        w->setObjectName(QString::fromLatin1(n));
    for (GraphButton* b : {cmdPrimo, cmdPrecedente, cmdSuccessivo, cmdUltimo})
        b->setMinimumSize(40, 26);
    for (GraphButton* b : {cmdOK, cmdHelp})
        b->setMinimumSize(90, 26);
    cmdOK->setCancel(true);
    barra->addWidget(cmdPrimo);
    barra->addWidget(cmdPrecedente);
    barra->addWidget(lblSatellite);
    barra->addWidget(cmdSuccessivo);
    barra->addWidget(cmdUltimo);
    auto* fondo = new QHBoxLayout;
    fondo->addWidget(Frame3);
    fondo->addStretch(1);
    fondo->addWidget(cmdOK);
    fondo->addWidget(cmdHelp);

    auto* principale = new QVBoxLayout(this);
    principale->setSpacing(0);
    principale->addWidget(SSTab1);
    principale->addWidget(corpo, 1);
    principale->addSpacing(8);
    principale->addLayout(fondo);

    connect(cmdPrimo, &GraphButton::Click, this, &frmTrack::cmdPrimo_Click);
    connect(cmdPrecedente, &GraphButton::Click, this, &frmTrack::cmdPrecedente_Click);
    connect(cmdSuccessivo, &GraphButton::Click, this, &frmTrack::cmdSuccessivo_Click);
    connect(cmdUltimo, &GraphButton::Click, this, &frmTrack::cmdUltimo_Click);
    connect(cmdOK, &GraphButton::Click, this, &frmTrack::cmdOK_Click);
    connect(cmdHelp, &GraphButton::Click, this, &frmTrack::cmdHelp_Click);

    Form_Load();
    core::clockViews().track = this;
}

frmTrack::~frmTrack()
{
    if (core::clockViews().track == this)
        core::clockViews().track = nullptr;
}

frmTrack* frmTrack::instance()
{
    return g_track;
}

frmTrack* frmTrack::Mostra()
{
    if (!g_track)
        g_track = new frmTrack;
    common::Mostra_Figlia(g_track);
    return g_track;
}

void frmTrack::Form_Load()
{
    Lingua();
    // Plain frames: the tab's panel is their border.
    for (QFrame* f : {fraSatelliti, fraOsserva, fraOrbita1, fraOrbita2, fraRadio, Frame3})
        f->setFrameShape(QFrame::NoFrame);
    mintPrimo = 1;
    for (QWidget* w : std::initializer_list<QWidget*>{cmdOK, cmdHelp, fraSatelliti, Frame3})
        w->raise();
    for (int r = 0; r < kRighe; ++r) {
        const QString t = QString::number(gintCanale[size_t(r)]);
        setCanale(r, t, QStringLiteral("Ch. ") + t);
    }
    Aggiorna_dati();
    SSTab1->setCurrentIndex(0);
}

void frmTrack::Lingua()
{
    setWindowTitle(L("effemeridisatelliti"));
    const char* const titoli[] = {"tabparametriosservativi", "tabparametriorbitali1", "tabparametriorbitali2",
                                  "tabfrequenzeradio"};
    for (int t = 0; t < 4; ++t)
        SSTab1->setTabText(t, L(titoli[t]));
    auto intesta = [&](const char* nome, const QString& sezione, const QString& chiave) {
        if (auto* l = findChild<QLabel*>(QString::fromLatin1(nome))) {
            l->setText(mLang::Testo_Lingua(sezione, chiave));
            l->setToolTip(mLang::Testo_Lingua(QStringLiteral("ToolTips"), chiave));
        }
    };
    intesta("lblNomeSatellite", kSezione, QStringLiteral("nomesatellite"));
    for (const auto& scheda : schede())
        for (const ColonnaTabella& c : scheda)
            intesta(c.intestazione, QString::fromLatin1(c.sezione), QString::fromLatin1(c.chiave));
    intesta("lblCanale", kSezione, QStringLiteral("canale"));
    cmdPrimo->setToolTip(L("primo"));
    cmdPrecedente->setToolTip(L("precedente"));
    cmdSuccessivo->setToolTip(L("successivo"));
    cmdUltimo->setToolTip(L("ultimo"));
    cmdOK->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("ok")));
    cmdHelp->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("help")));
}

QString frmTrack::canaleTag(int r) const
{
    return cmdCanale[size_t(r)]->property("Tag").toString();
}

void frmTrack::setCanale(int r, const QString& tag, const QString& caption)
{
    cmdCanale[size_t(r)]->setProperty("Tag", tag);
    cmdCanale[size_t(r)]->setCaption(caption);
}

void frmTrack::Aggiorna_dati()
{
    if (mintPrimo < 1)
        mintPrimo = 1;
    if (mintPrimo > kPrimoMassimo)
        mintPrimo = kPrimoMassimo;
    for (int r = 0; r < kRighe; ++r) {
        const size_t s = size_t(mintPrimo + r);
        const Valori& v = gudtValori[s];
        const Satelement& e = gudtSatelementi[s];

        lblName[r]->setText(vb::displayable(QString::fromStdString(gudtRigheAttive[s].Riga0)));
        colora(lblName[r], v.Altezza < 0 ? kRosso : kBlu);
        lblAlt[r]->setText(vb::Format(v.Altezza, u"00.00°"));
        lblAz[r]->setText(vb::Format(v.Azimuth, u"#00.00°"));
        if (Elementi_Presenti(e)) {
            double ore = 0, minuti = 0, secondi = 0, gradi = 0, primi = 0;
            QString segno;
            mAstro::Orizzontali_Equatoriali(v.Azimuth * kGradiRadianti, v.Altezza * kGradiRadianti, ore, minuti,
                                            secondi, gradi, primi, segno);
            lblRa[r]->setText(vb::Format(ore, u"#0") + QLatin1Char('h') + vb::Format(minuti, u"00")
                              + QLatin1Char('m') + vb::Format(secondi, u"00") + QLatin1Char('s'));
            lblDec[r]->setText(segno + vb::Format(gradi, u"00") + QStringLiteral("°") + vb::Format(primi, u"00")
                               + QLatin1Char('\''));
        } else {
            lblRa[r]->setText(QStringLiteral("0"));
            lblDec[r]->setText(QStringLiteral("0"));
        }
        lblEcl[r]->setText(core::Stato2Stringa(v.Stato));
        if (v.Altezza < 0 || v.Stato == StatoEclisse)
            lblMag[r]->setText(QStringLiteral("*"));
        else if (v.Magnitudine.isNumber())
            lblMag[r]->setText(vb::Format(v.Magnitudine.valore, u"#0.0"));
        else
            lblMag[r]->setText(QString::fromStdString(v.Magnitudine.testo()));
        lblLat[r]->setText(vb::Format(v.LatitudineAssoluta, u"#0.00°") + QString::fromStdString(v.EmisferoNS));
        lblLon[r]->setText(vb::Format(v.LongitudineAssoluta, u"##0.00°") + QString::fromStdString(v.EmisferoEW));
        lblHgtTrack[r]->setText(vb::Format(v.Quota, u"#####0.0"));
        lblApg[r]->setText(vb::Format(v.Apogeo, u"#####0.0"));
        lblPrg[r]->setText(vb::Format(v.Perigeo, u"#####0.0"));

        const double p = std::isfinite(v.Periodo) ? v.Periodo : 0.0;
        const double h = std::floor(p / 3600.0);
        const double m = std::floor((p - 3600.0 * h) / 60.0);
        const double sec = std::floor(p - 3600.0 * h - 60.0 * m);
        lblPrd[r]->setText(vb::Format(h, u"00") + QLatin1Char(':') + vb::Format(m, u"00") + QLatin1Char(':')
                           + vb::Format(sec, u"00"));
        lblVel[r]->setText(vb::Format(v.Velocita, u"##0.0"));
        lblRev[r]->setText(vb::Format(v.NumeroOrbita, u"#####0.0"));
        lblRange[r]->setText(vb::Format(v.Distanza, u"#####0.0"));
        lblRR[r]->setText(vb::Format(v.VelocitaRadiale, u"#0.0"));

        const int ch = canaleDa(canaleTag(r));
        const std::string& giu = e.FrequenzaDiscesa[size_t(ch)];
        const std::string& su = e.FrequenzaSalita[size_t(ch)];
        const double rr = v.VelocitaRadiale;
        lblDnlink[r]->setText(frequenza(giu));
        lblRicez[r]->setText(frequenzaCorretta(giu, 1.0 - rr / kVelocitaLuce));
        lblUplink[r]->setText(frequenza(su));
        lblTrasm[r]->setText(frequenzaCorretta(su, 1.0 + rr / kVelocitaLuce));
    }
    lblSatellite->setText(L("satelliti") + QStringLiteral(":  ") + QString::number(mintPrimo) + QStringLiteral(" - ")
                          + QString::number(mintPrimo + 9));
}

void frmTrack::Assegna_frequenze()
{
    const size_t n = gudtFrequenze.size();
    for (size_t i = 1; i < n; ++i) {
        const RigaDati& riga = gudtFrequenze[i];
        int j = 0;
        for (int k = 1; k <= gintNumSatelliti && k <= kMaxSatelliti; ++k) {
            if (stessoCatalogo(gudtSatelementi[size_t(k)].NumeroCatalogo, riga.Riga0)) {
                j = k;
                break;
            }
        }
        if (j == 0)
            continue;
        Satelement& e = gudtSatelementi[size_t(j)];
        for (size_t k = 1; k <= size_t(kCanaliRadio); ++k) {
            if (e.FrequenzaDiscesa[k].empty() && e.FrequenzaSalita[k].empty()) {
                e.FrequenzaSalita[k] = riga.Riga1;
                e.FrequenzaDiscesa[k] = riga.Riga2;
                break;
            }
        }
    }
}

void frmTrack::cmdCanale_Click(int index)
{
    if (index < 0 || index >= kRighe)
        return;
    // The Tag as a whole number as it stands (0 selects no line).
    const double v = vb::Val(canaleTag(index));
    const int canale = (std::isfinite(v) && std::fabs(v) <= 32767.0) ? vb::CInt(v) : 0;
    if (frmChannel* scelta = frmChannel::Mostra(index, mintPrimo + index, canale))
        connect(scelta, &frmChannel::canaleScelto, this, &frmTrack::Canale_Scelto, Qt::UniqueConnection);
}

void frmTrack::Canale_Scelto(int riga, int canale)
{
    if (riga < 0 || riga >= kRighe)
        return;
    const QString t = QString::number(canale);
    setCanale(riga, t, QStringLiteral("Ch.") + t);
    Aggiorna_dati();
}

void frmTrack::cmdPrimo_Click()
{
    mintPrimo = 1;
    Aggiorna_dati();
}

void frmTrack::cmdPrecedente_Click()
{
    if (mintPrimo > 1) {
        --mintPrimo;
        Aggiorna_dati();
    }
}

void frmTrack::cmdSuccessivo_Click()
{
    if (mintPrimo < kPrimoMassimo) {
        ++mintPrimo;
        Aggiorna_dati();
    }
}

void frmTrack::cmdUltimo_Click()
{
    mintPrimo = gintNumSatelliti < kPrimoMassimo ? gintNumSatelliti - 9 : kPrimoMassimo;
    if (mintPrimo < 1)
        mintPrimo = 1;
    Aggiorna_dati();
}

void frmTrack::chiudi()
{
    common::Chiudi_Figlia(this);
}

void frmTrack::cmdOK_Click()
{
    chiudi();
}

void frmTrack::cmdHelp_Click()
{
    Mostra_Aiuto(kContestoAiuto, this);
}
