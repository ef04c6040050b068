#include "listings/ephemeris_dialog.h"
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
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPointer>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QPointer<frmCalc> g_istanza;
const QString kSezione = QStringLiteral("frmCalc");

QString testo(const char* chiave)
{
    return mLang::Testo_Lingua(kSezione, QString::fromLatin1(chiave));
}

void riempiLista(QListWidget* l, const std::vector<RigaDati>& db)
{
    l->clear();
    for (const listings::VoceSatellite& v : listings::Voci_Database(db)) {
        auto* item = new QListWidgetItem(v.testo);
        item->setData(Qt::UserRole, v.voce);
        l->addItem(item);
    }
}

} // namespace

frmCalc* frmCalc::instance(bool create)
{
    if (!g_istanza && create)
        g_istanza = new frmCalc();
    return g_istanza;
}

void frmCalc::Mostra()
{
    common::Mostra_Figlia(instance());
}

frmCalc::frmCalc(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmCalc"));
    setAttribute(Qt::WA_DeleteOnClose);
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setUsesScrollButtons(false);
    SSTab1->setElideMode(Qt::ElideNone);
    for (int i = 0; i < 2; ++i) {
        lstDatabase[size_t(i)] = new QListWidget;
        lstDatabase[size_t(i)]->setObjectName(QStringLiteral("lstDatabase%1").arg(i));
        lstDatabase[size_t(i)]->setSortingEnabled(true);
        lstDatabase[size_t(i)]->setFont(QFont(QStringLiteral("Courier New"), 9));
        SSTab1->addTab(lstDatabase[size_t(i)], QString());
        connect(lstDatabase[size_t(i)], &QListWidget::itemDoubleClicked, this,
                [this, i] { lstDatabase_DblClick(i); });
    }
    c.crea(this);
    Frame1 = new QGroupBox(this);
    Frame2 = new QGroupBox(this);
    Frame3 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame3->setObjectName(QStringLiteral("Frame3"));
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

    // Start, span and step.
    auto* g1 = new QGridLayout(Frame1);
    g1->addWidget(c.lblDataInizio, 0, 0);
    g1->addWidget(c.DTPicker1, 0, 1, 1, 2);
    g1->addWidget(c.lblDurata, 1, 0);
    g1->addWidget(c.cmbDurata, 1, 1);
    g1->addWidget(c.cmbTipoDurata, 1, 2);
    g1->addWidget(c.lblIntervallo, 2, 0);
    g1->addWidget(c.cmbIntervallo, 2, 1);
    g1->addWidget(c.cmbTipoIntervallo, 2, 2);
    // Coordinate type.
    auto* g2 = new QGridLayout(Frame2);
    g2->addWidget(c.lblTipoCoordinate, 0, 0, 1, 2);
    g2->addWidget(c.optOBS, 1, 0);
    g2->addWidget(c.optECI, 1, 1);
    g2->addWidget(c.optLLA, 2, 0);
    g2->addWidget(c.optRAD, 2, 1);
    // Buttons.
    auto* g3 = new QVBoxLayout(Frame3);
    g3->addWidget(cmdOK);
    g3->addWidget(cmdCancel);
    g3->addWidget(cmdHelp);
    g3->addStretch();
    for (GraphButton* b : {cmdOK, cmdCancel, cmdHelp})
        b->setMinimumSize(90, 28);

    auto* destra = new QVBoxLayout;
    destra->addWidget(Frame1);
    destra->addWidget(Frame2);
    auto* sotto = new QHBoxLayout;
    sotto->addLayout(destra, 1);
    sotto->addWidget(Frame3);
    auto* tutto = new QHBoxLayout(this);
    tutto->addWidget(SSTab1, 1);
    tutto->addLayout(sotto);
    Form_Load();
}

frmCalc::~frmCalc() = default;

void frmCalc::Form_Load()
{
    // The window sees every key stroke before its controls.
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
    installEventFilter(this);
    Lingua();
    c.riempi();
    c.optOBS->setChecked(true);
    SSTab1->setCurrentIndex(0);
    if (core::Numero_Voci(gudtDatabasePrimario) < 1)
        return;
    riempiLista(lstDatabase[0], gudtDatabasePrimario);
    if (core::Numero_Voci(gudtDatabaseSecondario) < 1)
        return;
    riempiLista(lstDatabase[1], gudtDatabaseSecondario);
}

void frmCalc::Lingua()
{
    setWindowTitle(testo("calcoloeffemeridisatelliti"));
    SSTab1->setTabText(0, testo("dbprincipale"));
    SSTab1->setTabText(1, testo("dbsecondario"));
    SSTab1->setMinimumWidth(std::max(260, SSTab1->tabBar()->sizeHint().width() + 12));
    c.lingua(kSezione);
    cmdOK->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("ok")));
    cmdCancel->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("cancel")));
    cmdHelp->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("help")));
}

frmDetails* frmCalc::cmdOK_Click()
{
    const int t = SSTab1->currentIndex() == 1 ? 1 : 0;
    QListWidgetItem* scelto = lstDatabase[size_t(t)]->currentItem();
    if (!scelto || !scelto->isSelected()) {
        platform::MsgBox(testo("selezionaresatellite"), platform::vbInformation);
        return nullptr;
    }
    const int i = scelto->data(Qt::UserRole).toInt();
    const QDateTime inizio = c.inizio();
    const QDateTime fine = c.fine();
    double passo = c.passo();
    const int codice = c.optOBS->isChecked()   ? 1
                       : c.optECI->isChecked() ? 2
                       : c.optLLA->isChecked() ? 3
                                               : 4;
    const std::vector<RigaDati>& db = t != 0 ? gudtDatabaseSecondario : gudtDatabasePrimario;
    if (i < 1 || i > core::Numero_Voci(db))
        return nullptr;
    const RigaDati& set = db[size_t(i)];
    const core::ErroreElementi errore = Estrai_Dati_Satellite(kSlotScratch, set.Riga0, set.Riga1, set.Riga2);
    if (errore != core::ErroreElementi::Nessuno) {
        // A set the parser refuses would list the scratch slot's old satellite.
        platform::MsgBox(core::Testo_Errore_Elementi(errore, set), platform::vbExclamation);
        return nullptr;
    }
    frmDetails* d = frmDetails::Nuovo();
    d->blnSoloAltPositiva = mblnTastoCtrl;
    mblnTastoCtrl = false;
    common::Mostra_Figlia(d);
    QPointer<frmDetails> guardia(d);
    if (!d->Genera_elenco(kSlotScratch, inizio, fine, passo, codice)) {
        if (guardia)
            guardia->close();
        return nullptr;
    }
    return guardia.data();
}

void frmCalc::cmdCancel_Click()
{
    common::Chiudi_Figlia(this);
}

void frmCalc::cmdHelp_Click()
{
    Mostra_Aiuto(110, this);
}

void frmCalc::lstDatabase_DblClick(int /*Index*/)
{
    cmdOK_Click();
}

void frmCalc::Form_KeyDown(int /*KeyCode*/, Qt::KeyboardModifiers Shift)
{
    if ((Shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == Qt::ControlModifier)
        mblnTastoCtrl = true;
}

bool frmCalc::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        Qt::KeyboardModifiers m = k->modifiers();
        // Ctrl pressed alone reports its own modifier on some systems, not on others.
        if (k->key() == Qt::Key_Control)
            m |= Qt::ControlModifier;
        Form_KeyDown(k->key(), m);
    }
    return QWidget::eventFilter(watched, event);
}
