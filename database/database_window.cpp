#include "database/database_window.h"
#include "common/help.h"

#include "controls/graph_button.h"
#include "core/clock.h"
#include "core/data_files.h"
#include "core/database.h"
#include "core/element_file.h"
#include "core/element_parser.h"
#include "core/globals_orbit.h"
#include "core/globals_time.h"
#include "core/mglobal.h"
#include "core/mlang.h"
#include "core/msat.h"
#include "core/settings.h"
#include "core/startup.h"
#include "core/working_list.h"
#include "database/element_set_viewer.h"
#include "common/window_host.h"
#include "common/progress_window.h"
#include "platform/file_chooser.h"
#include "platform/help_service.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/vb.h"
#include "common/main_window_link.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDrag>
#include <QDropEvent>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

// ==================================================================== model

namespace database {

int ModelloDatabase::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_testi.size());
}

QVariant ModelloDatabase::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_testi.size()))
        return {};
    if (role == Qt::DisplayRole) // a NUL byte or a bidirectional control as a blank
        return vb::displayable(m_testi[size_t(index.row())]);
    if (role == Qt::UserRole)
        return m_voci[size_t(index.row())];
    return {};
}

Qt::ItemFlags ModelloDatabase::flags(const QModelIndex& index) const
{
    return QAbstractListModel::flags(index) | Qt::ItemIsDragEnabled;
}

QStringList ModelloDatabase::mimeTypes() const
{
    return {QString::fromLatin1(kMimeDatabase)};
}

QMimeData* ModelloDatabase::mimeData(const QModelIndexList&) const
{
    // The drop adds whatever rows are selected when it happens.
    auto* m = new QMimeData;
    m->setData(QString::fromLatin1(kMimeDatabase), QByteArray("rows"));
    return m;
}

void ModelloDatabase::imposta(std::vector<core::RigaLista> righe)
{
    beginResetModel();
    m_testi.clear();
    m_voci.clear();
    m_testi.reserve(righe.size());
    m_voci.reserve(righe.size());
    for (auto& r : righe) {
        m_testi.push_back(std::move(r.testo));
        m_voci.push_back(r.voce);
    }
    endResetModel();
}

void ModelloDatabase::svuota()
{
    imposta({});
}

QString ModelloDatabase::testo(int riga) const
{
    return riga >= 0 && riga < int(m_testi.size()) ? m_testi[size_t(riga)] : QString();
}

int ModelloDatabase::voce(int riga) const
{
    return riga >= 0 && riga < int(m_voci.size()) ? m_voci[size_t(riga)] : 0;
}

} // namespace database

// ==================================================================== helpers

namespace {

const QString kSezione = QStringLiteral("frmDatabase");
constexpr int kContestoAiuto = 80;
QPointer<frmDatabase> g_database;

// What the labels of each database show, kept with the arrays, so that a
// window made again (after a change of language) shows the loaded files.
struct Statistiche {
    QString percorso;
    int n = 0;
    double vecchio = 0, recente = 0, media = 0;
    int magnitudini = 0;
};
std::array<Statistiche, 2> g_statistiche;

QString L(const char* chiave)
{
    return mLang::Testo_Lingua(kSezione, QString::fromLatin1(chiave));
}

QString L(const char* sezione, const char* chiave)
{
    return mLang::Testo_Lingua(QString::fromLatin1(sezione), QString::fromLatin1(chiave));
}

int msg(const QString& testo, int flags, const QString& titolo = {})
{
    return platform::MsgBox(testo, flags, titolo);
}

// A file that is there but could not be read, and why: "The file F could
// not be read: Permission denied". A reason that names the file already
// (larger than 64 MB, not an ordinary file) is a sentence of its own.
QString nonLetto(const QString& path, const QString& motivo)
{
    if (motivo.contains(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())))
        return motivo;
    return L("file") + QLatin1Char(' ') + path + QLatin1Char(' ') + L("nonletto") + QLatin1Char(' ') + motivo;
}

QString giorni(double v)
{
    return vb::Format(v, u"####0.0") + QLatin1Char(' ') + L("Def", "giorni");
}

QString testo(const std::string& s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// A menu item of the main window by its control name (null when none).
QAction* voceMenu(const char* nome)
{
    QWidget* main = common::Finestra_Principale();
    return main ? main->findChild<QAction*>(QString::fromLatin1(nome)) : nullptr;
}

// The hourglass for the life of the object, also when an error leaves early.
class Clessidra {
public:
    Clessidra() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Clessidra() { QApplication::restoreOverrideCursor(); }
};

// The hourglass over one window only (a long run that shows the progress
// window keeps the normal pointer over its Stop button), given back also
// when the window goes meanwhile.
class ClessidraFinestra {
public:
    explicit ClessidraFinestra(QWidget* w)
        : m_finestra(w)
    {
        w->setCursor(Qt::WaitCursor);
    }
    ~ClessidraFinestra()
    {
        if (m_finestra)
            m_finestra->unsetCursor();
    }

private:
    QPointer<QWidget> m_finestra;
};

} // namespace

// ==================================================================== window

frmDatabase::frmDatabase(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmDatabase"));
    creaControlli();
    connect(&core::WorkingList::instance(), &core::WorkingList::changed, this, &frmDatabase::riempiAttivi);
    Form_Load();
}

frmDatabase* frmDatabase::instance(bool create)
{
    if (!g_database && create) {
        g_database = new frmDatabase();
        // A child of the main window from the start, hidden until shown.
        common::Aggiungi_Figlia(g_database);
    }
    return g_database;
}

void frmDatabase::Unload()
{
    if (frmDatabase* f = g_database) {
        f->m_scarica = true;
        if (auto* sub = qobject_cast<QMdiSubWindow*>(f->parentWidget()))
            sub->deleteLater();
        g_database = nullptr;
        f->deleteLater();
    }
}

