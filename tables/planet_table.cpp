#include "tables/planet_table.h"
#include "common/help.h"

#include "controls/graph_button.h"
#include "core/globals_time.h"
#include "core/mlang.h"
#include "common/window_host.h"
#include "platform/help_service.h"
#include "platform/services.h"
#include "platform/vb.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPointer>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QString kSezione = QStringLiteral("frmPlanets");
constexpr int kContestoAiuto = 180;
constexpr double kVelocitaLuce = 299792.0;   // km/s
constexpr float kOreLuceUA = 0.1386f;        // hours light takes for one AU
constexpr std::uint32_t kRosso = vb::RGB(255, 0, 0);
constexpr std::uint32_t kBlu = vb::RGB(0, 0, 255);

QPointer<frmPlanets> g_pianeti;

const char* const kNomi[frmPlanets::kLinee] = {"lblMercurio", "lblVenere", "lblMarte", "lblGiove", "lblSaturno",
                                               "lblUrano",    "lblNettuno", "lblSole", "lblLuna"};
const char* const kChiaviNomi[frmPlanets::kLinee] = {"mercurio", "venere", "marte", "giove", "saturno",
                                                     "urano",    "nettuno", "sole",  "luna"};

// Heading label, its section and key (the tool tip has the key in "ToolTips").
struct Intestazione {
    const char* nome;
    const char* sezione;
    const char* chiave;
};
const Intestazione kIntestazioni[] = {
    {"lblPianeta", "frmPlanets", "pianeta"},   {"lblAltezza", "Def", "alt"},
    {"lblAzimuth", "Def", "az"},               {"lblAscensioneRetta", "Def", "ar"},
    {"lblDeclinazione", "Def", "dec"},         {"lblMagnitudine", "Def", "mag"},
    {"lblDistaUA", "frmPlanets", "distua"},    {"lblDistaLuce", "frmPlanets", "distluce"},
    {"lblDistaKm", "frmPlanets", "distkm"},
};

void colora(QLabel* l, std::uint32_t colore)
{
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, vb::toQColor(colore));
    l->setPalette(p);
}

// Minutes and seconds shown with the seconds rounded to the whole second; a
// rounding up to 60 seconds is carried into the minutes (and the hours).
struct OreMinutiSecondi {
    float h, m, s;
};
OreMinutiSecondi riporta(float h, float m, float s)
{
    if (std::round(s) >= 60.0f) {
        s = 0.0f;
        m += 1.0f;
        if (m >= 60.0f) {
            m = 0.0f;
            h += 1.0f;
        }
    }
    return {h, m, s};
}

} // namespace

namespace tables {

QString Tempo_Luce_Pianeta(double ua)
{
    const float t = float(ua) * kOreLuceUA;
    const float h0 = std::floor(t);
    const float mm = (t - h0) * 60.0f;
    const float m0 = std::floor(mm);
    const float s0 = (mm - m0) * 60.0f;
    const OreMinutiSecondi v = riporta(h0, m0, s0);
    if (v.h > 0)
        return vb::Format(v.h, u"0h") + vb::Format(v.m, u"00m") + vb::Format(v.s, u"00s");
    return vb::Format(v.m, u"#0m") + vb::Format(v.s, u"00s");
}

QString Tempo_Luce_Sole(double km)
{
    const float t = float(km / kVelocitaLuce);
    const float m0 = std::floor(t / 60.0f);
    const float s0 = t - m0 * 60.0f;
    const OreMinutiSecondi v = riporta(0.0f, m0, s0);
    return vb::Format(v.m + 60.0f * v.h, u"#0m") + vb::Format(v.s, u"00s");
}

QString Testo_AR(double ore)
{
    // h and m are kept in single precision; the difference is taken from
    // the right ascension as the table holds it.
    const float h = float(std::floor(ore));
    const float m = float(std::floor((ore - double(h)) * 60.0));
    return vb::Format(h, u"#0h") + vb::Format(m, u"00m");
}

QString Testo_Dec(double gradi)
{
    const float d = float(std::trunc(gradi));
    const float m = float(std::fabs(std::trunc((gradi - double(d)) * 60.0)));
    // The sign stands in front also when the whole degrees are 0.
    const QString segno = gradi < 0 ? QStringLiteral("-") : QString();
    return segno + vb::Format(std::fabs(d), u"#0°") + vb::Format(m, u"00'");
}

} // namespace tables

