#include "predictions/frm_details.h"

#include "controls/progress_bar.h"
#include "core/data_files.h"
#include "core/database.h"
#include "core/element_file.h"
#include "core/element_parser.h"
#include "core/globals_time.h"
#include "core/clock.h"
#include "core/mlang.h"
#include "database/window_host.h"
#include "options/frm_progress.h"
#include "platform/prompt.h"
#include "platform/vb.h"

#include <QCloseEvent>
#include <QFile>
#include <QHeaderView>
#include <QListWidget>
#include <QStackedLayout>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>

std::vector<RigaDati> gudtFileVisualizzato;

namespace predictions {

namespace {

QString testo(const std::string& s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// The shortest decimal form of a number, without a leading blank.
QString numero(double v)
{
    return vb::CStrC(v);
}

// A number right-aligned in its field. A number longer than the field
// overflows it rather than losing digits (an age of 16913.0 days is not
// shown as "16913", nor 9658.0 as "9658.").
QString campoNumero(const QString& s, int larghezza)
{
    return s.size() >= larghezza ? s : vb::RSet(s, larghezza);
}

} // namespace

std::optional<QStringList> Riga_Sommario(const Satelement& e, const RigaDati& r, double adesso)
{
    if (!(e.MotoMedio > 0) || !std::isfinite(e.MotoMedio))
        return std::nullopt;
    QStringList c;
    c.reserve(11);
    c << vb::RSet(testo(e.NumeroCatalogo), 5);
    c << vb::LSet(testo(e.Nome), 24);
    c << campoNumero(numero(e.AnnoLancio), 4);
    c << vb::RSet(numero(e.NumeroLancio), 3) + vb::RSet(testo(e.PezzoLancio), 3);
    c << campoNumero(vb::Format(e.Inclinazione, u"0.0000"), 8);
    c << campoNumero(vb::Format(1440.0 / e.MotoMedio, u"0.0"), 6);
    c << campoNumero(vb::Format(e.NodoAscendente, u"0.0000"), 8);
    c << campoNumero(vb::Format(e.Eccentricita, u"0.0000000"), 9);
    const QString mag = testo(e.MagnitudineStandard);
    c << (vb::Trim(mag).isEmpty() ? QStringLiteral(" ???") : campoNumero(vb::Format(mag, u"0.0"), 4));
    c << vb::RSet(testo(core::Colonne(r.Riga1, 65, 68)), 4);
    c << campoNumero(vb::Format(adesso - e.EpocaGiuliana, u"0.0"), 5);
    return c;
}

QStringList Righe_File(const QByteArray& bytes)
{
    const QString t = vb::decodeText(bytes).text;
    QStringList righe;
    qsizetype inizio = 0;
    const qsizetype n = t.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = t.at(i);
        if (ch == u'\r' || ch == u'\n') {
            righe << t.mid(inizio, i - inizio);
            if (ch == u'\r' && i + 1 < n && t.at(i + 1) == u'\n')
                ++i;
            inizio = i + 1;
        }
    }
    righe << t.mid(inizio);
    return righe;
}

} // namespace predictions

namespace {

// Column captions (section "frmDetails"), widths in twips and alignments.
struct Colonna {
    const char* chiave;
    int larghezza;
    Qt::Alignment allineamento;
};
const Colonna kColonne[11] = {
    {"norad", 700, Qt::AlignLeft},       {"nomesatellite", 2700, Qt::AlignLeft},
    {"anno", 600, Qt::AlignHCenter},     {"lancio", 900, Qt::AlignHCenter},
    {"inclinazione", 1400, Qt::AlignHCenter}, {"periodo", 1300, Qt::AlignHCenter},
    {"raan", 1400, Qt::AlignHCenter},    {"eccentricita", 1200, Qt::AlignHCenter},
    {"magnitudine", 1200, Qt::AlignHCenter}, {"set", 600, Qt::AlignHCenter},
    {"eta", 1300, Qt::AlignHCenter},
};

const QString kSezione = QStringLiteral("frmDetails");

QString lingua(const char* sezione, const char* chiave)
{
    return mLang::Testo_Lingua(QString::fromLatin1(sezione), QString::fromLatin1(chiave));
}

// Refuses a long task while another runs; true when this one may start.
bool lavoroLibero(const core::LavoroLungo& lavoro)
{
    if (lavoro.acquisito())
        return true;
    platform::MsgBox(lingua("Dialogs", "lavoroincorso"), platform::vbInformation);
    return false;
}

} // namespace