QWidget* frmDatabase::creaScheda(int i)
{
    auto* pagina = new QWidget;
    auto* box = new QGroupBox(pagina);
    (i == 0 ? fraDBPrincipale : fraDBSecondario) = box;
    box->setObjectName(i == 0 ? QStringLiteral("fraDBPrincipale") : QStringLiteral("fraDBSecondario"));
    auto* esterno = new QVBoxLayout(pagina);
    esterno->addWidget(box);
    auto* g = new QGridLayout(box);
    const QString n = QString::number(i);
    auto etichetta = [&](std::array<QLabel*, 2>& a, const char* nome) {
        a[size_t(i)] = new QLabel(box);
        a[size_t(i)]->setObjectName(QString::fromLatin1(nome) + n);
        return a[size_t(i)];
    };
    auto pulsante = [&](std::array<GraphButton*, 2>& a, const char* nome) {
        a[size_t(i)] = new GraphButton(box);
        a[size_t(i)]->setObjectName(QString::fromLatin1(nome) + n);
        a[size_t(i)]->setMinimumSize(90, 26);
        return a[size_t(i)];
    };

    auto* riga = new QHBoxLayout;
    riga->addWidget(etichetta(lblOrdinamento, "lblOrdinamento"));
    cmbOrdina[size_t(i)] = new QComboBox(box);
    cmbOrdina[size_t(i)]->setObjectName(QStringLiteral("cmbOrdina") + n);
    riga->addWidget(cmbOrdina[size_t(i)], 1);
    g->addLayout(riga, 0, 0);

    auto* lista = new QListView(box);
    lista->setObjectName(QStringLiteral("lstDatabase") + n);
    lista->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lista->setUniformItemSizes(true);
    lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QFont fisso(QStringLiteral("Courier New"));
    fisso.setStyleHint(QFont::TypeWriter);
    lista->setFont(fisso);
    modello[size_t(i)] = new database::ModelloDatabase(lista);
    lista->setModel(modello[size_t(i)]);
    lista->setMinimumSize(300, 260);
    lista->viewport()->installEventFilter(this);
    lstDatabase[size_t(i)] = lista;
    g->addWidget(lista, 1, 0, 1, 1);

    auto* frecce = new QVBoxLayout;
    frecce->addStretch();
    frecce->addWidget(pulsante(cmdAdd, "cmdAdd"));
    frecce->addWidget(pulsante(cmdRemove, "cmdRemove"));
    frecce->addStretch();
    cmdAdd[size_t(i)]->setCaption(QStringLiteral(">>"));
    cmdRemove[size_t(i)]->setCaption(QStringLiteral("<<"));
    cmdAdd[size_t(i)]->setMinimumSize(44, 30);
    cmdRemove[size_t(i)]->setMinimumSize(44, 30);
    cmdAdd[size_t(i)]->setEnabled(false);
    cmdRemove[size_t(i)]->setEnabled(false);
    g->addLayout(frecce, 1, 1);

    auto* stat = new QGridLayout;
    const std::pair<std::array<QLabel*, 2>*, const char*> coppie[][2] = {
        {{&lblSelezionati, "lblSelezionati"}, {&lblNumeroSelezionati, "lblNumeroSelezionati"}},
        {{&lblSatellitiCaricati, "lblSatellitiCaricati"}, {&lblCaricati, "lblCaricati"}},
        {{&lblParametriVecchi, "lblParametriVecchi"}, {&lblVecchi, "lblVecchi"}},
        {{&lblParametriRecenti, "lblParametriRecenti"}, {&lblRecenti, "lblRecenti"}},
        {{&lblMediaParametri, "lblMediaParametri"}, {&lblMedia, "lblMedia"}},
        {{&lblMagnitudini, "lblMagnitudini"}, {&lblNumeroMagnitudini, "lblNumeroMagnitudini"}},
    };
    int r = 0;
    for (const auto& c : coppie) {
        stat->addWidget(etichetta(*c[0].first, c[0].second), r, 0);
        QLabel* v = etichetta(*c[1].first, c[1].second);
        v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        stat->addWidget(v, r, 1);
        ++r;
    }
    lblNumeroSelezionati[size_t(i)]->setText(QStringLiteral("0"));
    lblCaricati[size_t(i)]->setText(QStringLiteral("0"));
    lblNumeroMagnitudini[size_t(i)]->setText(QStringLiteral("0"));
    g->addLayout(stat, 2, 0, 1, 2);

    auto* bottoni = new QHBoxLayout;
    bottoni->addWidget(pulsante(cmdDatabase, "cmdDatabase"));
    bottoni->addWidget(pulsante(cmdSommario, "cmdSommario"));
    bottoni->addWidget(pulsante(cmdVisibili, "cmdVisibili"));
    bottoni->addWidget(pulsante(cmdDownload, "cmdDownload"));
    g->addLayout(bottoni, 3, 0, 1, 2);

    connect(cmbOrdina[size_t(i)], &QComboBox::currentIndexChanged, this, [this, i] { cmbOrdina_Click(i); });
    connect(cmdAdd[size_t(i)], &GraphButton::Click, this, [this, i] { cmdAdd_Click(i); });
    connect(cmdRemove[size_t(i)], &GraphButton::Click, this, [this, i] { cmdRemove_Click(i); });
    connect(cmdDatabase[size_t(i)], &GraphButton::Click, this, [this, i] { cmdDatabase_Click(i); });
    connect(cmdSommario[size_t(i)], &GraphButton::Click, this, [this, i] { cmdSommario_Click(i); });
    connect(cmdVisibili[size_t(i)], &GraphButton::Click, this, [this, i] { cmdVisibili_Click(i); });
    connect(cmdDownload[size_t(i)], &GraphButton::Click, this, [this, i] { cmdDownload_Click(i); });
    connect(lista->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this, i] { lstDatabase_Click(i); });
    connect(lista, &QListView::doubleClicked, this, [this, i] { lstDatabase_DblClick(i); });
    return pagina;
}

