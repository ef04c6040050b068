#include "tables/almanac.h"
#include "common/help.h"

#include "common/moon_phase.h"
#include "controls/graph_button.h"
#include "core/clock.h"
#include "core/globals_time.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "common/window_host.h"
#include "platform/canvas_widget.h"
#include "controls/date_picker.h"
#include "platform/help_service.h"
#include "platform/services.h"
#include "platform/vb.h"

#include <QDateTimeEdit>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QString kSezione = QStringLiteral("frmRiseSet");
constexpr int kContestoAiuto = 200;
constexpr double kLatoFigura = 495.0;   // twips
constexpr std::uint32_t kBlu = vb::RGB(0, 0, 255);

QPointer<frmRiseSet> g_almanacco;

QString L(const char* chiave)
{
    return mLang::Testo_Lingua(kSezione, QString::fromLatin1(chiave));
}

// The Sun's picture: a yellow disc with eight rays.
QImage Figura_Sole(int lato)
{
    QImage img(lato, lato, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(lato / 2.0, lato / 2.0);
    const double r = lato * 0.24;
    p.setPen(QPen(QColor(230, 150, 0), std::max(1.0, lato / 16.0), Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4.0;
        p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * (r * 1.35),
                   c + QPointF(std::cos(a), std::sin(a)) * (lato * 0.47));
    }
    p.setPen(QPen(QColor(230, 150, 0), 1));
    p.setBrush(QColor(255, 220, 0));
    p.drawEllipse(c, r, r);
    return img;
}

platform::CanvasWidget* nuovaFigura(QWidget* padre, const char* nome)
{
    auto* w = new platform::CanvasWidget(padre);
    w->setObjectName(QString::fromLatin1(nome));
    const int lato = vb::TwipsToPixels(kLatoFigura);
    w->setFixedSize(lato, lato);
    w->canvas().resize(QSize(lato, lato));
    return w;
}

QLabel* cella(QWidget* padre, const char* nome, bool blu)
{
    auto* l = new QLabel(padre);
    l->setObjectName(QString::fromLatin1(nome));
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (blu) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, vb::toQColor(kBlu));
        l->setPalette(p);
    }
    return l;
}

} // namespace

