#include "shell/time_window.h"
#include "common/help.h"

#include "common/window_host.h"
#include "controls/analog_clock.h"
#include "controls/graph_button.h"
#include "core/globals_time.h"
#include "core/mlang.h"
#include "controls/date_picker.h"
#include "platform/help_service.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/vb.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QString kSezione = QStringLiteral("frmTime");

std::function<void()>& sincronizzazione()
{
    static std::function<void()> azione;
    return azione;
}

QLabel* etichetta(QWidget* parent, const char* name, bool valore = false)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    if (valore) {
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setAlignment(Qt::AlignCenter);
        l->setMinimumWidth(110);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

GraphButton* pulsante(QWidget* parent, const char* name)
{
    auto* b = new GraphButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setMinimumWidth(80);
    return b;
}

} // namespace

void frmTime::setSincronizzazione(std::function<void()> azione)
{
    sincronizzazione() = std::move(azione);
}

frmTime::frmTime(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmTime"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    // Time: the two clock faces and the times of day.
    fraTempo1 = new QGroupBox(this);
    fraTempo1->setObjectName(QStringLiteral("fraTempo1"));
    for (int i = 0; i < 2; ++i) {
        AnalogClock1[i] = new AnalogClock(fraTempo1);
        AnalogClock1[i]->setObjectName(QStringLiteral("AnalogClock1_%1").arg(i));
        AnalogClock1[i]->setFixedSize(120, 120);
    }
    lblOraLocale = etichetta(fraTempo1, "lblOraLocale");
    lblOraGreenwich = etichetta(fraTempo1, "lblOraGreenwich");
    lblOraSideraleLocale = etichetta(fraTempo1, "lblOraSideraleLocale");
    lblOraSideraleGreenwich = etichetta(fraTempo1, "lblOraSideraleGreenwich");
    lblGiornoGiuliano = etichetta(fraTempo1, "lblGiornoGiuliano");
    lblLOCALTIME = etichetta(fraTempo1, "lblLOCALTIME", true);
    lblUTTIME = etichetta(fraTempo1, "lblUTTIME", true);
    lblLST = etichetta(fraTempo1, "lblLST", true);
    lblGST = etichetta(fraTempo1, "lblGST", true);
    lblJD = etichetta(fraTempo1, "lblJD", true);
    auto* g1 = new QGridLayout(fraTempo1);
    g1->addWidget(AnalogClock1[0], 0, 0, Qt::AlignCenter);
    g1->addWidget(AnalogClock1[1], 0, 1, Qt::AlignCenter);
    g1->addWidget(lblOraLocale, 1, 0);
    g1->addWidget(lblOraGreenwich, 1, 1);
    g1->addWidget(lblLOCALTIME, 2, 0);
    g1->addWidget(lblUTTIME, 2, 1);
    g1->addWidget(lblOraSideraleLocale, 3, 0);
    g1->addWidget(lblOraSideraleGreenwich, 3, 1);
    g1->addWidget(lblLST, 4, 0);
    g1->addWidget(lblGST, 4, 1);
    g1->addWidget(lblGiornoGiuliano, 5, 0, 1, 2);
    g1->addWidget(lblJD, 6, 0, 1, 2);

    // Date: the calendar dates and the days of the year.
    fraTempo2 = new QGroupBox(this);
    fraTempo2->setObjectName(QStringLiteral("fraTempo2"));
    lblDataLocale = etichetta(fraTempo2, "lblDataLocale");
    lblDataGreenwich = etichetta(fraTempo2, "lblDataGreenwich");
    lblGiornoAnno1 = etichetta(fraTempo2, "lblGiornoAnno1");
    lblGiornoAnno2 = etichetta(fraTempo2, "lblGiornoAnno2");
    lblLOCALDATE = etichetta(fraTempo2, "lblLOCALDATE", true);
    lblUTDATE = etichetta(fraTempo2, "lblUTDATE", true);
    lblLOCALYear = etichetta(fraTempo2, "lblLOCALYear", true);
    lblUTCYear = etichetta(fraTempo2, "lblUTCYear", true);
    auto* g2 = new QGridLayout(fraTempo2);
    g2->addWidget(lblDataLocale, 0, 0);
    g2->addWidget(lblDataGreenwich, 0, 1);
    g2->addWidget(lblLOCALDATE, 1, 0);
    g2->addWidget(lblUTDATE, 1, 1);
    g2->addWidget(lblGiornoAnno1, 2, 0);
    g2->addWidget(lblGiornoAnno2, 2, 1);
    g2->addWidget(lblLOCALYear, 3, 0);
    g2->addWidget(lblUTCYear, 3, 1);

    // Settings: the clock mode and the simulation.
    fraImpostazioni = new QGroupBox(this);
    fraImpostazioni->setObjectName(QStringLiteral("fraImpostazioni"));
    chkUsaOraPc = new QCheckBox(fraImpostazioni);
    chkUsaOraPc->setObjectName(QStringLiteral("chkUsaOraPc"));
    lblOraInizioSimulazione = etichetta(fraImpostazioni, "lblOraInizioSimulazione");
    DTPicker1 = new DateTimePicker(fraImpostazioni);
    DTPicker1->setObjectName(QStringLiteral("DTPicker1"));
    DTPicker1->setTimeSpec(Qt::UTC);
    DTPicker1->setDisplayFormat(QStringLiteral("dd/MM/yyyy  HH:mm:ss"));
    DTPicker1->setCalendarPopup(true);
    DTPicker1->setDateTimeRange(core::Data_Orologio(QDate(100, 1, 2), QTime(0, 0)),
                                core::Data_Orologio(QDate(9999, 12, 30), QTime(23, 59, 59)));
    cmdPlay = pulsante(fraImpostazioni, "cmdPlay");
    cmdStop = pulsante(fraImpostazioni, "cmdStop");
    lblStato = etichetta(fraImpostazioni, "lblStato", true);
    auto* g3 = new QGridLayout(fraImpostazioni);
    g3->addWidget(chkUsaOraPc, 0, 0, 1, 2);
    g3->addWidget(lblOraInizioSimulazione, 1, 0, 1, 2);
    g3->addWidget(DTPicker1, 2, 0, 1, 2);
    g3->addWidget(cmdPlay, 3, 0);
    g3->addWidget(cmdStop, 3, 1);
    g3->addWidget(lblStato, 4, 0, 1, 2);

    cmdSincronizza = pulsante(this, "cmdSincronizza");
    cmdHelp = pulsante(this, "cmdHelp");
    cmdOK = pulsante(this, "cmdOK");
    cmdOK->setDefault(true);

    auto* destra = new QVBoxLayout;
    destra->addWidget(fraTempo2);
    destra->addWidget(fraImpostazioni);
    auto* sopra = new QHBoxLayout;
    sopra->addWidget(fraTempo1);
    sopra->addLayout(destra);
    auto* sotto = new QHBoxLayout;
    sotto->addWidget(cmdSincronizza);
    sotto->addStretch();
    sotto->addWidget(cmdHelp);
    sotto->addWidget(cmdOK);
    auto* tutto = new QVBoxLayout(this);
    tutto->addLayout(sopra);
    tutto->addLayout(sotto);

    connect(chkUsaOraPc, &QCheckBox::clicked, this, &frmTime::chkUsaOraPc_Click);
    connect(cmdPlay, &GraphButton::Click, this, &frmTime::cmdPlay_Click);
    connect(cmdStop, &GraphButton::Click, this, &frmTime::cmdStop_Click);
    connect(DTPicker1, &QDateTimeEdit::dateTimeChanged, this, [this] {
        if (!m_aggiornando)
            DTPicker1_Change();
    });
    connect(cmdOK, &GraphButton::Click, this, &frmTime::cmdOK_Click);
    connect(cmdHelp, &GraphButton::Click, this, &frmTime::cmdHelp_Click);
    connect(cmdSincronizza, &GraphButton::Click, this, &frmTime::cmdSincronizza_Click);
    connect(&core::CentralClock::instance(), &core::CentralClock::modeChanged, this,
            &frmTime::mostraStato);

    // Form_Load: texts, the picker at the computer's time, the clock mode as
    // the program clock has it (real time when the program starts; a window
    // made again later, after a change of language or Close all, finds a
    // simulation where it was, and its picker shows the simulated instant).
    Lingua();
    {
        const QScopedValueRollback<bool> guard(m_aggiornando, true);
        DTPicker1->setDateTime(core::CentralClock::instance().timeSource().adesso());
    }
    mostraStato();
    core::clockViews().time = this;
}

