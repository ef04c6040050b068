#include "passes/pass_window.h"
#include "common/help.h"

#include "astro/time.h"
#include "controls/graph_button.h"
#include "controls/progress_bar.h"
#include "core/clock.h"
#include "core/data_files.h"
#include "core/database.h"
#include "core/element_parser.h"
#include "core/globals_orbit.h"
#include "core/mlang.h"
#include "core/msat.h"
#include "core/settings.h"
#include "database/database_window.h"
#include "common/window_host.h"
#include "common/progress_window.h"
#include "controls/date_picker.h"
#include "platform/help_service.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/vb.h"
#include "listings/listing_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <chrono>

namespace {

const char* const kSezione = "frmVisibleSatellites";
QPointer<frmVisibleSatellites> g_istanza;
frmVisibleSatellites::ApriMappa g_apriMappa;

QString L(const char* chiave)
{
    return mLang::Testo_Lingua(QString::fromLatin1(kSezione), QString::fromLatin1(chiave));
}
QString L(const char* sezione, const char* chiave)
{
    return mLang::Testo_Lingua(QString::fromLatin1(sezione), QString::fromLatin1(chiave));
}

// The result list's height, 3735 twips.
constexpr int kAltezzaLista = 249;

} // namespace

frmVisibleSatellites* frmVisibleSatellites::instance(bool create)
{
    if (!g_istanza && create)
        g_istanza = new frmVisibleSatellites;
    return g_istanza;
}

void frmVisibleSatellites::setApriMappa(ApriMappa apri)
{
    g_apriMappa = std::move(apri);
}

bool frmVisibleSatellites::mappaDisponibile()
{
    return bool(g_apriMappa);
}

void frmVisibleSatellites::apriMappa(const core::RecordPassaggio& passaggio, double jdMappa)
{
    if (g_apriMappa)
        g_apriMappa(*this, passaggio, jdMappa);
}


frmVisibleSatellites::frmVisibleSatellites(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmVisibleSatellites"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* principale = new QVBoxLayout(this);
    principale->setContentsMargins(4, 0, 4, 4);
    barraMenu = new QMenuBar(this);
    QMenu* file = barraMenu->addMenu(QString());
    mnuFile = file->menuAction();
    mnuSalva = file->addAction(QString());
    mnuStampa = file->addAction(QString());
    connect(mnuSalva, &QAction::triggered, this, &frmVisibleSatellites::mnuSalva_Click);
    connect(mnuStampa, &QAction::triggered, this, &frmVisibleSatellites::mnuStampa_Click);
    principale->setMenuBar(barraMenu);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    for (int i = 0; i < 3; ++i)
        SSTab1->addTab(creaScheda(i), QString());
    principale->addWidget(SSTab1);
    Form_Load();
}

frmVisibleSatellites::~frmVisibleSatellites() = default;