frmRiseSet::frmRiseSet(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmRiseSet"));
    setAttribute(Qt::WA_DeleteOnClose);

    // The date between the four step buttons.
    fraData = new QFrame(this);
    fraData->setObjectName(QStringLiteral("fraData"));
    fraData->setFrameShape(QFrame::StyledPanel);
    cmdMesePrima = new GraphButton(QStringLiteral("|<-"), fraData);
    cmdGiornoPrima = new GraphButton(QStringLiteral("<--"), fraData);
    DTPicker1 = new DateTimePicker(fraData);
    cmdGiornoDopo = new GraphButton(QStringLiteral("-->"), fraData);
    cmdMeseDopo = new GraphButton(QStringLiteral("->|"), fraData);
    DTPicker1->setObjectName(QStringLiteral("DTPicker1"));
    DTPicker1->setDisplayFormat(QStringLiteral(" ddd dd MMM yyyy"));
    DTPicker1->setCalendarPopup(true);
    DTPicker1->setLocale(vb::displayLocale());
    DTPicker1->setTimeSpec(Qt::UTC);
    DTPicker1->setDateRange(QDate(1601, 1, 1), QDate(9999, 12, 30));
    DTPicker1->setMinimumWidth(150);
    auto* data = new QHBoxLayout(fraData);
    const std::pair<GraphButton*, const char*> passi[] = {{cmdMesePrima, "cmdMesePrima"},
                                                          {cmdGiornoPrima, "cmdGiornoPrima"},
                                                          {cmdGiornoDopo, "cmdGiornoDopo"},
                                                          {cmdMeseDopo, "cmdMeseDopo"}};
    for (const auto& [b, n] : passi) {
        b->setObjectName(QString::fromLatin1(n));
        b->setMinimumSize(40, 26);
    }
    data->addWidget(cmdMesePrima);
    data->addWidget(cmdGiornoPrima);
    data->addWidget(DTPicker1, 1);
    data->addWidget(cmdGiornoDopo);
    data->addWidget(cmdMeseDopo);

    // The four rows: Sun above the rule, Moon below it. The time cell spans
    // the azimuth columns so that a status text can read across them.
    auto* righe = new QGridLayout;
    righe->setHorizontalSpacing(10);
    picSole = nuovaFigura(this, "picSole");
    picLuna = nuovaFigura(this, "picLuna");
    lblSole = cella(this, "lblSole", false);
    lblLuna = cella(this, "lblLuna", false);
    for (QLabel* l : {lblSole, lblLuna})
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    for (int i = 0; i < 2; ++i) {
        lblSorge[size_t(i)] = cella(this, "lblSorge", false);
        lblTramonta[size_t(i)] = cella(this, "lblTramonta", false);
    }
    for (int i = 0; i < 4; ++i)
        lblAzimuth[size_t(i)] = cella(this, "lblAzimuth", false);
    lblSunRise = cella(this, "lblSunRise", true);
    lblSunRiseAz = cella(this, "lblSunRiseAz", true);
    lblSunSet = cella(this, "lblSunSet", true);
    lblSunSetAz = cella(this, "lblSunSetAz", true);
    lblMoonRise = cella(this, "lblMoonRise", true);
    lblMoonRiseAz = cella(this, "lblMoonRiseAz", true);
    lblMoonSet = cella(this, "lblMoonSet", true);
    lblMoonSetAz = cella(this, "lblMoonSetAz", true);
    const int larghezzaOra = fontMetrics().horizontalAdvance(QStringLiteral("00:00")) + 16;
    righe->setColumnMinimumWidth(2, larghezzaOra);
    righe->setColumnMinimumWidth(4, fontMetrics().horizontalAdvance(QStringLiteral("000.0°")) + 8);

    auto figura = [&](platform::CanvasWidget* pic, QLabel* nome, int r) {
        auto* v = new QVBoxLayout;
        v->setSpacing(2);
        v->addWidget(pic, 0, Qt::AlignHCenter);
        v->addWidget(nome);
        righe->addLayout(v, r, 0, 2, 1);
    };
    auto riga = [&](int r, QLabel* evento, QLabel* ora, QLabel* intestazione, QLabel* azimuth) {
        righe->addWidget(evento, r, 1);
        righe->addWidget(ora, r, 2, 1, 3);
        righe->addWidget(intestazione, r, 3);
        righe->addWidget(azimuth, r, 4);
    };
    figura(picSole, lblSole, 0);
    riga(0, lblSorge[0], lblSunRise, lblAzimuth[0], lblSunRiseAz);
    riga(1, lblTramonta[0], lblSunSet, lblAzimuth[1], lblSunSetAz);
    auto* separatore = new QFrame(this);
    separatore->setObjectName(QStringLiteral("Line1"));
    separatore->setFrameShape(QFrame::HLine);
    separatore->setFrameShadow(QFrame::Sunken);
    righe->addWidget(separatore, 2, 0, 1, 5);
    figura(picLuna, lblLuna, 3);
    riga(3, lblSorge[1], lblMoonRise, lblAzimuth[2], lblMoonRiseAz);
    riga(4, lblTramonta[1], lblMoonSet, lblAzimuth[3], lblMoonSetAz);
    righe->setColumnStretch(5, 1);

    cmdOK = new GraphButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdHelp = new GraphButton(this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    for (GraphButton* b : {cmdOK, cmdHelp})
        b->setMinimumSize(90, 26);
    cmdOK->setCancel(true);
    // The keys start on the date, where typing or the arrows change what the
    // window shows, and Return there is OK, as in the Date window (the first
    // button would turn the month back).
    DTPicker1->setFocus();
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    pulsanti->addWidget(cmdOK);
    pulsanti->addWidget(cmdHelp);

    auto* l = new QVBoxLayout(this);
    l->addWidget(fraData);
    l->addSpacing(6);
    l->addLayout(righe);
    l->addStretch(1);
    l->addLayout(pulsanti);
    l->setSizeConstraint(QLayout::SetMinimumSize);

    connect(cmdMesePrima, &GraphButton::Click, this, &frmRiseSet::cmdMesePrima_Click);
    connect(cmdMeseDopo, &GraphButton::Click, this, &frmRiseSet::cmdMeseDopo_Click);
    connect(cmdGiornoPrima, &GraphButton::Click, this, &frmRiseSet::cmdGiornoPrima_Click);
    connect(cmdGiornoDopo, &GraphButton::Click, this, &frmRiseSet::cmdGiornoDopo_Click);
    connect(cmdOK, &GraphButton::Click, this, &frmRiseSet::cmdOK_Click);
    connect(cmdHelp, &GraphButton::Click, this, &frmRiseSet::cmdHelp_Click);
    connect(DTPicker1, &QDateTimeEdit::dateChanged, this, [this](const QDate& d) {
        if (m_impostando || !d.isValid())
            return;
        m_valore = core::Data_Orologio(d, m_valore.time());
        DTPicker1_Change();
    });

    // Form_Load: texts, the Sun's picture, the program clock's date and time.
    Lingua();
    picSole->canvas().setPicture(Figura_Sole(vb::TwipsToPixels(kLatoFigura)));
    QDateTime inizio = gdatDataCorrente.isValid() ? gdatDataCorrente
                                                  : core::CentralClock::instance().timeSource().adesso();
    setValore(inizio);
    Aggiorna_dati();
}

frmRiseSet::~frmRiseSet() = default;

frmRiseSet* frmRiseSet::instance()
{
    return g_almanacco;
}

frmRiseSet* frmRiseSet::Mostra()
{
    if (!g_almanacco)
        g_almanacco = new frmRiseSet;
    common::Mostra_Figlia(g_almanacco);
    return g_almanacco;
}

void frmRiseSet::Lingua()
{
    setWindowTitle(L("almanacco"));
    lblSole->setText(mLang::Testo_Lingua(QStringLiteral("Planets"), QStringLiteral("sole")));
    lblLuna->setText(mLang::Testo_Lingua(QStringLiteral("Planets"), QStringLiteral("luna")));
    for (QLabel* s : lblSorge)
        s->setText(L("sorge"));
    for (QLabel* t : lblTramonta)
        t->setText(L("tramonta"));
    for (QLabel* a : lblAzimuth)
        a->setText(L("azimuth"));
    cmdMesePrima->setToolTip(L("meseprima"));
    cmdMeseDopo->setToolTip(L("mesedopo"));
    cmdGiornoPrima->setToolTip(L("giornoprima"));
    cmdGiornoDopo->setToolTip(L("giornodopo"));
    cmdOK->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("ok")));
    cmdHelp->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("help")));
}