frmPlanets::frmPlanets(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmPlanets"));
    setAttribute(Qt::WA_DeleteOnClose);

    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    auto* g = new QGridLayout(Frame1);
    g->setHorizontalSpacing(16);
    g->setVerticalSpacing(3);

    auto etichetta = [&](const QString& nome, Qt::Alignment a = Qt::AlignRight) {
        auto* l = new QLabel(Frame1);
        l->setObjectName(nome);
        l->setTextFormat(Qt::PlainText);
        l->setAlignment(a | Qt::AlignVCenter);
        return l;
    };
    auto riga = [&](int r) {
        auto* linea = new QFrame(Frame1);
        linea->setObjectName(QStringLiteral("Line1"));
        linea->setFrameShape(QFrame::HLine);
        linea->setFrameShadow(QFrame::Sunken);
        g->addWidget(linea, r, 0, 1, 8);
    };

    // Heading, rule, seven planets, rule, the km heading, the Sun, the Moon.
    const int colonne[] = {0, 1, 2, 3, 4, 5, 6, 7};
    for (int c = 0; c < 8; ++c) {
        QLabel* l = etichetta(QString::fromLatin1(kIntestazioni[c].nome), c == 0 ? Qt::AlignLeft : Qt::AlignRight);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        g->addWidget(l, 0, colonne[c]);
    }
    riga(1);
    auto valori = [&](int i, int r) {
        g->addWidget(etichetta(QString::fromLatin1(kNomi[i]), Qt::AlignLeft), r, 0);
        lblAlt[size_t(i)] = etichetta(QStringLiteral("lblAlt"));
        lblAz[size_t(i)] = etichetta(QStringLiteral("lblAz"));
        lblRa[size_t(i)] = etichetta(QStringLiteral("lblRa"));
        lblDec[size_t(i)] = etichetta(QStringLiteral("lblDec"));
        lblLight[size_t(i)] = etichetta(QStringLiteral("lblLight"));
        g->addWidget(lblAlt[size_t(i)], r, 1);
        g->addWidget(lblAz[size_t(i)], r, 2);
        g->addWidget(lblRa[size_t(i)], r, 3);
        g->addWidget(lblDec[size_t(i)], r, 4);
        g->addWidget(lblLight[size_t(i)], r, 7);
    };
    for (int i = 0; i < kPianeti; ++i) {
        valori(i, i + 2);
        lblMag[size_t(i)] = etichetta(QStringLiteral("lblMag"));
        lblDist[size_t(i)] = etichetta(QStringLiteral("lblDist"));
        g->addWidget(lblMag[size_t(i)], i + 2, 5);
        g->addWidget(lblDist[size_t(i)], i + 2, 6);
    }
    riga(9);
    {
        QLabel* l = etichetta(QString::fromLatin1(kIntestazioni[8].nome));
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        g->addWidget(l, 10, 5, 1, 2);
    }
    valori(7, 11);
    valori(8, 12);
    lblDistSun = etichetta(QStringLiteral("lblDistSun"));
    lblDistMoon = etichetta(QStringLiteral("lblDistMoon"));
    g->addWidget(lblDistSun, 11, 5, 1, 2);
    g->addWidget(lblDistMoon, 12, 5, 1, 2);
    for (QLabel* l : {lblDistSun, lblDistMoon})
        l->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000,000,000")) + 4);

    cmdOK = new GraphButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdHelp = new GraphButton(this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    for (GraphButton* b : {cmdOK, cmdHelp})
        b->setMinimumSize(90, 26);
    cmdOK->setCancel(true);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    pulsanti->addWidget(cmdOK);
    pulsanti->addWidget(cmdHelp);
    auto* l = new QVBoxLayout(this);
    l->addWidget(Frame1);
    l->addLayout(pulsanti);
    l->setSizeConstraint(QLayout::SetMinimumSize);

    connect(cmdOK, &GraphButton::Click, this, &frmPlanets::cmdOK_Click);
    connect(cmdHelp, &GraphButton::Click, this, &frmPlanets::cmdHelp_Click);

    // Form_Load: texts, the frame without its sunken border, the figures at once.
    Lingua();
    Frame1->setFrameShadow(QFrame::Plain);
    Aggiorna_dati();
    core::clockViews().planets = this;
}

frmPlanets::~frmPlanets()
{
    if (core::clockViews().planets == this)
        core::clockViews().planets = nullptr;
}

frmPlanets* frmPlanets::instance()
{
    return g_pianeti;
}

frmPlanets* frmPlanets::Mostra()
{
    if (!g_pianeti)
        g_pianeti = new frmPlanets;
    // Normal state before it is shown.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(g_pianeti->parentWidget()))
        sub->showNormal();
    common::Mostra_Figlia(g_pianeti);
    return g_pianeti;
}

void frmPlanets::Lingua()
{
    setWindowTitle(mLang::Testo_Lingua(kSezione, QStringLiteral("effemeridipianeti")));
    for (int i = 0; i < kLinee; ++i)
        if (auto* l = findChild<QLabel*>(QString::fromLatin1(kNomi[i])))
            l->setText(mLang::Testo_Lingua(QStringLiteral("Planets"), QString::fromLatin1(kChiaviNomi[i])));
    for (const Intestazione& t : kIntestazioni) {
        if (auto* l = findChild<QLabel*>(QString::fromLatin1(t.nome))) {
            l->setText(mLang::Testo_Lingua(QString::fromLatin1(t.sezione), QString::fromLatin1(t.chiave)));
            if (qstrcmp(t.nome, "lblPianeta") != 0)
                l->setToolTip(mLang::Testo_Lingua(QStringLiteral("ToolTips"), QString::fromLatin1(t.chiave)));
        }
    }
    cmdOK->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("ok")));
    cmdHelp->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("help")));
}