QWidget* frmVisibleSatellites::creaScheda(int i)
{
    const size_t k = size_t(i);
    auto* pagina = new QWidget;
    auto* v = new QVBoxLayout(pagina);
    static const char* const nomiFrame[3] = {"fraAll", "fraFirst", "fraSecond"};
    fra[k] = new QGroupBox(pagina);
    fra[k]->setObjectName(QString::fromLatin1(nomiFrame[i]));
    auto* griglia = new QGridLayout(fra[k]);

    lblDataInizio[k] = new QLabel(fra[k]);
    DTPicker1[k] = new DateTimePicker(fra[k]);
    DTPicker1[k]->setObjectName(QStringLiteral("DTPicker1"));
    DTPicker1[k]->setTimeSpec(Qt::UTC);
    DTPicker1[k]->setDisplayFormat(QStringLiteral("dd/MM/yyyy  HH:mm:ss"));
    DTPicker1[k]->setCalendarPopup(true);
    lblDurata[k] = new QLabel(fra[k]);
    cmbDurata[k] = new QComboBox(fra[k]);
    cmbDurata[k]->setObjectName(QStringLiteral("cmbDurata"));
    griglia->addWidget(lblDataInizio[k], 0, 0);
    griglia->addWidget(DTPicker1[k], 0, 1);
    griglia->addWidget(lblDurata[k], 1, 0);
    griglia->addWidget(cmbDurata[k], 1, 1);

    chkAM[k] = new QCheckBox(fra[k]);
    chkPM[k] = new QCheckBox(fra[k]);
    chkSoloVisibili[k] = new QCheckBox(fra[k]);
    chkNessunFiltro[k] = new QCheckBox(fra[k]);
    chkAM[k]->setObjectName(QStringLiteral("chkAM"));
    chkPM[k]->setObjectName(QStringLiteral("chkPM"));
    chkSoloVisibili[k]->setObjectName(QStringLiteral("chkSoloVisibili"));
    chkNessunFiltro[k]->setObjectName(QStringLiteral("chkNessunFiltro"));
    auto* mezzi = new QHBoxLayout;
    mezzi->addWidget(chkAM[k]);
    mezzi->addWidget(chkPM[k]);
    mezzi->addStretch();
    griglia->addLayout(mezzi, 0, 2);
    griglia->addWidget(chkSoloVisibili[k], 1, 2);
    griglia->addWidget(chkNessunFiltro[k], 0, 3);
    if (i == 0) {
        chkTransito = new QCheckBox(fra[k]);
        chkTransito->setObjectName(QStringLiteral("chkTransito"));
        griglia->addWidget(chkTransito, 1, 3);
    } else if (i == 2) {
        lblLimitaCalcolo = new QLabel(fra[k]);
        lblLimitaCalcolo->setObjectName(QStringLiteral("lblLimitaCalcolo"));
        cmbLimite = new QComboBox(fra[k]);
        cmbLimite->setObjectName(QStringLiteral("cmbLimite"));
        auto* lim = new QHBoxLayout;
        lim->addWidget(lblLimitaCalcolo);
        lim->addWidget(cmbLimite);
        griglia->addLayout(lim, 1, 3);
    }
    auto crea = [&](const char* nome, QWidget* genitore) {
        auto* b = new GraphButton(genitore);
        b->setObjectName(QString::fromLatin1(nome));
        b->setMinimumSize(90, 26);
        return b;
    };
    cmdOK[k] = crea("cmdOK", fra[k]);
    cmdCancel[k] = crea("cmdCancel", fra[k]);
    cmdHelp[k] = crea("cmdHelp", fra[k]);
    auto* pulsanti = new QVBoxLayout;
    pulsanti->addWidget(cmdOK[k]);
    pulsanti->addWidget(cmdCancel[k]);
    pulsanti->addWidget(cmdHelp[k]);
    griglia->addLayout(pulsanti, 0, 4, 3, 1);
    griglia->setColumnStretch(3, 1);
    v->addWidget(fra[k]);

    lvwPass[k] = new QTreeWidget(pagina);
    lvwPass[k]->setObjectName(QStringLiteral("lvwPass"));
    lvwPass[k]->setRootIsDecorated(false);
    lvwPass[k]->setUniformRowHeights(true);
    lvwPass[k]->setAllColumnsShowFocus(true);
    lvwPass[k]->setSelectionMode(QAbstractItemView::SingleSelection);
    lvwPass[k]->header()->setSectionsClickable(true);
    lvwPass[k]->header()->setSortIndicatorShown(false);
    lvwPass[k]->header()->setStretchLastSection(false);
    lvwPass[k]->viewport()->installEventFilter(this);
    lvwPass[k]->setFixedHeight(kAltezzaLista);
    v->addWidget(lvwPass[k]);

    lblLegenda[k] = new QLabel(pagina);
    lblLegenda[k]->setObjectName(QStringLiteral("lblLegenda"));
    lblLegenda[k]->setTextFormat(Qt::PlainText);
    QFont fisso(QStringLiteral("Courier New"), 9);
    fisso.setStyleHint(QFont::Monospace);
    lblLegenda[k]->setFont(fisso);
    v->addWidget(lblLegenda[k]);
    lstPass[k] = new QListWidget(pagina);
    lstPass[k]->setObjectName(QStringLiteral("lstPass"));
    lstPass[k]->setFont(fisso);
    lstPass[k]->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lstPass[k]->setMinimumHeight(70);
    lstPass[k]->installEventFilter(this);
    v->addWidget(lstPass[k], 1);

    auto* sotto = new QHBoxLayout;
    cmdDettagli[k] = crea("cmdDettagli", pagina);
    cmdMappa[k] = crea("cmdMappa", pagina);
    sotto->addWidget(cmdDettagli[k]);
    sotto->addWidget(cmdMappa[k]);
    if (i == 0) {
        cmdAttiva = crea("cmdAttiva", pagina);
        sotto->addWidget(cmdAttiva);
        connect(cmdAttiva, &GraphButton::Click, this, &frmVisibleSatellites::cmdAttiva_Click);
    }
    sotto->addStretch();
    v->addLayout(sotto);

    connect(cmdOK[k], &GraphButton::Click, this, [this, i] { cmdOK_Click(i); });
    connect(cmdCancel[k], &GraphButton::Click, this, [this, i] { cmdCancel_Click(i); });
    connect(cmdHelp[k], &GraphButton::Click, this, [this, i] { cmdHelp_Click(i); });
    connect(cmdDettagli[k], &GraphButton::Click, this, [this, i] { cmdDettagli_Click(i); });
    connect(cmdMappa[k], &GraphButton::Click, this, [this, i] { cmdMappa_Click(i); });
    connect(chkNessunFiltro[k], &QCheckBox::clicked, this, [this, i] { chkNessunFiltro_Click(i); });
    connect(lvwPass[k]->header(), &QHeaderView::sectionClicked, this,
            [this, i](int sezione) { lvwPass_ColumnClick(i, sezione + 1); });
    connect(lvwPass[k], &QTreeWidget::itemClicked, this,
            [this, i](QTreeWidgetItem* item) { lvwPass_ItemClick(i, item); });
    // The arrow keys choose a pass as a click does.
    connect(lvwPass[k], &QTreeWidget::currentItemChanged, this, [this, i](QTreeWidgetItem* item) {
        if (item && !m_inCorso)
            lvwPass_ItemClick(i, item);
    });
    connect(lstPass[k], &QListWidget::itemSelectionChanged, this, [this, i] { lstPass_Click(i); });
    connect(lstPass[k], &QListWidget::itemDoubleClicked, this, [this, i] { lstPass_DblClick(i); });
    return pagina;
}

