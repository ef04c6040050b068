#include "database/element_set_viewer.h"
#include "common/help.h"

#include "controls/graph_button.h"
#include "core/globals_orbit.h"
#include "core/globals_time.h"
#include "core/mlang.h"
#include "database/element_set_texts.h"
#include "common/window_host.h"
#include "platform/help_service.h"
#include "platform/services.h"
#include "platform/vb.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

int frmSatellite::gintIndice = 0;

namespace {

const QString kSezione = QStringLiteral("frmSatellite");
constexpr int kContestoAiuto = 90;

// Frame, then (heading label, its key, value label) rows.
struct Riga {
    const char* intestazione;
    const char* chiave;
    const char* valore;
};
struct Cornice {
    const char* nome;
    const char* chiave;
    std::vector<Riga> righe;
};

const std::vector<Cornice>& cornici()
{
    static const std::vector<Cornice> c = {
        {"fraElementi2Righe", "elementi2righe",
         {{nullptr, nullptr, "lblZeroLine"}, {nullptr, nullptr, "lblFirstLine"}, {nullptr, nullptr, "lblSecondLine"}}},
        {"fraInformazioniGenerali", "informazionigenerali",
         {{"lblNumeroNorad", "numeronorad", "lblNoradNumber"},
          {"lblNumeroIntern", "numerointern", "lblInternational"},
          {"lblAnnoLancio", "annolancio", "lblLaunchYear"},
          {"lblNumeroLancio", "numerolancio", "lblLaunchNumber"},
          {"lblEtaElementi", "etaelementi", "lblAge"},
          {"lblSetElementi", "setelementi", "lblSet"},
          {"lblMagnitudineStd", "magnitudinestd", "lblMagStd"}}},
        {"fraParametriOrbitali", "parametriorbitali",
         {{"lblEpocaCivile", "epocacivile", "lblEpochTime"},
          {"lblEpocaUTC", "epocautc", "lblDate"},
          {"lblInclinazione", "inclinazione", "lblInclination"},
          {"lblRAANIntesta", "raan", "lblRaan"},
          {"lblEccentricita", "eccentricita", "lblEccentricity"},
          {"lblArgomentoPerigeo", "argomentoperigeo", "lblArgumentPerigee"},
          {"lblAnomaliaMedia", "anomaliamedia", "lblMeanAnomaly"},
          {"lblMotoMedio", "motomedio", "lblMeanMotion"},
          {"lblDeriv1", "deriv1", "lblDev1"},
          {"lblDeriv2", "deriv2", "lblDev2"},
          {"lblBStarIntesta", "bstar", "lblBStar"},
          {"lblNumeroOrbita", "numeroorbita", "lblOrbitNumberEpoch"}}},
        {"fraParametriDerivati", "parametriderivati",
         {{"lblApogeo", "apogeo", "lblApogee"},
          {"lblPerigeo", "perigeo", "lblPerigee"},
          {"lblPeriodoOrbitale", "periodoorbitale", "lblOrbitalPeriod"},
          {"lblSemiasseMax", "semiassemax", "lblSemiMaj"},
          {"lblSemiasseMin", "semiassemin", "lblSemiMin"}}},
    };
    return c;
}

QString L(const char* chiave)
{
    return mLang::Testo_Lingua(kSezione, QString::fromLatin1(chiave));
}

} // namespace