frmTime::~frmTime()
{
    if (core::clockViews().time == this)
        core::clockViews().time = nullptr;
}

void frmTime::Lingua()
{
    setWindowTitle(mLang::Testo_Lingua(kSezione, "datatempo"));
    fraTempo1->setTitle(mLang::Testo_Lingua(kSezione, "tempo"));
    fraTempo2->setTitle(mLang::Testo_Lingua(kSezione, "data"));
    fraImpostazioni->setTitle(mLang::Testo_Lingua(kSezione, "impostazioni"));
    lblOraLocale->setText(mLang::Testo_Lingua(kSezione, "oralocale"));
    lblOraGreenwich->setText(mLang::Testo_Lingua(kSezione, "oragreenwich"));
    lblOraSideraleLocale->setText(mLang::Testo_Lingua(kSezione, "orasidlocale"));
    lblOraSideraleGreenwich->setText(mLang::Testo_Lingua(kSezione, "orasidgreenwich"));
    lblGiornoGiuliano->setText(mLang::Testo_Lingua(kSezione, "giornogiuliano"));
    lblDataLocale->setText(mLang::Testo_Lingua(kSezione, "datalocale"));
    lblDataGreenwich->setText(mLang::Testo_Lingua(kSezione, "datagreenwich"));
    lblGiornoAnno1->setText(mLang::Testo_Lingua(kSezione, "giornoanno"));
    lblGiornoAnno2->setText(mLang::Testo_Lingua(kSezione, "giornoanno"));
    lblOraInizioSimulazione->setText(mLang::Testo_Lingua(kSezione, "orainiziosimulazione"));
    chkUsaOraPc->setText(mLang::Testo_Lingua(kSezione, "usaorapc"));
    cmdStop->setCaption(mLang::Testo_Lingua(kSezione, "stop"));
    cmdStop->setToolTip(mLang::Testo_Lingua(kSezione, "arrestasimulazione"));
    cmdPlay->setCaption(mLang::Testo_Lingua(kSezione, "play"));
    cmdPlay->setToolTip(mLang::Testo_Lingua(kSezione, "attivasimulazione"));
    cmdSincronizza->setCaption(mLang::Testo_Lingua("Buttons", "sincronizza"));
    cmdOK->setCaption(mLang::Testo_Lingua("Buttons", "ok"));
    cmdHelp->setCaption(mLang::Testo_Lingua("Buttons", "help"));
    mostraStato();
}