// ---------------------------------------------------------------- loading and texts

void frmVisibleSatellites::Lingua()
{
    setWindowTitle(L("previsionipassaggi"));
    SSTab1->setTabText(0, L("tuttisatelliti"));
    SSTab1->setTabText(1, L("satelliteprincipale"));
    SSTab1->setTabText(2, L("satellitisecondari"));
    mnuFile->setText(L("file"));
    mnuSalva->setText(L("salva"));
    mnuStampa->setText(L("stampa"));
    for (size_t i = 0; i < 3; ++i) {
        lblDataInizio[i]->setText(L("datainizio"));
        lblDurata[i]->setText(L("durata"));
        chkAM[i]->setText(L("Def", "am"));
        chkAM[i]->setToolTip(L("tooltipam"));
        chkPM[i]->setText(L("Def", "pm"));
        chkPM[i]->setToolTip(L("tooltippm"));
        chkSoloVisibili[i]->setText(L("solovisibili"));
        chkSoloVisibili[i]->setToolTip(L("tooltipsolovisibili"));
        chkNessunFiltro[i]->setText(L("nessunfiltro"));
        chkNessunFiltro[i]->setToolTip(L("tooltipnessunfiltro"));
        cmdDettagli[i]->setCaption(L("dettagli"));
        cmdMappa[i]->setCaption(L("mappa"));
        lblLegenda[i]->setText(L("intestazioneobs"));
        lstPass[i]->setToolTip(L("doppioclickdettagli"));
        cmdOK[i]->setCaption(L("Buttons", "ok"));
        cmdCancel[i]->setCaption(L("Buttons", "cancel"));
        cmdHelp[i]->setCaption(L("Buttons", "help"));

        const int scelta = cmbDurata[i]->currentIndex();
        cmbDurata[i]->clear();
        if (i == 0) {
            cmbDurata[i]->addItem(QStringLiteral("30 ") + L("Def", "minuti"), 30);
            cmbDurata[i]->addItem(QStringLiteral("1 ") + L("ora"), 60);
            for (int k = 2; k <= 24; ++k)
                cmbDurata[i]->addItem(QString::number(k) + QLatin1Char(' ') + L("Def", "ore"), 60 * k);
        } else {
            cmbDurata[i]->addItem(QStringLiteral("1 ") + L("Def", "giorno"));
            for (int k = 2; k <= 28; ++k)
                cmbDurata[i]->addItem(QString::number(k) + QLatin1Char(' ') + L("Def", "giorni"));
        }
        cmbDurata[i]->setCurrentIndex(std::max(0, scelta));
    }
    chkTransito->setText(L("transito"));
    chkTransito->setToolTip(L("tooltiptransito"));
    lblLimitaCalcolo->setText(L("limitacalcolo"));
    cmdAttiva->setCaption(L("attiva"));
    const int limite = cmbLimite->currentIndex();
    cmbLimite->clear();
    for (int n = 10; n <= 50; n += 10)
        cmbLimite->addItem(QString::number(n) + QLatin1Char(' ') + L("satelliti"), n);
    cmbLimite->addItem(L("tutti"), 200);
    cmbLimite->setCurrentIndex(std::max(0, limite));

    const QStringList titoli = {L("dataculmine"),    L("nomesatellite"), L("Def", "alt"),
                                L("Def", "az"),      L("def", "stato"),  L("Def", "mag"),
                                L("durata1"),        QStringLiteral("Data culmine (appoggio)"),
                                QStringLiteral("Mag. (appoggio)")};
    for (auto* lista : lvwPass)
        lista->setHeaderLabels(titoli);
}