frmDetails::frmDetails(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmDetails"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* pila = new QStackedLayout(this);
    m_pila = pila;
    pila->setContentsMargins(0, 0, 0, 0);
    QFont fisso(QStringLiteral("Courier New"), 9);
    fisso.setStyleHint(QFont::TypeWriter);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(fisso);
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setFont(fisso);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->header()->setSectionsClickable(true);
    ListView1->header()->setSortIndicatorShown(true);
    pila->addWidget(List1);
    pila->addWidget(ListView1);
    connect(ListView1->header(), &QHeaderView::sectionClicked, this,
            [this](int logical) { ListView1_ColumnClick(logical + 1); });
    resize(900, 400);
    Form_Load();
}

frmDetails::~frmDetails() = default;

frmDetails* frmDetails::Nuovo()
{
    return new frmDetails();
}

QSize frmDetails::sizeHint() const
{
    int larghezza = 0;
    for (const Colonna& c : kColonne)
        larghezza += vb::TwipsToPixels(c.larghezza);
    return {larghezza + 40, 400};
}

void frmDetails::mostraTabella()
{
    // The stack lays out only its current page: the table must be it.
    m_pila->setCurrentWidget(ListView1);
    ListView1->show();
}

void frmDetails::Form_Load()
{
    setWindowTitle(mLang::Testo_Lingua(kSezione, QStringLiteral("dettagli")));
}

void frmDetails::Form_QueryUnload()
{
    ListView1->clear();
}

void frmDetails::closeEvent(QCloseEvent* e)
{
    // Closed while it is being filled: the task is asked to stop, and the
    // window can be closed once it has.
    if (m_inCorso) {
        pflgArresta = true;
        e->ignore();
        return;
    }
    Form_QueryUnload();
    QWidget::closeEvent(e);
}

void frmDetails::mostra()
{
    database::Mostra_Figlia(this);
}

void frmDetails::Imposta_Vista()
{
    List1->hide();
    ListView1->hide();
    ListView1->setSortingEnabled(false);
    ListView1->setHeaderHidden(false);
    ListView1->clear();
    QStringList titoli;
    for (const Colonna& c : kColonne)
        titoli << mLang::Testo_Lingua(kSezione, QString::fromLatin1(c.chiave));
    ListView1->setColumnCount(11);
    ListView1->setHeaderLabels(titoli);
    // Each column at least as wide as its caption.
    const QFontMetrics caratteri(ListView1->header()->font());
    for (int i = 0; i < 11; ++i) {
        const int didascalia = caratteri.horizontalAdvance(titoli[i]) + 2 * caratteri.averageCharWidth() + 8;
        ListView1->setColumnWidth(i, std::max(vb::TwipsToPixels(kColonne[i].larghezza), didascalia));
        ListView1->headerItem()->setTextAlignment(i, kColonne[i].allineamento);
    }
    m_ordinata = false;
    m_colonna = 0;
    m_ordine = Qt::AscendingOrder;
    ListView1->header()->setSortIndicator(-1, Qt::AscendingOrder);
}

bool frmDetails::aggiungiRiga(const RigaDati& r)
{
    // The summary shows no radio channels: the sets are read without them.
    static const TabellaFrequenze senzaFrequenze{RigaDati{}};
    Satelement e;
    if (core::Analizza_Elementi(r.Riga0, r.Riga1, r.Riga2, gstrMagnitudini, senzaFrequenze, e)
        != core::ErroreElementi::Nessuno)
        return false;
    const auto celle = predictions::Riga_Sommario(e, r, gdblGiornoGiuliano);
    if (!celle)
        return false;
    auto* item = new QTreeWidgetItem(*celle);
    for (int i = 0; i < 11; ++i)
        item->setTextAlignment(i, kColonne[i].allineamento);
    ListView1->addTopLevelItem(item);
    return true;
}

bool frmDetails::Aggiungi_sommario(const std::vector<RigaDati>& sets)
{
    const int n = core::Numero_Voci(sets);
    if (frmProgress* p = frmProgress::instance(false)) {
        p->ProgressBar1->setMax(n);
        p->ProgressBar1->setVisible(true);
    }
    ListView1->setUpdatesEnabled(false);
    bool ok = true;
    const bool prima = m_inCorso;
    m_inCorso = true;
    for (int i = 1; i <= n; ++i) {
        if (!aggiungiRiga(sets[size_t(i)])) {
            ok = false;
            break;
        }
        if (!frmProgress::Passo(i))
            break;
    }
    m_inCorso = prima;
    ListView1->setUpdatesEnabled(true);
    return ok;
}