void frmTime::mostraStato()
{
    const core::ClockMode mode = core::CentralClock::instance().mode();
    const bool reale = mode == core::ClockMode::RealTime;
    const bool ferma = mode == core::ClockMode::SimulationStopped;
    chkUsaOraPc->setChecked(reale);
    cmdPlay->setEnabled(ferma);
    cmdStop->setEnabled(mode == core::ClockMode::SimulationRunning);
    DTPicker1->setEnabled(ferma);
    lblOraInizioSimulazione->setEnabled(!reale);
    lblStato->setText(mLang::Testo_Lingua(
        kSezione, reale ? "temporeale" : (ferma ? "arresto" : "simulazione")));
    // Stopped, the picker holds the instant the clock has reached, so that
    // Play resumes the simulation where it stopped; running, it shows the
    // instant the simulation started from (also in a window made again
    // meanwhile, which would otherwise show the computer's time).
    const QDateTime inizio = core::CentralClock::instance().inizioSimulazione();
    const QDateTime mostrato = ferma ? gdatDataCorrente : (reale ? QDateTime() : inizio);
    if (mostrato.isValid() && DTPicker1->dateTime() != mostrato) {
        const QScopedValueRollback<bool> guard(m_aggiornando, true);
        DTPicker1->setDateTime(mostrato);
    }
    cmdSincronizza->setEnabled(bool(sincronizzazione()));
}