void frmVisibleSatellites::Form_Load()
{
    Lingua();
    for (size_t i = 0; i < 3; ++i) {
        cmdDettagli[i]->setEnabled(false);
        cmdMappa[i]->setEnabled(false);
    }
    cmdAttiva->setEnabled(false);
    for (size_t i = 0; i < 3; ++i) {
        DTPicker1[i]->setDateTime(QDateTime(gdatDataCorrente.date(), gdatDataCorrente.time(), Qt::UTC));
        cmbDurata[i]->setCurrentIndex(0);
    }
    cmbLimite->setCurrentIndex(0);
    SSTab1->setCurrentIndex(1);
    chkTransito->setChecked(gblnInTransito);
    for (size_t i = 0; i < 3; ++i) {
        chkSoloVisibili[i]->setChecked(gblnSoloVisibili[i]);
        chkAM[i]->setChecked(gblnFiltroAM[i]);
        chkPM[i]->setChecked(gblnFiltroPM[i]);
    }
    // The nine columns: widths in twips 2300, 2400, 800, 800, 900, 800, 1200,
    // then the two hidden sort keys.
    static const int larghezze[9] = {2300, 2400, 800, 800, 900, 800, 1200, 0, 0};
    for (auto* lista : lvwPass) {
        for (int c = 0; c < 9; ++c) {
            lista->setColumnWidth(c, larghezze[c] / 15);
            if (c >= 2 && c <= 6)
                lista->headerItem()->setTextAlignment(c, Qt::AlignCenter);
        }
        lista->setColumnHidden(7, true);
        lista->setColumnHidden(8, true);
        lista->setFixedHeight(kAltezzaLista);
    }
    resize(860, 640);
}

void frmVisibleSatellites::mostraLista(int i, bool visibile)
{
    lvwPass[size_t(i)]->setVisible(visibile);
    lstPass[size_t(i)]->setVisible(visibile);
    lblLegenda[size_t(i)]->setVisible(visibile);
}

// ---------------------------------------------------------------- the run