frmSatellite::frmSatellite(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSatellite"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* principale = new QVBoxLayout(this);
    auto* griglia = new QGridLayout;
    QFont fisso(QStringLiteral("Courier New"));
    fisso.setStyleHint(QFont::TypeWriter);
    int posizione = 0;
    for (const Cornice& c : cornici()) {
        auto* box = new QGroupBox(this);
        box->setObjectName(QString::fromLatin1(c.nome));
        auto* g = new QGridLayout(box);
        int r = 0;
        for (const Riga& riga : c.righe) {
            auto* valore = new QLabel(box);
            valore->setObjectName(QString::fromLatin1(riga.valore));
            valore->setTextFormat(Qt::PlainText);   // element lines and names from outside
            valore->setTextInteractionFlags(Qt::TextSelectableByMouse);
            if (riga.intestazione) {
                auto* testa = new QLabel(box);
                testa->setObjectName(QString::fromLatin1(riga.intestazione));
                g->addWidget(testa, r, 0);
                g->addWidget(valore, r, 1);
            } else {
                valore->setFont(fisso);
                g->addWidget(valore, r, 0, 1, 2);
            }
            ++r;
        }
        if (posizione == 0)
            griglia->addWidget(box, 0, 0, 1, 2);
        else if (posizione == 1)
            griglia->addWidget(box, 1, 0);
        else if (posizione == 2)
            griglia->addWidget(box, 1, 1, 2, 1);
        else
            griglia->addWidget(box, 2, 0);
        ++posizione;
    }
    principale->addLayout(griglia);

    auto* strip = new QHBoxLayout;
    cmdPrimo = new GraphButton(this);
    cmdPrecedente = new GraphButton(this);
    lblSatellite = new QLabel(this);
    lblSatellite->setAlignment(Qt::AlignCenter);
    lblSatellite->setMinimumWidth(120);
    cmdSuccessivo = new GraphButton(this);
    cmdUltimo = new GraphButton(this);
    cmdOK = new GraphButton(this);
    cmdHelp = new GraphButton(this);
    cmdOK->setDefault(true);
    cmdOK->setCancel(true);
    const std::pair<GraphButton*, const char*> nomi[] = {
        {cmdPrimo, "cmdPrimo"}, {cmdPrecedente, "cmdPrecedente"}, {cmdSuccessivo, "cmdSuccessivo"},
        {cmdUltimo, "cmdUltimo"}, {cmdOK, "cmdOK"}, {cmdHelp, "cmdHelp"}};
    for (const auto& [b, n] : nomi) {
        b->setObjectName(QString::fromLatin1(n));
        b->setMinimumSize(80, 26);
    }
    lblSatellite->setObjectName(QStringLiteral("lblSatellite"));
    strip->addWidget(cmdPrimo);
    strip->addWidget(cmdPrecedente);
    strip->addWidget(lblSatellite);
    strip->addWidget(cmdSuccessivo);
    strip->addWidget(cmdUltimo);
    strip->addStretch();
    strip->addWidget(cmdOK);
    strip->addWidget(cmdHelp);
    principale->addLayout(strip);

    connect(cmdPrimo, &GraphButton::Click, this, &frmSatellite::cmdPrimo_Click);
    connect(cmdPrecedente, &GraphButton::Click, this, &frmSatellite::cmdPrecedente_Click);
    connect(cmdSuccessivo, &GraphButton::Click, this, &frmSatellite::cmdSuccessivo_Click);
    connect(cmdUltimo, &GraphButton::Click, this, &frmSatellite::cmdUltimo_Click);
    connect(cmdOK, &GraphButton::Click, this, &frmSatellite::cmdOK_Click);
    connect(cmdHelp, &GraphButton::Click, this, &frmSatellite::cmdHelp_Click);
    Form_Load();
}

frmSatellite::~frmSatellite()
{
    gintIndice = 0;
}

void frmSatellite::done(int r)
{
    gintIndice = 0;
    QDialog::done(r);
}

QLabel* frmSatellite::etichetta(const QString& name) const
{
    return findChild<QLabel*>(name);
}

void frmSatellite::Lingua()
{
    m_titolo = L("elementiorbitali");
    for (const Cornice& c : cornici()) {
        if (auto* box = findChild<QGroupBox*>(QString::fromLatin1(c.nome)))
            box->setTitle(L(c.chiave));
        for (const Riga& r : c.righe)
            if (r.intestazione)
                etichetta(QString::fromLatin1(r.intestazione))->setText(L(r.chiave));
    }
    cmdPrimo->setCaption(L("primo"));
    cmdPrecedente->setCaption(L("precedente"));
    cmdSuccessivo->setCaption(L("successivo"));
    cmdUltimo->setCaption(L("ultimo"));
    cmdOK->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("ok")));
    cmdHelp->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("help")));
    setWindowTitle(m_titolo);
}