void frmRiseSet::setValore(const QDateTime& v)
{
    if (!v.isValid())
        return;
    QDate d = v.date();
    if (d < DTPicker1->minimumDate())
        d = DTPicker1->minimumDate();
    if (d > DTPicker1->maximumDate())
        d = DTPicker1->maximumDate();
    m_valore = core::Data_Orologio(d, v.time());
    const QScopedValueRollback<bool> guardia(m_impostando, true);
    DTPicker1->setDate(d);
}

void frmRiseSet::Mostra_riga(QLabel* ora, QLabel* azimuth, QLabel* intestazione, const QString& testoOra,
                             const QString& testoAzimuth, const QString& stato)
{
    if (!testoAzimuth.isEmpty()) {
        ora->setText(testoOra);
        azimuth->setText(testoAzimuth + QStringLiteral("°"));
        return;
    }
    // No event: the status reads across the azimuth column.
    ora->setText(stato);
    ora->raise();
    azimuth->lower();
    azimuth->setText(testoAzimuth);
    intestazione->setVisible(false);
}

void frmRiseSet::Aggiorna_dati()
{
    for (QLabel* a : lblAzimuth)
        a->setVisible(true);
    const double latitudine = gsngLatitudine;
    const double longitudine = gsngLongitudine;
    double zona = -(double(gbytOraLegale) + double(gsngFusoOrario));
    QString sorge, tramonta, azSorge, azTramonta, stato;
    mAstro::Calcola_Sorgere_Tramonto_Sole(latitudine, longitudine, zona, m_valore, sorge, tramonta, azSorge,
                                          azTramonta, stato);
    Mostra_riga(lblSunRise, lblSunRiseAz, lblAzimuth[0], sorge, azSorge, stato);
    Mostra_riga(lblSunSet, lblSunSetAz, lblAzimuth[1], tramonta, azTramonta, stato);

    sorge.clear();
    tramonta.clear();
    azSorge.clear();
    azTramonta.clear();
    stato.clear();
    zona = -(double(gbytOraLegale) + double(gsngFusoOrario));
    mAstro::Calcola_Sorgere_Tramonto_Luna(latitudine, longitudine, zona, m_valore, sorge, tramonta, azSorge,
                                          azTramonta, stato);
    Mostra_riga(lblMoonRise, lblMoonRiseAz, lblAzimuth[2], sorge, azSorge, stato);
    Mostra_riga(lblMoonSet, lblMoonSetAz, lblAzimuth[3], tramonta, azTramonta, stato);

    Disegna_luna(*picLuna, m_valore);
}

void frmRiseSet::Disegna_luna(platform::CanvasWidget& picture, const QDateTime& data)
{
    if (!mAstro::Aggiorna_Tempo(data))
        return;
    mAstro::Calcola_Sole();
    mAstro::Calcola_Luna();
    common::Disegna_Fase_Riquadro(picture.canvas(), gudtCorpi[size_t(mAstro::kLuna)].Fase);
    picture.Refresh();
    // The shared time state and the Sun and Moon rows back on the program
    // clock, so that no other window (a stopped clock does not tick) draws
    // the sky at the almanac's instant.
    if (gdatDataCorrente.isValid() && mAstro::Aggiorna_Tempo(gdatDataCorrente)) {
        mAstro::Calcola_Sole();
        mAstro::Calcola_Luna();
    }
}

void frmRiseSet::cmdMesePrima_Click()
{
    // addMonths keeps the day, or takes the month's last day when the
    // target month is shorter (31 March back gives 28 or 29 February).
    setValore(m_valore.addMonths(-1));
    Aggiorna_dati();
}

void frmRiseSet::cmdMeseDopo_Click()
{
    setValore(m_valore.addMonths(1));
    Aggiorna_dati();
}

void frmRiseSet::cmdGiornoPrima_Click()
{
    setValore(m_valore.addDays(-1));
    Aggiorna_dati();
}

void frmRiseSet::cmdGiornoDopo_Click()
{
    setValore(m_valore.addDays(1));
    Aggiorna_dati();
}

void frmRiseSet::DTPicker1_Change()
{
    Aggiorna_dati();
}

void frmRiseSet::chiudi()
{
    common::Chiudi_Figlia(this);
}

void frmRiseSet::cmdOK_Click()
{
    chiudi();
}

void frmRiseSet::cmdHelp_Click()
{
    Mostra_Aiuto(kContestoAiuto, this);
}