void frmVisibleSatellites::cmdOK_Click(int Index)
{
    if (Index < 0 || Index > 2)
        return;
    const size_t k = size_t(Index);
    auto avviso = [](const char* chiave, int icona) { platform::MsgBox(L(chiave), icona); };
    // One run at a time: a second OK while this window yields is refused.
    if (m_inCorso || core::LavoroLungo::inCorso()) {
        platform::MsgBox(L("Dialogs", "lavoroincorso"), platform::vbInformation);
        return;
    }
    if (Index == 1 && gintNumSatelliti == 0) {
        avviso("nessunsatelliteprimario", platform::vbInformation);
        return;
    }
    if (Index == 2 && gintNumSatelliti < 2) {
        avviso("nessunsatellitesecondario", platform::vbInformation);
        return;
    }
    if (!chkAM[k]->isChecked() && !chkPM[k]->isChecked()) {
        avviso("selezionareampm", platform::vbInformation);
        return;
    }
    mintScheda = Index;
    if (!chkNessunFiltro[k]->isChecked()) {
        gdblAltezzaMinima = gdblAltezzaMin[k];
        mdblAzimuthMin = gdblAzimuthMin[k];
        mdblAzimuthMax = gdblAzimuthMax[k];
    } else {
        gdblAltezzaMinima = 0;
        mdblAzimuthMin = 0;
        mdblAzimuthMax = 360;
    }

    if (Index == 0 && core::Numero_Voci(gudtDatabasePrimario) == 0) {
        lstPass[0]->clear();
        const int risposta = platform::MsgBox(L("MDIform1", "necessariodb"), platform::vbOKCancel);
        if (risposta == platform::vbOK) {
            QString percorso = gstrDatabasePrimario;
            frmDatabase* db = frmDatabase::instance();
            db->Database_satelliti(percorso);
            if (core::Numero_Voci(gudtDatabasePrimario) > 0) {
                QApplication::processEvents();
                common::Nascondi_Figlia(db);
                cmdOK_Click(0);
                return;
            }
        }
        mostraLista(Index, true);
        return;
    }

    if (gdblAzimuthMin[k] >= gdblAzimuthMax[k]) {
        platform::MsgBox(L("intervalloazimutherrato"), platform::vbExclamation);
        return;
    }

    core::LavoroLungo lavoro;
    if (!lavoro.acquisito()) {
        platform::MsgBox(L("Dialogs", "lavoroincorso"), platform::vbInformation);
        return;
    }

    mostraLista(Index, false);
    repaint();
    lvwPass[k]->setFixedHeight(kAltezzaLista);
    lstPass[k]->clear();
    lvwPass[k]->clear();
    m_passaggi[k].clear();
    cmdMappa[k]->setEnabled(false);
    cmdDettagli[k]->setEnabled(false);
    if (Index == 0)
        cmdAttiva->setEnabled(false);

    int limite = 1;
    if (Index == 2) {
        limite = cmbLimite->currentData().toInt();
        if (limite >= gintNumSatelliti)
            limite = gintNumSatelliti;
    }

    // The span, from the local start on the picker.
    const QDateTime d = DTPicker1[k]->dateTime();
    const double giorno = d.date().day() + (d.time().hour() - (gbytOraLegale + gsngFusoOrario)) / 24.0
        + (d.time().minute() + d.time().second() / 60.0) / 1440.0;
    const double inizio = mAstro::Giorno_Giuliano(d.date().year(), d.date().month(), giorno);
    double fine = inizio + (cmbDurata[k]->currentIndex() + 1);
    if (Index == 0)
        fine = inizio + cmbDurata[k]->currentData().toInt() / 1440.0;

    cerca(Index, inizio, fine, limite);
}