void frmTime::chkUsaOraPc_Click()
{
    core::CentralClock& clock = core::CentralClock::instance();
    const QScopedValueRollback<bool> guard(m_aggiornando, true);
    if (chkUsaOraPc->isChecked()) {
        DTPicker1->setDateTime(clock.timeSource().adesso());
        clock.Usa_Ora_Pc();
    } else {
        // The clock stands still at the instant it has reached.
        if (gdatDataCorrente.isValid())
            DTPicker1->setDateTime(gdatDataCorrente);
        clock.Arresta();
        cmdPlay->setFocus();
    }
}

void frmTime::cmdPlay_Click()
{
    core::CentralClock::instance().Avvia_Simulazione(DTPicker1->dateTime());
}

void frmTime::cmdStop_Click()
{
    core::CentralClock::instance().Arresta();
}

void frmTime::DTPicker1_Change()
{
    // The window's own labels follow at once; the other windows stay frozen
    // until the clock runs again.
    core::CentralClock::instance().Imposta_Data(DTPicker1->dateTime());
    Aggiorna_dati();
}

QString frmTime::Testo_Siderale(double ore)
{
    const double h = std::floor(ore);
    const double resto = (ore - h) * 60.0;
    const double m = std::floor(resto);
    const double s = std::floor((resto - m) * 60.0);
    return vb::Format(h, u"00") + QLatin1Char('.') + vb::Format(m, u"00") + QLatin1Char('.')
        + vb::Format(s, u"00");
}

void frmTime::Aggiorna_dati()
{
    if (!gdatDataUT.isValid() || !gdatDataCorrente.isValid())
        return;
    lblJD->setText(vb::Format(gdblGiornoGiuliano, u"######0.00000"));
    lblUTTIME->setText(vb::Format(gdatDataUT, u"hh:mm:ss"));
    lblUTDATE->setText(vb::Format(gdatDataUT, u"dd mmm yyyy"));
    lblLOCALTIME->setText(vb::Format(gdatDataCorrente, u"hh:mm:ss"));
    lblLOCALDATE->setText(vb::Format(gdatDataCorrente, u"dd mmm yyyy"));
    lblGST->setText(Testo_Siderale(gdblTempoSideraleGreenwich));
    lblLST->setText(Testo_Siderale(gdblTempoSiderale));
    lblUTCYear->setText(QString::number(gintGiornoAnnoUT));
    lblLOCALYear->setText(QString::number(gintGiornoAnnoLocale));
    AnalogClock1[0]->setValue(gdatDataCorrente);
    AnalogClock1[1]->setValue(gdatDataUT);
}

void frmTime::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    mostraStato();
    Aggiorna_dati();
}

void frmTime::closeEvent(QCloseEvent* event)
{
    // Closing only hides the window; it keeps its state for the next time.
    // Close all, a change of language and exit unload it (the clock mode
    // lives in the central clock).
    if (common::Scaricamento_In_Corso()) {
        event->accept();
        return;
    }
    event->ignore();
    common::Nascondi_Figlia(this);
}

void frmTime::cmdOK_Click()
{
    close();
}

void frmTime::cmdHelp_Click()
{
    Mostra_Aiuto(70, this);
}

void frmTime::cmdSincronizza_Click()
{
    if (sincronizzazione())
        sincronizzazione()();
}