void frmDetails::Sommario(int elenco)
{
    core::LavoroLungo lavoro;
    m_esitoSommario = false;
    if (!lavoroLibero(lavoro))
        return;
    if (elenco == 0)
        setWindowTitle(mLang::Testo_Lingua(kSezione, QStringLiteral("sommariodbprincipale")));
    else if (elenco == 1)
        setWindowTitle(mLang::Testo_Lingua(kSezione, QStringLiteral("sommariodbsecondario")));
    Imposta_Vista();
    m_inCorso = true;
    frmProgress::Mostra(lingua("frmProgress", "creazionesommario"), 0);
    // A copy: the database may be reloaded while events run.
    const std::vector<RigaDati> sets = elenco == 0   ? gudtDatabasePrimario
                                       : elenco == 1 ? gudtDatabaseSecondario
                                                     : gudtFileVisualizzato;
    m_esitoSommario = Aggiungi_sommario(sets);
    m_inCorso = false;
    frmProgress::Unload();
    mostraTabella();
}

bool frmDetails::LeggiDiretto(const QString& FName)
{
    core::LavoroLungo lavoro;
    if (!lavoroLibero(lavoro))
        return false;
    Imposta_Vista();
    QFile f(FName);
    if (!f.open(QIODevice::ReadOnly)) {
        platform::MsgBox(lingua("frmDatabase", "file") + QLatin1Char(' ') + FName + QLatin1Char(' ')
                             + lingua("frmDatabase", "nontrovato"),
                         platform::vbExclamation);
        return false;
    }
    const QStringList righe = predictions::Righe_File(f.readAll());
    f.close();
    const int ultima = int(righe.size()) - 1;
    m_inCorso = true;
    frmProgress::Mostra(lingua("frmProgress", "letturasatelliti"), ultima);
    bool ok = true;
    ListView1->setUpdatesEnabled(false);
    for (int j = 0; j + 2 <= ultima; j += 3) {
        const RigaDati r{righe[j].toStdString(), righe[j + 1].toStdString(), righe[j + 2].toStdString()};
        if (!aggiungiRiga(r)) {
            ok = false;
            break;
        }
        if (!frmProgress::Passo(j))
            break;
    }
    ListView1->setUpdatesEnabled(true);
    m_inCorso = false;
    frmProgress::Unload();
    if (!ok) {
        platform::MsgBox(lingua("Dialogs", "formatononvalido"), platform::vbExclamation, FName);
        ListView1->clear();
        return false;
    }
    mostraTabella();
    setWindowTitle(lingua("Dialogs", "visualizzatle") + QStringLiteral(" - ") + FName);
    mostra();
    return true;
}

void frmDetails::Leggi(const QString& FName)
{
    bool ok = false;
    {
        core::LavoroLungo lavoro;
        if (!lavoroLibero(lavoro))
            return;
        setCursor(Qt::WaitCursor);
        QFile f(FName);
        if (f.open(QIODevice::ReadOnly)) {
            const QStringList righe = predictions::Righe_File(f.readAll());
            f.close();
            m_inCorso = true;
            frmProgress::Mostra(lingua("frmProgress", "letturasatelliti"), double(righe.size()));
            gudtFileVisualizzato.assign(1, RigaDati{});
            ok = true;
            const int n = int(righe.size());
            for (int j = 0; j < n; j += 3) {
                if (righe[j].isEmpty())
                    break;
                if (j + 2 >= n) {
                    ok = false; // a name line without its two element lines
                    break;
                }
                gudtFileVisualizzato.push_back(
                    {righe[j].toStdString(), righe[j + 1].toStdString(), righe[j + 2].toStdString()});
                if (!frmProgress::Passo(j))
                    break;
            }
            m_inCorso = false;
            frmProgress::Unload();
        }
        unsetCursor();
    }
    if (ok) {
        Sommario(2);
        ok = m_esitoSommario;
    }
    gudtFileVisualizzato.clear();
    if (!ok) {
        platform::MsgBox(lingua("Dialogs", "formatononvalido"), platform::vbExclamation, FName);
        close();
        return;
    }
    setWindowTitle(lingua("Dialogs", "visualizzatle") + QStringLiteral(" - ") + FName);
    mostra();
}

void frmDetails::ListView1_ColumnClick(int column)
{
    const int chiave = column - 1;
    if (chiave < 0 || chiave >= ListView1->columnCount())
        return;
    Qt::SortOrder ordine = Qt::AscendingOrder;
    if (m_ordinata && chiave == m_colonna)
        ordine = m_ordine == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    ListView1->sortItems(chiave, ordine);
    ListView1->header()->setSortIndicator(chiave, ordine);
    m_ordinata = true;
    m_colonna = chiave;
    m_ordine = ordine;
}