void frmVisibleSatellites::cerca(int Index, double inizio, double fine, int limite)
{
    const size_t k = size_t(Index);
    const QPointer<frmVisibleSatellites> finestra(this);
    bool arrestata = false;
    bool erroreSolutore = false;
    m_inCorso = true;
    {
        // The run's marks come back however it ends.
        struct FineLavoro {
            bool& inCorso;
            ~FineLavoro()
            {
                frmProgress::Unload();
                inCorso = false;
            }
        } fineLavoro{m_inCorso};
        // The clock leaves the satellite slots alone and no satellite is
        // removed as decayed meanwhile; the flags come back however the run ends.
        core::FlagGuard centrale(pflgCentrale, false);
        core::FlagGuard satellite(pflgSatellite, false);
        core::FlagGuard ricerca(pflgRicerca, true);
        QApplication::processEvents();

        const double max = fine - inizio;
        frmProgress* progresso = frmProgress::Mostra(QString(), max);
        if (progresso && progresso->lblTask)
            progresso->lblTask->setText(Index == 0 ? QString() : L(Index == 1 ? "calcoloprimo" : "calcolosecondo"));
        double valore = 0;
        const astro::Osservatore oss = mSat::Osservatore_Corrente();
        const astro::OpzioniSatellite opz = mSat::Opzioni_Correnti();
        // The run keeps the minimum height it started with, whatever the
        // no-filter boxes do while it yields.
        const double altezzaMinima = gdblAltezzaMinima;

        // One satellite: the search works on a copy of its element set.
        auto cercaSatellite = [&](const Satelement& s, const RigaDati& righe, int indice) {
            if (core::Satellite_Escluso(s.MotoMedio, s.Eccentricita))
                return true;
            core::RicercaPassaggi r(s, oss, opz, altezzaMinima, gsngFusoOrario, gbytOraLegale);
            r.continua = [&] { return frmProgress::Passo(valore) && finestra; };
            r.controllo = r.continua;
            r.progresso = [&](double v) {
                valore = v;
                if (frmProgress* f = frmProgress::instance(false))
                    f->ProgressBar1->setValue(v);
            };
            r.erroreSolutore = [&] { erroreSolutore = true; };
            const QString nome = vb::displayable(QString::fromStdString(s.Nome));
            const core::RecordPassaggio sat{s, righe, QString::fromStdString(s.NumeroCatalogo)};
            r.passaggio = [&](const core::Passaggio& p) {
                if (!finestra)
                    return;
                const core::FiltriPassaggio filtri{chkAM[k]->isChecked(), chkPM[k]->isChecked(),
                                                   chkSoloVisibili[k]->isChecked(), mdblAzimuthMin, mdblAzimuthMax};
                if (core::Passa_Filtri(p, filtri))
                    aggiungiRiga(p, nome, indice, sat);
            };
            return r.PREDICI(inizio, fine, core::Passo_Scansione(s.MotoMedio), core::kPassoPiccolo)
                != core::EsitoRicerca::Arrestata;
        };
        auto dopoSatellite = [&](int numero) {
            if (frmProgress* f = frmProgress::instance(false))
                f->lblTask->setText(L("stocalcolando") + QLatin1Char(' ') + QString::number(numero)
                                    + QStringLiteral("\u00B0 ") + L("satellite"));
            valore = 0;
            return frmProgress::Passo(0) && finestra;
        };

        if (Index == 0) {
            gintSatelliteCalcolo = kSlotScratch;
            // The whole file across the machine's cores (core::RicercaMultipla):
            // the sets are read here, searched by the workers, and their rows
            // added in file order as each satellite's turn comes.
            std::vector<core::RicercaMultipla::Voce> voci;
            // The entries are a copy: the database may be reloaded meanwhile.
            const std::vector<RigaDati> db = gudtDatabasePrimario;
            voci.reserve(db.size());
            for (int i = 1; i <= core::Numero_Voci(db); ++i)
                voci.push_back({i, {}, db[size_t(i)]});
            core::RicercaMultipla tutti(std::move(voci), oss, opz, altezzaMinima, gsngFusoOrario, gbytOraLegale,
                                        inizio, fine, chkTransito->isChecked(), 0, gstrMagnitudini, gudtFrequenze);
            core::RisultatiSatellite r;
            while (!tutti.Finita() && !arrestata) {
                if (tutti.Prossimo(r, std::chrono::milliseconds(20))) {
                    mintIndiceSatellite = r.indice;
                    erroreSolutore = erroreSolutore || r.erroreSolutore;
                    const QString nome = vb::displayable(QString::fromStdString(r.nome));
                    // A pass carries the set it was found for, parsed as the
                    // search parsed it.
                    core::RecordPassaggio sat;
                    if (!r.passaggi.empty() && r.indice >= 1 && size_t(r.indice) < db.size()) {
                        sat.righe = db[size_t(r.indice)];
                        if (core::Analizza_Elementi(sat.righe.Riga0, sat.righe.Riga1, sat.righe.Riga2,
                                                    gstrMagnitudini, gudtFrequenze, sat.elementi)
                            != core::ErroreElementi::Nessuno)
                            r.passaggi.clear();
                        sat.numero = QString::fromStdString(sat.elementi.NumeroCatalogo);
                    }
                    for (const core::Passaggio& p : r.passaggi) {
                        if (!finestra)
                            break;
                        const core::FiltriPassaggio filtri{chkAM[k]->isChecked(), chkPM[k]->isChecked(),
                                                           chkSoloVisibili[k]->isChecked(), mdblAzimuthMin,
                                                           mdblAzimuthMax};
                        if (core::Passa_Filtri(p, filtri))
                            aggiungiRiga(p, nome, r.indice, sat);
                    }
                    if (!r.saltato) {
                        if (frmProgress* f = frmProgress::instance(false))
                            f->lblTask->setText(L("stocalcolando") + QLatin1Char(' ') + QString::number(r.indice)
                                                + QStringLiteral("\u00B0 ") + L("satellite"));
                    }
                }
                // The bar follows the satellites done; Stop is looked at every 20 ms.
                valore = tutti.Totale() > 0 ? max * tutti.Consegnati() / tutti.Totale() : max;
                arrestata = !frmProgress::Passo(valore) || !finestra;
            }
            Azzera_Satelement(kSlotScratch);
            Azzera_RigaDati(kSlotScratch);
        } else if (gintNumSatelliti > 0) {
            mintIndiceSatellite = 0;
            for (int slot = Index; slot <= limite && !arrestata; ++slot) {
                if (slot > gintNumSatelliti)
                    break;  // the list was shortened meanwhile
                gintSatelliteCalcolo = slot;
                const Satelement s = gudtSatelementi[size_t(slot)];
                const RigaDati righe = gudtRigheAttive[size_t(slot)];
                arrestata = !cercaSatellite(s, righe, slot) || !dopoSatellite(slot + 1);
            }
            gintSatelliteCalcolo = limite + 1;
        }
    }
    if (!finestra)
        return;
    if (m_chiudiDopo) {
        m_chiudiDopo = false;
        close();
        return;
    }
    if (arrestata) {
        lvwPass[k]->clear();
        lstPass[k]->clear();
        mostraLista(Index, true);
        return;
    }
    common::Davanti_A_Fine_Lavoro(this);
    riordina(Index);
    mostraLista(Index, true);
    // The messages wait for the user to be back in the program.
    const bool nessuno = lvwPass[k]->topLevelItemCount() == 0;
    common::Al_Ritorno(this, [erroreSolutore, nessuno, testo = L("nessunpassaggio")] {
        if (erroreSolutore)
            platform::MsgBox(QString::fromLatin1(astro::kMessaggioErrorePassaggi), platform::vbExclamation);
        if (nessuno)
            platform::MsgBox(testo, platform::vbInformation);
    });
    if (!nessuno) {
        QTreeWidgetItem* primo = lvwPass[k]->topLevelItem(0);
        lvwPass[k]->setCurrentItem(primo);
        lvwPass_ItemClick(Index, primo);
    }
}

