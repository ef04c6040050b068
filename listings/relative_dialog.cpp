#include "listings/relative_dialog.h"
#include "common/help.h"

#include "controls/graph_button.h"
#include "core/database.h"
#include "core/element_parser.h"
#include "core/globals_orbit.h"
#include "core/mlang.h"
#include "common/window_host.h"
#include "platform/help_service.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "listings/listing_window.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QComboBox>
#include <QLabel>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPointer>
#include <QRadioButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

QPointer<frmRelative> g_istanza;
const QString kSezione = QStringLiteral("frmRelative");

QString testo(const char* chiave)
{
    return mLang::Testo_Lingua(kSezione, QString::fromLatin1(chiave));
}

// Fills a satellite list in text order, the entry number as item data.
void riempi(QComboBox* c, const std::vector<RigaDati>& db)
{
    auto voci = listings::Voci_Database(db);
    std::stable_sort(voci.begin(), voci.end(),
                     [](const auto& a, const auto& b) { return a.testo < b.testo; });
    for (const auto& v : voci)
        c->addItem(v.testo, v.voce);
}

} // namespace

frmRelative* frmRelative::instance(bool create)
{
    if (!g_istanza && create)
        g_istanza = new frmRelative();
    return g_istanza;
}

void frmRelative::Mostra()
{
    common::Mostra_Figlia(instance());
}

frmRelative::frmRelative(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmRelative"));
    setAttribute(Qt::WA_DeleteOnClose);
    lblSatelliteA = new QLabel(this);
    lblSatelliteB = new QLabel(this);
    lblInfo = new QLabel(this);
    lblInfo->setWordWrap(true);
    lblSatelliteA->setObjectName(QStringLiteral("lblSatelliteA"));
    lblSatelliteB->setObjectName(QStringLiteral("lblSatelliteB"));
    for (QLabel* l : {lblSatelliteA, lblSatelliteB, lblInfo}) l->setTextFormat(Qt::PlainText);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    Frame1 = new QGroupBox(this);
    Frame2 = new QGroupBox(this);
    auto* g0 = new QGridLayout(Frame1);
    for (int k = 0; k < 2; ++k) {
        auto* tab = new QTabBar(this);
        tab->setObjectName(QStringLiteral("SSTab1_%1").arg(k));
        tab->addTab(QString());
        tab->addTab(QString());
        tab->setExpanding(false);
        tab->setUsesScrollButtons(false);
        tab->setElideMode(Qt::ElideNone);
        auto* combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("cmbDatabase%1").arg(k));
        combo->setFont(QFont(QStringLiteral("Courier New"), 9));
        combo->setMinimumContentsLength(24);
        SSTab1[size_t(k)] = tab;
        cmbDatabase[size_t(k)] = combo;
        connect(tab, &QTabBar::currentChanged, this, [this, k] {
            if (m_caricato)
                SSTab1_Click(k);
        });
        g0->addWidget(k == 0 ? lblSatelliteA : lblSatelliteB, 0, k);
        g0->addWidget(tab, 1, k);
        g0->addWidget(combo, 2, k);
    }
    g0->addWidget(lblInfo, 3, 0, 1, 2);
    c.crea(this);
    auto* g1 = new QGridLayout(Frame2);
    g1->addWidget(c.lblDataInizio, 0, 0);
    g1->addWidget(c.DTPicker1, 0, 1, 1, 2);
    g1->addWidget(c.lblDurata, 1, 0);
    g1->addWidget(c.cmbDurata, 1, 1);
    g1->addWidget(c.cmbTipoDurata, 1, 2);
    g1->addWidget(c.lblIntervallo, 2, 0);
    g1->addWidget(c.cmbIntervallo, 2, 1);
    g1->addWidget(c.cmbTipoIntervallo, 2, 2);
    g1->addWidget(c.lblTipoCoordinate, 0, 3, 1, 2);
    g1->addWidget(c.optECI, 1, 3);
    g1->addWidget(c.optOBS, 1, 4);
    g1->addWidget(c.optLLA, 2, 3);
    g1->addWidget(c.optRAD, 2, 4);
    g1->setColumnMinimumWidth(3, 60);

    cmdOK = new GraphButton(this);
    cmdCancel = new GraphButton(this);
    cmdHelp = new GraphButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    cmdOK->setDefault(true);
    cmdCancel->setCancel(true);
    connect(cmdOK, &GraphButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &GraphButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdHelp, &GraphButton::clicked, this, [this] { cmdHelp_Click(); });
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    for (GraphButton* b : {cmdOK, cmdCancel, cmdHelp}) {
        b->setMinimumSize(90, 28);
        pulsanti->addWidget(b);
    }
    auto* tutto = new QVBoxLayout(this);
    tutto->addWidget(Frame1);
    tutto->addWidget(Frame2);
    tutto->addLayout(pulsanti);
    Form_Load();
}