void frmSatellite::intestazione()
{
    if (m_slot < kSlotScratch)
        lblSatellite->setText(L("satellite") + QStringLiteral(" #") + QString::number(m_slot));
    else
        lblSatellite->clear();
}

void frmSatellite::Form_Load()
{
    Lingua();
    m_slot = gintIndice;
    if (m_slot <= 0)
        m_slot = 1;
    if (m_slot >= kSlotArray)
        m_slot = kSlotScratch;
    const bool naviga = m_slot < kSlotScratch;
    for (GraphButton* b : {cmdPrimo, cmdPrecedente, cmdSuccessivo, cmdUltimo})
        b->setEnabled(naviga);
    intestazione();
    Visualizza_elementi(m_slot);
    // Enter belongs to the focused button: the viewer opens on OK.
    cmdOK->setFocus();
}

void frmSatellite::Visualizza_elementi(int s)
{
    std::optional<database::TestiElementi> t;
    if (s >= 1 && s < kSlotArray && (s <= gintNumSatelliti || s >= kSlotScratch))
        t = database::Testi_Elementi(gudtSatelementi[size_t(s)], gudtRigheAttive[size_t(s)], gdblGiornoGiuliano);
    const database::TestiElementi v = t ? *t : database::Testi_Segnaposto();
    const std::pair<const char*, const QString*> valori[] = {
        {"lblEpochTime", &v.lblEpochTime}, {"lblDate", &v.lblDate}, {"lblInclination", &v.lblInclination},
        {"lblRaan", &v.lblRaan}, {"lblEccentricity", &v.lblEccentricity},
        {"lblArgumentPerigee", &v.lblArgumentPerigee}, {"lblMeanAnomaly", &v.lblMeanAnomaly},
        {"lblMeanMotion", &v.lblMeanMotion}, {"lblDev1", &v.lblDev1}, {"lblDev2", &v.lblDev2},
        {"lblBStar", &v.lblBStar}, {"lblOrbitNumberEpoch", &v.lblOrbitNumberEpoch},
        {"lblNoradNumber", &v.lblNoradNumber}, {"lblInternational", &v.lblInternational},
        {"lblLaunchYear", &v.lblLaunchYear}, {"lblLaunchNumber", &v.lblLaunchNumber}, {"lblAge", &v.lblAge},
        {"lblSet", &v.lblSet}, {"lblMagStd", &v.lblMagStd}, {"lblZeroLine", &v.lblZeroLine},
        {"lblFirstLine", &v.lblFirstLine}, {"lblSecondLine", &v.lblSecondLine}, {"lblApogee", &v.lblApogee},
        {"lblPerigee", &v.lblPerigee}, {"lblOrbitalPeriod", &v.lblOrbitalPeriod}, {"lblSemiMaj", &v.lblSemiMaj},
        {"lblSemiMin", &v.lblSemiMin}};
    for (const auto& [nome, testo] : valori)
        if (QLabel* l = etichetta(QString::fromLatin1(nome)))
            l->setText(vb::displayable(*testo));
    if (t)
        setWindowTitle(m_titolo + QStringLiteral(" - ") + QString::fromStdString(gudtSatelementi[size_t(s)].Nome));
}

void frmSatellite::vai(int s)
{
    m_slot = s;
    intestazione();
    Visualizza_elementi(m_slot);
}

void frmSatellite::cmdPrimo_Click()
{
    vai(1);
}

void frmSatellite::cmdPrecedente_Click()
{
    if (m_slot > 1)
        vai(m_slot - 1);
}

void frmSatellite::cmdSuccessivo_Click()
{
    if (m_slot < kMaxSatelliti)
        vai(m_slot + 1);
}

void frmSatellite::cmdUltimo_Click()
{
    vai(gintNumSatelliti > 0 ? gintNumSatelliti : kMaxSatelliti);
}

void frmSatellite::cmdOK_Click()
{
    accept();
}

void frmSatellite::cmdHelp_Click()
{
    Mostra_Aiuto(kContestoAiuto, this);
}

void frmSatellite::Mostra(int slot)
{
    gintIndice = slot;
    auto* f = new frmSatellite(common::Finestra_Principale());
    f->setModal(true);
    f->exec();
}