void frmVisibleSatellites::aggiungiRiga(const core::Passaggio& p, const QString& nome, int indice,
                                        const core::RecordPassaggio& sat)
{
    const core::RigaRisultato r = core::Riga_Risultato(p, nome, indice);
    std::vector<core::RecordPassaggio>& passaggi = m_passaggi[size_t(mintScheda)];
    core::RecordPassaggio passaggio = sat;
    passaggio.jdSorgere = p.sorgere.jd;
    passaggio.jdCulmine = p.culmine.jd;
    passaggio.jdTramonto = p.tramonto.jd;
    passaggi.push_back(std::move(passaggio));
    auto* item = new QTreeWidgetItem(lvwPass[size_t(mintScheda)]);
    item->setText(0, r.testo);
    for (int c = 0; c < r.sottovoci.size(); ++c) {
        item->setText(c + 1, r.sottovoci[c]);
        if (c + 1 >= 2 && c + 1 <= 6)
            item->setTextAlignment(c + 1, Qt::AlignCenter);
    }
    // The culmination's state whole, as the language file words it (three
    // characters of it told "In" for "In eclisse").
    item->setText(4, core::Stato2Stringa(p.culmine.v.Stato));
    item->setData(0, Qt::UserRole, r.tag);
    item->setData(0, kRuoloPassaggio, qulonglong(passaggi.size() - 1));
}

// ---------------------------------------------------------------- closing

void frmVisibleSatellites::closeEvent(QCloseEvent* e)
{
    if (m_inCorso) {
        // Closing asks the run to stop; the window closes afterwards.
        pflgArresta = true;
        m_chiudiDopo = true;
        e->ignore();
        return;
    }
    e->accept();
    if (auto* cornice = parentWidget(); cornice && cornice->inherits("QMdiSubWindow"))
        cornice->close();
}

void frmVisibleSatellites::cmdCancel_Click(int)
{
    close();
}

void frmVisibleSatellites::cmdHelp_Click(int Index)
{
    Mostra_Aiuto(150 + 10 * Index, this);
}

bool frmVisibleSatellites::eventFilter(QObject* watched, QEvent* event)
{
    for (int i = 0; i < 3; ++i) {
        if (!lvwPass[size_t(i)] || !lstPass[size_t(i)])
            continue;
        if (watched == lvwPass[size_t(i)]->viewport() && event->type() == QEvent::MouseButtonPress) {
            auto* m = static_cast<QMouseEvent*>(event);
            if (m->button() == Qt::RightButton) {
                lvwPass_MouseDown(i, Qt::RightButton);
                return true;
            }
        }
        if (watched == lstPass[size_t(i)] && event->type() == QEvent::FocusOut)
            lstPass_LostFocus(i);
    }
    return QWidget::eventFilter(watched, event);
}