frmRelative::~frmRelative() = default;

void frmRelative::Form_Load()
{
    Lingua();
    c.riempi();
    c.optECI->setChecked(true);
    if (core::Numero_Voci(gudtDatabasePrimario) >= 1) {
        for (QComboBox* l : cmbDatabase) {
            l->clear();
            riempi(l, gudtDatabasePrimario);
            l->setCurrentIndex(0);
        }
    }
    for (QTabBar* t : SSTab1)
        t->setCurrentIndex(0);
    m_caricato = true;
}

void frmRelative::Lingua()
{
    setWindowTitle(testo("motorelativosatelliti"));
    for (QTabBar* t : SSTab1) {
        t->setTabText(0, testo("dbprincipale"));
        t->setTabText(1, testo("dbsecondario"));
    }
    lblSatelliteA->setText(testo("satellitea"));
    lblSatelliteB->setText(testo("satelliteb"));
    lblInfo->setText(testo("informazione"));
    c.lingua(kSezione);
    cmdOK->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("ok")));
    cmdCancel->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("cancel")));
    cmdHelp->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("help")));
}

void frmRelative::SSTab1_Click(int Index)
{
    if (Index < 0 || Index > 1)
        return;
    QComboBox* lista = cmbDatabase[size_t(Index)];
    lista->clear();
    const std::vector<RigaDati>& db = SSTab1[size_t(Index)]->currentIndex() > 0 ? gudtDatabaseSecondario
                                                                               : gudtDatabasePrimario;
    if (core::Numero_Voci(db) < 1)
        return;
    riempi(lista, db);
    for (QComboBox* l : cmbDatabase)
        if (l->count() > 0)
            l->setCurrentIndex(0);
}

frmDetails* frmRelative::cmdOK_Click()
{
    if (cmbDatabase[0]->currentIndex() < 0 || cmbDatabase[1]->currentIndex() < 0) {
        platform::MsgBox(testo("selezionaresatelliti"), platform::vbInformation);
        return nullptr;
    }
    if (SSTab1[0]->currentIndex() == SSTab1[1]->currentIndex()
        && cmbDatabase[0]->currentIndex() == cmbDatabase[1]->currentIndex()) {
        platform::MsgBox(testo("satelliticoincidenti"), platform::vbInformation);
        return nullptr;
    }
    const QDateTime inizio = c.inizio();
    const QDateTime fine = c.fine();
    const double passo = c.passo();
    for (int k = 0; k < 2; ++k) {
        const std::vector<RigaDati>& db = SSTab1[size_t(k)]->currentIndex() > 0 ? gudtDatabaseSecondario
                                                                               : gudtDatabasePrimario;
        const int i = cmbDatabase[size_t(k)]->currentData().toInt();
        if (i < 1 || i > core::Numero_Voci(db)) {
            // The database was reloaded since the list was filled.
            platform::MsgBox(testo("selezionaresatelliti"), platform::vbInformation);
            return nullptr;
        }
        const RigaDati& set = db[size_t(i)];
        const core::ErroreElementi errore =
            Estrai_Dati_Satellite(kSlotScratch + k, set.Riga0, set.Riga1, set.Riga2);
        if (errore != core::ErroreElementi::Nessuno) {
            platform::MsgBox(core::Testo_Errore_Elementi(errore, set), platform::vbExclamation);
            return nullptr;
        }
    }
    const int codice = c.optECI->isChecked()   ? 2
                       : c.optOBS->isChecked() ? 1
                       : c.optLLA->isChecked() ? 3
                                               : 4;
    frmDetails* d = frmDetails::Nuovo();
    common::Mostra_Figlia(d);
    QPointer<frmDetails> guardia(d);
    if (!d->Genera_relativo(inizio, fine, passo, codice)) {
        if (guardia)
            guardia->close();
        return nullptr;
    }
    return guardia.data();
}

void frmRelative::cmdCancel_Click()
{
    common::Chiudi_Figlia(this);
}

void frmRelative::cmdHelp_Click()
{
    Mostra_Aiuto(100, this);
}