void frmDatabase::creaControlli()
{
    auto* principale = new QVBoxLayout(this);
    // The window never gets smaller than its controls need, also inside the
    // main window's workspace.
    principale->setSizeConstraint(QLayout::SetMinimumSize);
    auto* corpo = new QHBoxLayout;
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(creaScheda(0), QString());
    SSTab1->addTab(creaScheda(1), QString());
    corpo->addWidget(SSTab1, 3);

    fraAttivi = new QGroupBox(this);
    fraAttivi->setObjectName(QStringLiteral("fraAttivi"));
    auto* a = new QVBoxLayout(fraAttivi);
    auto* conta = new QHBoxLayout;
    lblSatellitiAttivi = new QLabel(fraAttivi);
    lblSatellitiAttivi->setObjectName(QStringLiteral("lblSatellitiAttivi"));
    lblNumeroSatellitiAttivi = new QLabel(QStringLiteral("0"), fraAttivi);
    lblNumeroSatellitiAttivi->setObjectName(QStringLiteral("lblNumeroSatellitiAttivi"));
    conta->addWidget(lblSatellitiAttivi);
    conta->addWidget(lblNumeroSatellitiAttivi);
    conta->addStretch();
    a->addLayout(conta);
    lstActive = new QListWidget(fraAttivi);
    lstActive->setObjectName(QStringLiteral("lstActive"));
    lstActive->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstActive->setAcceptDrops(true);
    lstActive->viewport()->setAcceptDrops(true);
    lstActive->viewport()->installEventFilter(this);
    lstActive->setMinimumWidth(220);
    a->addWidget(lstActive, 1);
    auto crea = [&](GraphButton*& b, const char* nome) {
        b = new GraphButton(fraAttivi);
        b->setObjectName(QString::fromLatin1(nome));
        b->setMinimumSize(40, 26);
        return b;
    };
    auto* mosse = new QHBoxLayout;
    mosse->addWidget(crea(cmdUp, "cmdUp"));
    mosse->addWidget(crea(cmdDown, "cmdDown"));
    mosse->addWidget(crea(cmdOrder, "cmdOrder"));
    cmdUp->setCaption(QStringLiteral("\u25B2"));
    cmdDown->setCaption(QStringLiteral("\u25BC"));
    cmdOrder->setCaption(QStringLiteral("\u21BB"));
    a->addLayout(mosse);
    auto* altri = new QHBoxLayout;
    altri->addWidget(crea(cmdPrincipale, "cmdPrincipale"));
    altri->addWidget(crea(cmdRemoveAll, "cmdRemoveAll"));
    a->addLayout(altri);
    corpo->addWidget(fraAttivi, 2);
    principale->addLayout(corpo, 1);

    auto* fondo = new QHBoxLayout;
    fondo->addStretch();
    cmdOK = new GraphButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setMinimumSize(90, 26);
    cmdHelp = new GraphButton(this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    cmdHelp->setMinimumSize(90, 26);
    fondo->addWidget(cmdOK);
    fondo->addWidget(cmdHelp);
    principale->addLayout(fondo);

    lblGhost = new QLabel(this);
    lblGhost->setObjectName(QStringLiteral("lblGhost"));
    lblGhost->setFrameShape(QFrame::Box);
    lblGhost->hide();

    connect(cmdUp, &GraphButton::Click, this, &frmDatabase::cmdUp_Click);
    connect(cmdDown, &GraphButton::Click, this, &frmDatabase::cmdDown_Click);
    connect(cmdOrder, &GraphButton::Click, this, &frmDatabase::cmdOrder_Click);
    connect(cmdPrincipale, &GraphButton::Click, this, &frmDatabase::cmdPrincipale_Click);
    connect(cmdRemoveAll, &GraphButton::Click, this, &frmDatabase::cmdRemoveAll_Click);
    connect(cmdOK, &GraphButton::Click, this, &frmDatabase::cmdOK_Click);
    connect(cmdHelp, &GraphButton::Click, this, &frmDatabase::cmdHelp_Click);
    connect(lstActive, &QListWidget::itemClicked, this, &frmDatabase::lstActive_Click);
    connect(lstActive, &QListWidget::itemSelectionChanged, this, [this] {
        if (!lstActive->selectedItems().isEmpty())
            lstActive_Click();
    });
    connect(lstActive, &QListWidget::itemDoubleClicked, this, &frmDatabase::lstActive_DblClick);
    resize(900, 560);
}

void frmDatabase::Lingua()
{
    setWindowTitle(L("dbsatelliti"));
    SSTab1->setTabText(0, L("dbprincipale"));
    SSTab1->setTabText(1, L("dbsecondario"));
    for (size_t i = 0; i < 2; ++i) {
        lblSelezionati[i]->setText(L("selezionati"));
        const QSignalBlocker blocco(cmbOrdina[i]);
        cmbOrdina[i]->clear();
        for (const char* k : core::kTestiChiavi)
            cmbOrdina[i]->addItem(L(k));
        cmbOrdina[i]->setCurrentIndex(-1);
        lblSatellitiCaricati[i]->setText(L("satelliticaricati"));
        lblParametriVecchi[i]->setText(L("parametrivecchi"));
        lblParametriRecenti[i]->setText(L("parametrirecenti"));
        lblMediaParametri[i]->setText(L("mediaparametri"));
        const QString zero = QStringLiteral("0 ") + L("Def", "giorni");
        lblVecchi[i]->setText(zero);
        lblRecenti[i]->setText(zero);
        lblMedia[i]->setText(zero);
        lblMagnitudini[i]->setText(L("magnitudinidisp"));
        cmdSommario[i]->setCaption(L("sommario"));
        cmdDatabase[i]->setCaption(L("apri"));
        lblOrdinamento[i]->setText(L("ordinamento"));
        lstDatabase[i]->setToolTip(L("doppioclickparametri"));
        cmdAdd[i]->setToolTip(L("aggiungi"));
        cmdRemove[i]->setToolTip(L("rimuovi"));
        cmdVisibili[i]->setCaption(L("Buttons", "intransito"));
        cmdDownload[i]->setCaption(L("Buttons", "download"));
    }
    cmdRemoveAll->setCaption(L("elimina"));
    cmdPrincipale->setCaption(L("principale"));
    lblSatellitiAttivi->setText(L("satellitiattivi"));
    cmdOrder->setToolTip(L("ordine"));
    cmdUp->setToolTip(L("spostasu"));
    cmdDown->setToolTip(L("spostagiu"));
    lstActive->setToolTip(L("doppioclickparametri"));
    cmdOK->setCaption(L("Buttons", "ok"));
    cmdHelp->setCaption(L("Buttons", "help"));
}

void frmDatabase::Form_Load()
{
    Lingua();
    riempiAttivi();
    for (int i = 0; i < 2; ++i) {
        // A file still loaded keeps its list and figures.
        const Statistiche& st = g_statistiche[size_t(i)];
        if (st.n > 0 && core::Numero_Voci(core::Database(i)) == st.n) {
            m_percorso[size_t(i)] = st.percorso;
            mostraStatistiche(i, st.n, st.vecchio, st.recente, st.media, st.magnitudini);
        }
        cmbOrdina[size_t(i)]->setCurrentIndex(0); // runs the rebuild
    }
    SSTab1->setCurrentIndex(0);
}

void frmDatabase::Form_QueryUnload(bool& Cancel, int UnloadMode)
{
    Cancel = false;
    if (UnloadMode == 0 && !m_scarica) {
        Cancel = true;
        nascondi();
    }
}

void frmDatabase::closeEvent(QCloseEvent* e)
{
    // The user's close box (and cmdOK) only hide the window; it unloads with
    // the program or through Unload.
    QWidget* main = common::Finestra_Principale();
    bool cancel = false;
    Form_QueryUnload(cancel, main && main->isVisible() && !common::Scaricamento_In_Corso() ? 0 : 1);
    if (cancel) {
        e->ignore();
        return;
    }
    QWidget::closeEvent(e);
}

void frmDatabase::nascondi()
{
    common::Nascondi_Figlia(this);
}

void frmDatabase::mostra()
{
    common::Mostra_Figlia(this);
}

// ------------------------------------------------------------ lists

int frmDatabase::righe(int indice) const
{
    return modello[size_t(indice & 1)]->rowCount();
}

QList<int> frmDatabase::righeSelezionate(int indice) const
{
    // Read from the selection's ranges: asking the selection model for its
    // rows costs a pass over every range for every row, seconds when a
    // whole catalogue is selected here and there.
    const int n = righe(indice);
    std::vector<char> scelta(static_cast<size_t>(n), 0);
    for (const QItemSelectionRange& g : lstDatabase[size_t(indice & 1)]->selectionModel()->selection())
        for (int r = std::max(g.top(), 0); r <= std::min(g.bottom(), n - 1); ++r)
            scelta[size_t(r)] = 1;
    QList<int> out;
    for (int r = 0; r < n; ++r)
        if (scelta[size_t(r)])
            out << r;
    return out;
}

void frmDatabase::seleziona(int indice, const QList<int>& righe)
{
    auto* m = modello[size_t(indice & 1)];
    QItemSelection s;
    for (int r : righe)
        s.select(m->index(r), m->index(r));
    lstDatabase[size_t(indice & 1)]->selectionModel()->select(s, QItemSelectionModel::ClearAndSelect);
    if (!righe.isEmpty())
        lstDatabase[size_t(indice & 1)]->selectionModel()->setCurrentIndex(m->index(righe.last()),
                                                                           QItemSelectionModel::NoUpdate);
}

void frmDatabase::cmbOrdina_Click(int Index)
{
    const size_t i = size_t(Index & 1);
    Clessidra clessidra;
    modello[i]->svuota();
    const int chiave = cmbOrdina[i]->currentIndex();
    if (chiave >= 0 && chiave < core::kNumeroChiavi)
        modello[i]->imposta(core::Righe_Ordinate(core::Database(Index & 1), chiave));
    // The rebuilt list starts from its first row.
    lstDatabase[i]->scrollToTop();
    lblNumeroSelezionati[i]->setText(QStringLiteral("0"));
}

void frmDatabase::riempiAttivi()
{
    // Row r shows slot r + 1: the trimmed name line of the set as read.
    const QSignalBlocker blocco(lstActive);
    lstActive->clear();
    for (int k = 1; k <= gintNumSatelliti; ++k)
        lstActive->addItem(vb::displayable(vb::Trim(testo(gudtRigheAttive[size_t(k)].Riga0))));
    lblNumeroSatellitiAttivi->setText(QString::number(gintNumSatelliti));
}

void frmDatabase::selezionaAttivo(int riga)
{
    lstActive->clearSelection();
    if (riga >= 0 && riga < lstActive->count()) {
        lstActive->setCurrentRow(riga);
        lstActive->item(riga)->setSelected(true);
    }
}

void frmDatabase::mostraStatistiche(int indice, int n, double vecchio, double recente, double media,
                                    int magnitudini)
{
    const size_t i = size_t(indice);
    lblCaricati[i]->setText(QString::number(n));
    lblVecchi[i]->setText(giorni(vecchio));
    lblRecenti[i]->setText(giorni(recente));
    lblMedia[i]->setText(giorni(media));
    lblNumeroMagnitudini[i]->setText(QString::number(magnitudini));
    lblNumeroSelezionati[i]->setText(QStringLiteral("0"));
    QGroupBox* box = indice == 0 ? fraDBPrincipale : fraDBSecondario;
    box->setTitle(vb::displayable(m_percorso[i]));
    box->setToolTip(Qt::convertFromPlainText(m_percorso[i]));
}

// ------------------------------------------------------------ loading

bool frmDatabase::Database_satelliti(QString& path)
{
    m_tag = QStringLiteral("-1");
    if (path.isEmpty()) {
        apri(0);
        return false;
    }
    return carica(0, path);
}

bool frmDatabase::Database_satelliti_secondario(QString& path)
{
    return carica(1, path);
}

bool frmDatabase::carica(int indice, QString& path)
{
    const size_t i = size_t(indice);
    core::EsitoCaricamento esito;
    // Why a file did not load, told as the load ends.
    QString avviso;
    {
        core::LavoroLungo lavoro;
        if (!lavoro.acquisito()) {
            msg(L("Dialogs", "lavoroincorso"), platform::vbInformation);
            return false;
        }
        // A named pipe would hold the open below until a writer came; a
        // device or a folder is no element file either.
        const std::optional<QString> nonOrdinario = vb::notRegularFile(path);
        QFile prova(path);
        if (nonOrdinario || !prova.open(QIODevice::ReadOnly)) {
            // Nothing has changed. A file that is there but cannot be read
            // (no permission) is not called missing: the system's reason.
            esito.stato = core::EsitoCaricamento::Stato::NonApribile;
            if (indice == 0)
                gstrDatabasePrimario = m_percorso[0].isEmpty() ? gstrDatabasePrimario : m_percorso[0];
            avviso = (nonOrdinario       ? *nonOrdinario
                      : vb::fileMissing(path) ? L("file") + QLatin1Char(' ') + path + QLatin1Char(' ') + L("nontrovato")
                                              : nonLetto(path, vb::systemReason(prova.errorString())))
                + QLatin1Char('\r') + L("selezionarenuovofile");
        } else {
            const qint64 lunghezza = prova.size();
            prova.close();
            // Window events run while the progress shows and between sets:
            // should the window be unloaded meanwhile (the program closing),
            // the load stops and changes nothing.
            const QPointer<frmDatabase> finestra(this);
            const QString file = path;
            frmProgress::Mostra(L("frmProgress", "letturasatelliti"), double(lunghezza));
            if (!finestra) {
                frmProgress::Unload();
                return false;
            }
            const bool visibile = isVisible();
            nascondi();
            // The clock leaves the working list alone while the principal
            // file is read and matched; the flag comes back whatever happens.
            std::optional<core::FlagGuard> satelliti;
            if (indice == 0)
                satelliti.emplace(pflgSatellite, false);
            int letti = 0;
            esito = core::Carica_File_Elementi(file, gdblGiornoGiuliano, [&](qsizetype pos, qsizetype) {
                ++letti;
                if (!finestra)
                    return false;
                if (indice == 0)
                    m_tag = QString::number(letti);
                return frmProgress::Passo(double(pos)) && finestra;
            });
            frmProgress::Unload();
            if (!finestra)
                return false;

            if (esito.ok()) {
                // Commit: the arrays, the list, the statistics.
                const int n = esito.numero();
                const double media = esito.media();
                core::Database(indice) = std::move(esito.voci);
                m_percorso[i] = path;
                if (indice == 0)
                    gstrDatabasePrimario = path;
                cmbOrdina_Click(indice);
                g_statistiche[i] = {path, n, esito.vecchio, esito.recente, media, esito.conMagnitudine};
                mostraStatistiche(indice, n, esito.vecchio, esito.recente, media, esito.conMagnitudine);
                if (indice == 0)
                    Abbina_Lista_Lavoro();
            } else if (esito.stato != core::EsitoCaricamento::Stato::Annullato) {
                // A bad file: the database, the lists and the working list
                // stay as they were; the file of the database still loaded
                // stays the principal file
                // (none loaded yet: no principal file).
                if (indice == 0)
                    gstrDatabasePrimario = m_percorso[0];
                if (esito.stato == core::EsitoCaricamento::Stato::NonApribile)
                    // Too large, or it could not be read: said as for a
                    // file that cannot be opened.
                    avviso = nonLetto(path, esito.errore) + QLatin1Char('\r') + L("selezionarenuovofile");
                else
                    // Format file is offered only where it mends the fault:
                    // it cannot restore a line missing or out of place.
                    avviso = L("Dialogs", "formatononvalido") + QStringLiteral("\r\n") + Motivo_Caricamento(esito)
                        + QStringLiteral("\r\n") + L("aprirenuovofile") + QStringLiteral("\r\n")
                        + L(esito.riparabile() ? "funzioneriparazione" : "riparazioneamano");
            } else if (indice == 0 && !m_percorso[0].isEmpty()) {
                gstrDatabasePrimario = m_percorso[0];
            }
            if (visibile || esito.ok())
                common::Davanti_A_Fine_Lavoro(this);
        }
    }
    if (esito.ok())
        return true;
    // The reason, then the open dialog for another file: once the user is
    // in the program, so that neither takes the keys typed in another one
    // while the file was read.
    if (esito.stato != core::EsitoCaricamento::Stato::Annullato)
        common::Al_Ritorno(this, [this, indice, avviso] {
            if (!avviso.isEmpty())
                msg(avviso, platform::vbExclamation);
            apri(indice);
        });
    return false;
}

QString frmDatabase::Motivo_Caricamento(const core::EsitoCaricamento& esito)
{
    using Stato = core::EsitoCaricamento::Stato;
    const char* chiave = nullptr;
    switch (esito.stato) {
    case Stato::Troncato:
        chiave = "motivotroncato";
        break;
    case Stato::AnnoNonValido:
        chiave = "motivoanno";
        break;
    case Stato::CatalogoNonValido:
        chiave = "motivocatalogo";
        break;
    case Stato::NomeAtteso:
        chiave = "motivonome";
        break;
    case Stato::Riga1Attesa:
        chiave = "motivoriga1";
        break;
    case Stato::Riga2Attesa:
        chiave = "motivoriga2";
        break;
    case Stato::CatalogoDiverso:
        chiave = "motivocatalogodiverso";
        break;
    case Stato::SpaziIniziali:
        chiave = "motivospazi";
        break;
    case Stato::RigheBianche:
        chiave = "motivorighebianche";
        break;
    case Stato::Vuoto:
        return L("motivovuoto");
    default:
        return {};
    }
    return L("MDIForm1", "riga") + QLatin1Char(' ') + QString::number(esito.riga) + QStringLiteral(": ")
        + L(chiave);
}

void frmDatabase::Abbina_Lista_Lavoro()
{
    // Every listed satellite takes its elements from the new file, the
    // first set of its catalogue number (as written) in file order. A set
    // the parser refuses is no update: the satellite keeps the elements it
    // had. Satellites not in the file leave the list, their sets kept first
    // in the file of removed sets; when they cannot be kept they stay.
    const int richiesti = gintNumSatelliti;
    std::vector<std::string> cataloghi;
    for (int k = 1; k <= richiesti; ++k)
        cataloghi.push_back(gudtSatelementi[size_t(k)].NumeroCatalogo);
    // The sets found, in slot order; a listed number is never listed twice,
    // so walking both in step tells each slot's set.
    const core::EsitoAbbinamento abbinati = core::Abbina_Lista_Lavoro(cataloghi, gudtDatabasePrimario);
    std::size_t prossimo = 0;
    core::WorkingList& wl = core::WorkingList::instance();
    const QString fine = QStringLiteral("\r\n");
    std::vector<RigaDati> nuova;
    QList<int> assenti;
    QStringList nomiAssenti, rifiutati;
    int trovati = 0;
    bool principaleTrovato = false;
    for (int k = 1; k <= richiesti; ++k) {
        if (prossimo >= abbinati.lista.size()
            || core::Colonne(abbinati.lista[prossimo].Riga1, 3, 7) != cataloghi[size_t(k - 1)]) {
            assenti << k;
            nomiAssenti << vb::Trim(testo(gudtSatelementi[size_t(k)].Nome));
            nuova.push_back(gudtRigheAttive[size_t(k)]);   // dropped below once kept
            continue;
        }
        const RigaDati& set = abbinati.lista[prossimo++];
        ++trovati;
        if (k == 1)
            principaleTrovato = true;
        Satelement e;
        const core::ErroreElementi r =
            core::Analizza_Elementi(set.Riga0, set.Riga1, set.Riga2, gstrMagnitudini, gudtFrequenze, e);
        if (r != core::ErroreElementi::Nessuno) {
            // The parser's text begins with its own heading line; where it
            // does not place the field itself, its columns are added.
            QString t = core::Testo_Errore_Elementi(r, set);
            const qsizetype a = t.indexOf(fine);
            if (a >= 0)
                t = t.mid(a + fine.size());
            struct Campo {
                core::ErroreElementi errore;
                int riga, da, al;
            };
            static constexpr Campo kCampi[] = {
                {core::ErroreElementi::CatalogoNonValido, 1, 3, 7},
                {core::ErroreElementi::EpocaNonValida, 1, 19, 32},
                {core::ErroreElementi::ResistenzaNonValida, 1, 34, 61},
                {core::ErroreElementi::EccentricitaNonValida, 2, 27, 33},
                {core::ErroreElementi::MotoMedioNonValido, 2, 53, 63},
            };
            for (const Campo& c : kCampi)
                if (c.errore == r)
                    t += QStringLiteral(" (%1 %2, %3 %4-%5)")
                             .arg(L("MDIForm1", "riga"))
                             .arg(c.riga)
                             .arg(L("MDIForm1", "colonne"))
                             .arg(c.da)
                             .arg(c.al);
            rifiutati << t;
            nuova.push_back(gudtRigheAttive[size_t(k)]);
            continue;
        }
        nuova.push_back(set);
    }
    QString motivo;
    const bool conservati = assenti.isEmpty() || wl.Conserva_Rimossi(core::WorkingList::Testo_Slot(assenti), &motivo);
    {
        core::WorkingList::Modifica gruppo;
        QList<int> tutti;
        for (int k = 1; k <= richiesti; ++k)
            tutti << k;
        const std::vector<RigaDati> vecchi(gudtRigheAttive.begin() + 1, gudtRigheAttive.begin() + 1 + richiesti);
        wl.Rimuovi(tutti);
        for (int k = 1; k <= richiesti; ++k) {
            if (conservati && assenti.contains(k))
                continue;
            // A set that loaded before loads again; should the new one fail
            // after all, the old one takes its place.
            if (wl.Aggiungi(nuova[size_t(k - 1)]).esito != core::WorkingList::Esito::Aggiunto)
                wl.Aggiungi(vecchi[size_t(k - 1)]);
        }
    }
    QStringList messaggi;
    if (richiesti >= 1) {
        QString t = L("databasecontiene") + QLatin1Char(' ') + QString::number(trovati) + QLatin1Char(' ') + L("su")
            + QLatin1Char(' ') + QString::number(richiesti) + QLatin1Char(' ') + L("satellitipreimpostati");
        if (!rifiutati.isEmpty())
            t += fine + fine + L("setrifiutati") + fine + core::Elenco_Breve(rifiutati, fine);
        if (!assenti.isEmpty()) {
            t += fine + fine;
            if (conservati)
                t += L("satellitiassenti") + fine + core::Elenco_Breve(nomiAssenti, QStringLiteral(", "));
            else
                t += L("MDIForm1", "rimossinonconservati") + fine + motivo + fine + L("satellitirestano");
            if (conservati && !wl.File_Rimossi().isEmpty())
                t += fine + L("MDIForm1", "rimossiconservati") + fine
                    + QDir::toNativeSeparators(wl.File_Rimossi());
        }
        messaggi << t;
    }
    if (!principaleTrovato && conservati && gintNumSatelliti > 0)
        messaggi << L("satellitenondisponibile");
    // What the load did to the list: once the user is in the program.
    if (!messaggi.isEmpty())
        common::Al_Ritorno(this, [messaggi] {
            for (const QString& m : messaggi)
                msg(m, platform::vbInformation);
        });
    riempiAttivi();
}

void frmDatabase::Apertura_database(int indice)
{
    platform::FileDialogRequest req;
    req.title = L("Dialogs", "apritle");
    req.filter = L("Dialogs", "filtrotle");
    if (indice == 0 && !gstrDatabasePrimario.isEmpty())
        req.fileName = gstrDatabasePrimario;
    auto* files = platform::services().files;
    if (!files)
        return;
    const std::optional<QString> scelto = files->openFile(req, common::Finestra_Principale());
    if (!scelto || QFileInfo(*scelto).size() == 0)
        return;
    frmDatabase* f = instance();
    QString path = *scelto;
    if (indice == 0) {
        gstrDatabasePrimario = path;
        f->Database_satelliti(path);
    } else {
        f->Database_satelliti_secondario(path);
    }
    if (g_database)
        common::Davanti_A_Fine_Lavoro(g_database);
}

void frmDatabase::Mostra_Database()
{
    frmDatabase* f = instance();
    if (f->righe(0) == 0) {
        // No principal file yet: the open dialog asks for one.
        QString path = gstrDatabasePrimario;
        f->Database_satelliti(path);
    }
    if (g_database)
        g_database->mostra();
}

// ------------------------------------------------------------ working-list editor

void frmDatabase::cmdAdd_Click(int Index)
{
    const int indice = Index & 1;
    const QList<int> selezione = righeSelezionate(indice);
    if (selezione.isEmpty()) {
        msg(L("nosatelliteselezionato"), platform::vbInformation);
        return;
    }
    const std::vector<RigaDati>& db = core::Database(indice);
    core::WorkingList& wl = core::WorkingList::instance();
    // One message for the whole operation, naming the satellites it
    // concerns (the first ten, then a count), after the list has changed.
    QStringList doppi, nonValidi;
    bool pieno = false;
    {
        core::WorkingList::Modifica gruppo;
        for (int riga : selezione) {
            if (gintNumSatelliti >= kMaxSatelliti) {
                pieno = true;
                break;
            }
            const int e = modello[size_t(indice)]->voce(riga);
            if (e < 1 || e >= int(db.size()))
                continue;
            const RigaDati& set = db[size_t(e)];
            const std::string c = core::Colonne(set.Riga1, 3, 7);
            int doppio = 0;
            for (int k = 1; k <= gintNumSatelliti && !doppio; ++k)
                if (gudtSatelementi[size_t(k)].NumeroCatalogo == c)
                    doppio = k;
            if (!doppio) {
                const core::WorkingList::Risultato r = wl.Aggiungi(set);
                if (r.esito == core::WorkingList::Esito::Duplicato) {
                    doppio = r.slot;
                } else if (r.esito == core::WorkingList::Esito::NonValido) {
                    nonValidi << core::Testo_Errore_Elementi(r.errore, set);
                } else if (r.esito == core::WorkingList::Esito::Pieno) {
                    pieno = true;
                    break;
                }
            }
            if (doppio)
                doppi << vb::Trim(testo(gudtSatelementi[size_t(doppio)].Nome));
        }
    }
    const QString fine = QStringLiteral("\r\n");
    QStringList parti;
    if (!doppi.isEmpty())
        parti << L("satellitegiainelenco") + fine + core::Elenco_Breve(doppi, fine);
    if (!nonValidi.isEmpty())
        parti << core::Elenco_Breve(nonValidi, fine + fine);
    if (pieno)
        parti << L("limiteraggiunto1") + QLatin1Char('\r') + L("limiteraggiunto2");
    if (!parti.isEmpty())
        msg(parti.join(fine + fine), pieno || !nonValidi.isEmpty() ? platform::vbExclamation : platform::vbInformation);
}

void frmDatabase::cmdRemove_Click(int)
{
    QList<int> slot;
    for (int r = lstActive->count() - 1; r >= 0; --r)
        if (lstActive->item(r)->isSelected())
            slot << r + 1;
    if (slot.isEmpty()) {
        msg(L("nosatelliteselezionato"), platform::vbInformation);
        return;
    }
    core::WorkingList::instance().Rimuovi(slot);
    riempiAttivi();
    if (gintNumSatelliti == 0) {
        Aggiorna_finestre();
        cmdRemove[0]->setEnabled(false);
        cmdRemove[1]->setEnabled(false);
    }
}

void frmDatabase::cmdRemoveAll_Click()
{
    if (lstActive->count() < 1)
        return;
    if (msg(L("richiestacancellazione"), platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2)
        != platform::vbYes)
        return;
    core::WorkingList::instance().Rimuovi_Tutti();
    for (Valori& v : gudtValori)
        v = Valori{};
    riempiAttivi();
    Aggiorna_finestre();
}

bool frmDatabase::provaSelezione()
{
    const int n = int(lstActive->selectedItems().size());
    if (lstActive->count() > 0 && n != 1) {
        msg(L("selezionaresatellite"), platform::vbInformation);
        return false;
    }
    return n == 1;
}

void frmDatabase::cmdUp_Click()
{
    if (!provaSelezione())
        return;
    const int r = lstActive->row(lstActive->selectedItems().first());
    if (r <= 0)
        return;
    core::WorkingList::instance().Scambia(r, r + 1);
    riempiAttivi();
    selezionaAttivo(r - 1);
    if (r - 1 == 0)
        Aggiorna_principale();
}

void frmDatabase::cmdDown_Click()
{
    if (!provaSelezione())
        return;
    const int r = lstActive->row(lstActive->selectedItems().first());
    if (r >= lstActive->count() - 1)
        return;
    core::WorkingList::instance().Scambia(r + 1, r + 2);
    riempiAttivi();
    selezionaAttivo(r + 1);
    if (r == 0)
        Aggiorna_principale();
}

void frmDatabase::cmdPrincipale_Click()
{
    if (!provaSelezione())
        return;
    const int r = lstActive->row(lstActive->selectedItems().first());
    if (r <= 0)
        return;
    core::WorkingList::instance().Rendi_Principale(r + 1);
    riempiAttivi();
    selezionaAttivo(0);
    Aggiorna_principale();
}

void frmDatabase::Principale(int slot)
{
    if (slot < 1 || slot > lstActive->count())
        return;
    selezionaAttivo(slot - 1);
    cmdPrincipale_Click();
}

void frmDatabase::cmdOrder_Click()
{
    if (gintNumSatelliti <= 0)
        return;
    core::WorkingList::instance().Ruota();
    riempiAttivi();
    Aggiorna_principale();
}

void frmDatabase::Aggiorna_principale()
{
    if (mGlobal::Form_Aperta(QStringLiteral("frmWorldMap"))) {
        mSat::Calcola_Satellite(1, gdblGiornoGiuliano);
        if (core::WorldMapView* mappa = core::clockViews().worldMap)
            mappa->Genera_mappa();
    }
    if (mGlobal::Form_Aperta(QStringLiteral("frmLocalSky"))) {
        // The principal's transit belongs to the former principal: its own
        // menu command switches it off and redraws the chart.
        QAction* transito = voceMenu("mnuLocalSkyTransitoPrincipale");
        if (transito && transito->isChecked())
            transito->trigger();
    }
}

void frmDatabase::Aggiorna_finestre()
{
    if (mGlobal::Form_Aperta(QStringLiteral("frmWorldMap"))) {
        if (QAction* ridisegna = voceMenu("mnuWorldmapRidisegnaMappa"))
            ridisegna->trigger();
        if (core::WorldMapView* mappa = core::clockViews().worldMap)
            mappa->Azzera_dati();
    }
    if (mGlobal::Form_Aperta(QStringLiteral("frmLocalSky"))) {
        if (core::LocalSkyView* cielo = core::clockViews().localSky)
            cielo->Azzera_dati();
    }
}

void frmDatabase::cmdVisibili_Click(int Index)
{
    const int indice = Index & 1;
    auto* m = modello[size_t(indice)];
    const int n = m->rowCount();
    if (n < 1)
        return;
    core::LavoroLungo lavoro;
    if (!lavoro.acquisito()) {
        msg(L("Dialogs", "lavoroincorso"), platform::vbInformation);
        return;
    }
    // Window events run between sets while the progress shows: the list may
    // be re-sorted meanwhile, so the entries are taken now and the rows found
    // again at the end; the sets are a copy, whatever happens to the database.
    std::vector<int> voci(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r)
        voci[size_t(r)] = m->voce(r);
    const std::vector<RigaDati> db = core::Database(indice);
    const QPointer<frmDatabase> finestra(this);
    std::vector<char> sopra(db.size(), 0);
    bool completo = true;
    {
        // The clock leaves slot 201 alone meanwhile; flag and pointer come
        // back also when a computation fails or the run is stopped.
        core::FlagGuard satelliti(pflgSatellite, false);
        ClessidraFinestra clessidra(this);
        frmProgress::Mostra(L("Buttons", "intransito"), double(n));
        const double adesso = gdblGiornoGiuliano;
        for (int r = 0; r < n && completo; ++r) {
            const int e = voci[size_t(r)];
            if (e >= 1 && e < int(db.size())) {
                const RigaDati& s = db[size_t(e)];
                if (Estrai_Dati_Satellite(kSlotScratch, s.Riga0, s.Riga1, s.Riga2) == core::ErroreElementi::Nessuno
                    && mSat::Calcola_Satellite(kSlotScratch, adesso) && gudtValori[kSlotScratch].Altezza > 0)
                    sopra[size_t(e)] = 1;
            }
            completo = frmProgress::Passo(double(r + 1)) && finestra;
        }
        frmProgress::Unload();
    }
    // Stopped (or the window unloaded): the selection stays as it was.
    if (!completo)
        return;
    // Neighbouring rows make one range, and the old selection goes first:
    // the selection model compares an old and a new selection range by
    // range, which with thousands of ranges on both sides takes seconds.
    auto sceltaRiga = [&](int r) {
        const int e = m->voce(r);
        return e >= 1 && e < int(sopra.size()) && sopra[size_t(e)];
    };
    QItemSelection scelte;
    const int righe = m->rowCount();
    for (int r = 0; r < righe; ++r) {
        if (!sceltaRiga(r))
            continue;
        const int da = r;
        while (r + 1 < righe && sceltaRiga(r + 1))
            ++r;
        scelte.select(m->index(da), m->index(r));
    }
    QItemSelectionModel* selezione = lstDatabase[size_t(indice)]->selectionModel();
    selezione->clearSelection();
    selezione->select(scelte, QItemSelectionModel::Select);
}

void frmDatabase::cmdOK_Click()
{
    bool cancel = true;
    Form_QueryUnload(cancel, 0);
}

void frmDatabase::cmdHelp_Click()
{
    Mostra_Aiuto(kContestoAiuto, this);
}

void frmDatabase::cmdDownload_Click(int)
{
    if (QAction* a = voceMenu("mnuStrumentiDownload"))
        a->trigger();
}

void frmDatabase::cmdDatabase_Click(int Index)
{
    apri(Index & 1);
}

void frmDatabase::apri(int indice)
{
    // The main window's open command when the program runs.
    if (MainWindowLink* main = MainWindowLink::instance())
        main->Apertura_database(indice);
    else
        Apertura_database(indice);
}

namespace {
std::function<void(int)>& apriSommario()
{
    static std::function<void(int)> apri;
    return apri;
}
} // namespace

void frmDatabase::setApriSommario(std::function<void(int Index)> apri)
{
    apriSommario() = std::move(apri);
}

void frmDatabase::cmdSommario_Click(int Index)
{
    if (righe(Index & 1) < 1 || !apriSommario())
        return;
    apriSommario()(Index & 1);
}

// ------------------------------------------------------------ list events

void frmDatabase::lstActive_Click()
{
    cmdRemove[0]->setEnabled(true);
    cmdRemove[1]->setEnabled(true);
}

void frmDatabase::lstDatabase_Click(int Index)
{
    const size_t i = size_t(Index & 1);
    const int n = int(righeSelezionate(Index).size());
    cmdAdd[i]->setEnabled(true);
    lblNumeroSelezionati[i]->setText(QString::number(n));
}

void frmDatabase::lstActive_DblClick()
{
    frmSatellite::Mostra(lstActive->currentRow() + 1);
}

void frmDatabase::lstDatabase_DblClick(int Index)
{
    const int indice = Index & 1;
    const QModelIndex corrente = lstDatabase[size_t(indice)]->currentIndex();
    if (!corrente.isValid())
        return;
    const int e = modello[size_t(indice)]->voce(corrente.row());
    const std::vector<RigaDati>& db = core::Database(indice);
    if (e < 1 || e >= int(db.size()))
        return;
    const RigaDati& s = db[size_t(e)];
    const core::ErroreElementi r = Estrai_Dati_Satellite(kSlotScratch, s.Riga0, s.Riga1, s.Riga2);
    if (r != core::ErroreElementi::Nessuno) {
        msg(core::Testo_Errore_Elementi(r, s), platform::vbExclamation);
        return;
    }
    frmSatellite::Mostra(kSlotScratch);
}

bool frmDatabase::lstDatabase_MouseMove(int Index, Qt::MouseButtons buttons, int y)
{
    if (buttons != Qt::LeftButton)
        return false;
    QListView* lista = lstDatabase[size_t(Index & 1)];
    // A band one row high across the list, centred on the pointer.
    const int h = lista->fontMetrics().height();
    const QPoint origine = lista->mapTo(this, QPoint(0, 0));
    lblGhost->setGeometry(origine.x(), origine.y() + y - h / 2, lista->width(), h);
    if (trascinamentoDiProva) {
        trascinamentoDiProva(Index & 1);
        return true;
    }
    auto* drag = new QDrag(lista);
    drag->setMimeData(modello[size_t(Index & 1)]->mimeData({}));
    QPixmap banda(lblGhost->size());
    banda.fill(Qt::transparent);
    {
        QPainter p(&banda);
        p.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        p.drawRect(banda.rect().adjusted(0, 0, -1, -1));
    }
    drag->setPixmap(banda);
    drag->setHotSpot(QPoint(lista->viewport()->mapFromGlobal(QCursor::pos()).x(), h / 2));
    drag->exec(Qt::CopyAction);
    return true;
}

void frmDatabase::lstActive_DragDrop()
{
    cmdAdd_Click(SSTab1->currentIndex());
    if (gintNumSatelliti > 0)
        lstActive->setCurrentRow(gintNumSatelliti - 1, QItemSelectionModel::NoUpdate);
}

bool frmDatabase::eventFilter(QObject* watched, QEvent* event)
{
    for (int i = 0; i < 2; ++i) {
        if (lstDatabase[size_t(i)] && watched == lstDatabase[size_t(i)]->viewport()
            && event->type() == QEvent::MouseMove) {
            auto* me = static_cast<QMouseEvent*>(event);
            if (!modello[size_t(i)]->rowCount())
                return false;
            // A drag starts once the pointer has moved the system's drag
            // distance with the left button alone held down.
            if ((me->position().toPoint() - m_pressione).manhattanLength() < QApplication::startDragDistance())
                return false;
            if (lstDatabase_MouseMove(i, me->buttons(), int(me->position().y())))
                return true;
        }
        if (lstDatabase[size_t(i)] && watched == lstDatabase[size_t(i)]->viewport()
            && event->type() == QEvent::MouseButtonPress)
            m_pressione = static_cast<QMouseEvent*>(event)->position().toPoint();
    }
    if (lstActive && watched == lstActive->viewport()) {
        const auto tipo = event->type();
        if (tipo == QEvent::DragEnter || tipo == QEvent::DragMove) {
            auto* de = static_cast<QDropEvent*>(event);
            if (de->mimeData()->hasFormat(QString::fromLatin1(database::kMimeDatabase))) {
                de->setDropAction(Qt::CopyAction);
                de->accept();
            } else {
                de->ignore();
            }
            return true;
        }
        if (tipo == QEvent::Drop) {
            auto* de = static_cast<QDropEvent*>(event);
            if (!de->mimeData()->hasFormat(QString::fromLatin1(database::kMimeDatabase)))
                return false;
            de->setDropAction(Qt::CopyAction);
            de->accept();
            lstActive_DragDrop();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