void frmPlanets::Aggiorna_dati()
{
    for (int i = 0; i < kLinee; ++i) {
        const CorpoCeleste& c = gudtCorpi[size_t(i + 1)];
        colora(lblAlt[size_t(i)], c.Altezza < 0 ? kRosso : kBlu);
        lblAlt[size_t(i)]->setText(vb::Format(c.Altezza, u"#0.0°"));
        lblAz[size_t(i)]->setText(vb::Format(c.Azimuth, u"##0.0°"));
        lblRa[size_t(i)]->setText(tables::Testo_AR(c.AscensioneRetta));
        lblDec[size_t(i)]->setText(tables::Testo_Dec(c.Declinazione));
    }
    for (int i = 0; i < kPianeti; ++i) {
        const CorpoCeleste& c = gudtCorpi[size_t(i + 1)];
        lblDist[size_t(i)]->setText(vb::Format(c.Distanza, u"#0.0"));
        lblMag[size_t(i)]->setText(vb::Format(c.Magnitudine, u"0.0"));
        lblLight[size_t(i)]->setText(tables::Tempo_Luce_Pianeta(c.Distanza));
    }
    const CorpoCeleste& sole = gudtCorpi[size_t(mAstro::kSole)];
    lblLight[7]->setText(tables::Tempo_Luce_Sole(sole.Distanza));
    lblDistSun->setText(vb::Format(sole.Distanza, u"000,000,000"));
    const CorpoCeleste& luna = gudtCorpi[size_t(mAstro::kLuna)];
    lblLight[8]->setText(vb::Format(luna.Distanza / kVelocitaLuce, u"0.0s"));
    lblDistMoon->setText(vb::Format(luna.Distanza, u"000,000"));
}

void frmPlanets::chiudi()
{
    common::Chiudi_Figlia(this);
}

void frmPlanets::cmdOK_Click()
{
    chiudi();
}

void frmPlanets::cmdHelp_Click()
{
    Mostra_Aiuto(kContestoAiuto, this);
}
