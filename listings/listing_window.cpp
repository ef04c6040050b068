#include "listings/listing_window.h"
#include "astro/mate.h"
#include "astro/time.h"

#include "controls/progress_bar.h"
#include "core/data_files.h"
#include "core/database.h"
#include "core/element_file.h"
#include "core/element_parser.h"
#include "core/globals_time.h"
#include "core/clock.h"
#include "core/mlang.h"
#include "common/file_messages.h"
#include "common/window_host.h"
#include "common/progress_window.h"
#include "core/globals_orbit.h"
#include "core/mastro.h"
#include "core/msat.h"
#include "core/settings.h"
#include "platform/file_chooser.h"
#include "platform/print_job.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/vb.h"
#include "listings/listing_lines.h"
#include "listings/listing_model.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPrinter>
#include <QStandardPaths>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QListView>
#include <QDir>
#include <QSaveFile>
#include <QPointer>
#include <QStackedLayout>
#include <QTreeWidget>
#include <optional>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

std::vector<RigaDati> gudtFileVisualizzato;

namespace listings {

namespace {

// Text of a set (a name may carry NUL bytes or bidirectional controls) as
// the listing shows it: control characters as blanks, the width kept.
QString testo(const std::string& s)
{
    return vb::displayable(QString::fromUtf8(s.data(), qsizetype(s.size())));
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

} // namespace listings

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

// The lines of an element file, read within the bound every reader keeps.
// When it cannot be read the user is told why: a file not there is not
// found; one too large, not an ordinary file or unreadable, the reason.
std::optional<QStringList> Righe_Elementi(const QString& FName)
{
    QString errore;
    const std::optional<QByteArray> dati = vb::readFileBytes(FName, vb::kMaxTextFileBytes, &errore);
    if (dati)
        return listings::Righe_File(*dati);
    common::Avvisa_File_Non_Letto(FName, errore);
    return std::nullopt;
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
    List1 = new QListView(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(fisso);
    m_elenco = new listings::ListingModel(this);
    m_elenco->setFont(fisso);
    List1->setModel(m_elenco);
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setFont(fisso);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->header()->setSectionsClickable(true);
    ListView1->header()->setSortIndicatorShown(true);
    // All lines are one size: the view needs to measure none of them.
    List1->setUniformItemSizes(true);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
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
    common::Tastiera_Al_Contenuto(ListView1);
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
    common::Davanti_A_Fine_Lavoro(this);
    // The keys that move through the lines reach them at once.
    common::Tastiera_Al_Contenuto(tabellaMostrata() ? static_cast<QWidget*>(ListView1) : List1);
}

void frmDetails::Imposta_Vista()
{
    List1->hide();
    ListView1->hide();
    ListView1->setSortingEnabled(false);
    // The view sorts only when a header is clicked (its own sorting would
    // re-sort every row as it is added); switching its sorting off made the
    // headers unclickable, so they are made clickable again here.
    ListView1->header()->setSectionsClickable(true);
    ListView1->header()->setSortIndicatorShown(true);
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
    const auto celle = listings::Riga_Sommario(e, r, gdblGiornoGiuliano);
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
    const std::optional<QStringList> lette = Righe_Elementi(FName);
    if (!lette)
        return false;
    const QStringList& righe = *lette;
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
        // The window goes; the message stays the program's, and waits for
        // the user to be in it.
        common::Al_Ritorno(common::Finestra_Principale(), [FName] {
            platform::MsgBox(lingua("Dialogs", "formatononvalido"), platform::vbExclamation, FName);
        });
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
        if (const std::optional<QStringList> lette = Righe_Elementi(FName)) {
            const QStringList& righe = *lette;
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
        } else {
            // Not read, and the user told why.
            unsetCursor();
            close();
            return;
        }
        unsetCursor();
    }
    if (ok) {
        Sommario(2);
        ok = m_esitoSommario;
    }
    gudtFileVisualizzato.clear();
    if (!ok) {
        common::Al_Ritorno(common::Finestra_Principale(), [FName] {
            platform::MsgBox(lingua("Dialogs", "formatononvalido"), platform::vbExclamation, FName);
        });
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

// ---------------------------------------------------------------- listings

namespace {

// The time quantities of one local instant of a listing, computed for the
// observer of the options into values of the listing's own: a listing never
// moves the clock's time globals. False when the date has none.
bool Tempi_Istante(const QDateTime& locale, mAstro::Tempi& t)
{
    if (!locale.date().isValid() || !locale.time().isValid())
        return false;
    try {
        t = mAstro::Calcola_Tempi(mAstro::Da_QDateTime(locale), gsngFusoOrario, gbytOraLegale, gsngLongitudine);
    } catch (const mAstro::ErroreData&) {
        return false;
    }
    return true;
}

// The satellite of element set e at the instant t, computed into values of
// the listing's own, with its right ascension and declination for the
// instant's local sidereal time (type RAD); false when it cannot be computed.
// soloPosizione: the satellite's place alone (what a relative-motion line
// shows), without its Sun, magnitude or orbit figures.
bool Calcola_Istante(const Satelement& e, astro::ModelloSatellite& modello, int opzione, const mAstro::Tempi& t,
                     listings::Istante& s, bool soloPosizione = false)
{
    astro::UsciteSatellite u;
    const astro::Osservatore oss = mSat::Osservatore_Corrente();
    const astro::OpzioniSatellite opz = mSat::Opzioni_Correnti();
    if (soloPosizione ? !astro::Calcola_Posizione_Satellite(e, oss, opz, t.GiornoGiuliano, s.v, u, &modello)
                      : !astro::Calcola_Satellite(e, oss, opz, t.GiornoGiuliano, s.v, u, &modello))
        return false;
    s.posizione = u.stato.posizione;
    s.velocita = u.stato.velocita;
    s.altezzaSole = u.altezzaSole;
    if (opzione == listings::TipoRAD) {
        const mAstro::CoordinateEquatoriali c = mAstro::Orizzontali_Equatoriali(s.v.Azimuth * 0.0174532925,
                                                                s.v.Altezza * 0.0174532925, gsngLatitudine,
                                                                t.TempoSiderale);
        auto& q = s.eq;
        q.ore = c.oreAR;
        q.minuti = c.minutiAR;
        q.secondi = c.secondiAR;
        q.gradi = c.gradiDec;
        q.primi = c.minutiDec;
        // The sign's text shared, not made again for every line.
        static const QString kPiu = QStringLiteral("+"), kMeno = QStringLiteral("-");
        q.segno = c.segno == "+" ? kPiu : c.segno == "-" ? kMeno : QString::fromStdString(c.segno);
    }
    return true;
}

// The height below which a satellite has decayed, km.
constexpr double kQuotaDecadimento = 138.0;

// The k-th instant after t0 at `passoMs` milliseconds a step.
QDateTime istante(const QDateTime& t0, qint64 k, qint64 passoMs)
{
    return t0.addMSecs(k * passoMs);
}

// The instants of a listing, t0 and whole steps after it, with their Julian
// dates and local sidereal times. A listing's times are plain calendar times
// (time spec UTC or a fixed offset), whose fields advance with the step: the
// k-th instant's fields come from its step number, and only a change of day
// works out a calendar date again, with the same figures as the conversion
// of each instant. Times of any other spec take that conversion.
class IstantiElenco {
public:
    IstantiElenco(const QDateTime& t0, const QDateTime& t1, qint64 passoMs)
        : m_t0(t0), m_t1(t1), m_passoMs(passoMs), m_ms0(t0.toMSecsSinceEpoch()), m_ms1(t1.toMSecsSinceEpoch())
    {
        m_lineare = t0.isValid() && t1.isValid()
                    && (t0.timeSpec() == Qt::UTC || t0.timeSpec() == Qt::OffsetFromUTC);
        m_muro0 = m_ms0 + (t0.timeSpec() == Qt::OffsetFromUTC ? qint64(t0.offsetFromUtc()) * 1000 : 0);
    }

    // True when the k-th instant is at or past the end.
    bool Oltre(qint64 k) const
    {
        if (!m_lineare)
            return istante(m_t0, k, m_passoMs) >= m_t1;
        qint64 d = 0, ms = 0;
        return __builtin_mul_overflow(k, m_passoMs, &d) || __builtin_add_overflow(m_ms0, d, &ms) || ms >= m_ms1;
    }

    // The Julian date and local sidereal time of the k-th instant into t
    // (its other fields are not filled); false when it has none.
    bool Tempi(qint64 k, mAstro::Tempi& t)
    {
        if (!m_lineare)
            return Tempi_Istante(istante(m_t0, k, m_passoMs), t);
        qint64 d = 0, muro = 0;
        if (__builtin_mul_overflow(k, m_passoMs, &d) || __builtin_add_overflow(m_muro0, d, &muro))
            return false;
        // The observer may change while the listing yields to the window.
        if (!m_serie || gsngFusoOrario != m_fuso || gbytOraLegale != m_legale || gsngLongitudine != m_longitudine) {
            m_serie.reset();
            m_fuso = gsngFusoOrario;
            m_legale = gbytOraLegale;
            m_longitudine = gsngLongitudine;
            try {
                m_serie.emplace(gsngFusoOrario, gbytOraLegale, gsngLongitudine);
            } catch (const mAstro::ErroreData&) {
                return false;
            }
        }
        // The whole second the instant's time field shows.
        const qint64 secondi = muro / 1000 - (muro % 1000 < 0 ? 1 : 0);
        try {
            m_serie->Calcola(secondi, t.GiornoGiuliano, t.TempoSiderale);
        } catch (const mAstro::ErroreData&) {
            return false;
        }
        return true;
    }

private:
    QDateTime m_t0, m_t1;
    qint64 m_passoMs;
    qint64 m_ms0, m_ms1, m_muro0 = 0;
    bool m_lineare = false;
    std::optional<mAstro::SerieTempi> m_serie;
    decltype(gsngFusoOrario) m_fuso{};
    decltype(gbytOraLegale) m_legale{};
    decltype(gsngLongitudine) m_longitudine{};
};

// Whether the n-th line of a listing shows its progress: every few thousand
// lines (a thousandth of a second or so; the window runs pending events at its
// own cadence) and the last, so the bar reaches its end.
constexpr qint64 kRigheProgressoElenco = 1024;
bool Passo_Elenco(qint64 n, bool ultima)
{
    return ultima || n == 1 || n % kRigheProgressoElenco == 0;
}

// Lines written or printed between two looks at the progress window, and the
// number of lines from which a save or a print shows it.
constexpr int kRigheBlocco = 4096;
constexpr int kRigheConProgresso = 20000;

} // namespace

QStringList frmDetails::righe() const
{
    QStringList out;
    const int n = m_elenco->Numero_Righe();
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        out << m_elenco->Riga(i);
    return out;
}

bool frmDetails::tabellaMostrata() const
{
    return m_pila->currentWidget() == ListView1 && !ListView1->isHidden();
}

int frmDetails::numeroRighe() const
{
    return tabellaMostrata() ? ListView1->topLevelItemCount() : m_elenco->Numero_Righe();
}

QString frmDetails::riga(int i) const
{
    if (!tabellaMostrata())
        return m_elenco->Riga(i);
    // A summary row: its cells, each already in its field, one blank apart.
    const QTreeWidgetItem* item = ListView1->topLevelItem(i);
    if (!item)
        return QString();
    QStringList celle;
    for (int c = 0; c < ListView1->columnCount(); ++c)
        celle << item->text(c);
    return celle.join(QLatin1Char(' '));
}

bool frmDetails::haRighe() const
{
    return !m_inCorso && numeroRighe() > 0;
}

void frmDetails::mostraElenco()
{
    m_pila->setCurrentWidget(List1);
    ListView1->hide();
    List1->show();
    common::Tastiera_Al_Contenuto(List1);
}

void frmDetails::iniziaElenco(const QString& titolo)
{
    setWindowTitle(titolo);
    List1->hide();
    ListView1->hide();
}

void frmDetails::finisciElenco()
{
    m_elenco->Aggiungi_Testo(QString());
    m_elenco->Pubblica();
    frmProgress::Unload();
    mostraElenco();
}

void frmDetails::Elenco_Testo(const QStringList& righe)
{
    m_elenco->Azzera();
    m_elenco->Aggiungi_Testo(righe);
    m_elenco->Pubblica();
    mostraElenco();
}

bool frmDetails::Genera_elenco(int NumeroSatellite, const QDateTime& tempoinizio, const QDateTime& tempofine,
                               double& step, int opzione)
{
    if (NumeroSatellite < 1 || NumeroSatellite > kSlotSecondo)
        return false;
    const size_t k = size_t(NumeroSatellite);
    return Genera_elenco(gudtSatelementi[k], gudtRigheAttive[k], tempoinizio, tempofine, step, opzione);
}

bool frmDetails::Genera_elenco(const core::RecordPassaggio& passaggio, double& step, int opzione)
{
    return Genera_elenco(passaggio.elementi, passaggio.righe, mAstro::Data_Da_Giuliano(passaggio.jdSorgere),
                         mAstro::Data_Da_Giuliano(passaggio.jdTramonto), step, opzione);
}

bool frmDetails::Genera_elenco(const Satelement& elementi, const RigaDati& righe, const QDateTime& tempoinizio,
                               const QDateTime& tempofine, double& step, int opzione)
{
    if (opzione < listings::TipoOBS
        || opzione > listings::TipoRAD || !tempoinizio.isValid() || !tempofine.isValid()
        || !std::isfinite(step) || step < 0 || m_inCorso)
        return false;
    core::LavoroLungo lavoro;
    if (!lavoroLibero(lavoro))
        return false;
    // The clock tick stays away while the listing runs; both flags go back
    // to what they were.
    core::FlagGuard centrale(pflgCentrale, false);
    core::FlagGuard satellite(pflgSatellite, false);
    const QString titolo = mLang::Testo_Lingua(kSezione, QStringLiteral("effemeridisatellite"));
    iniziaElenco(titolo);

    // Copies of the listing's own: the working list may change while it yields.
    const Satelement e = elementi;
    const RigaDati testo = righe;
    astro::ModelloSatellite modello;

    QDateTime t0;
    const QDateTime t1 = tempofine;
    if (step > 0) {
        t0 = tempoinizio.addMSecs(-qint64(std::llround(step * 1000.0)));
    } else {
        t0 = listings::Inizio_Automatico(tempoinizio);
        step = listings::Passo_Automatico(listings::Minuti_Calendario(t0, t1));
    }
    const qint64 passoMs = std::max<qint64>(1, std::llround(step * 1000.0));
    const int celle = listings::Celle_Effemeride(opzione);
    // Each line keeps its step number and its figures.
    m_elenco->Azzera(1 + celle, [t0, passoMs, opzione](const qint32* c) {
        return listings::Testo_Effemeride(opzione, istante(t0, c[0], passoMs), c + 1);
    });
    m_elenco->Aggiungi_Testo(listings::Intestazione_Effemeride(e, testo, opzione));

    m_inCorso = true;
    frmProgress::Mostra(titolo, double(std::max<qint64>(0, t0.secsTo(t1))));
    double trascorsi = 0;
    IstantiElenco istanti(t0, t1, passoMs);
    for (qint64 n = 1;; ++n) {
        if (istanti.Oltre(n - 1))
            break;
        // An instant that cannot be computed ends the listing as a decay does.
        listings::Istante s;
        mAstro::Tempi tempi;
        if (!istanti.Tempi(n, tempi) || !Calcola_Istante(e, modello, opzione, tempi, s))
            break;
        trascorsi += step;
        if (!(opzione == listings::TipoOBS && blnSoloAltPositiva && !(s.v.Altezza > 0))) {
            qint32* c = m_elenco->Nuova_Riga();
            if (!c)
                break;
            c[0] = qint32(n);
            listings::Riempi_Effemeride(opzione, s, c + 1);
        }
        const bool avanti = !Passo_Elenco(n, istanti.Oltre(n)) || frmProgress::Passo(trascorsi);
        if (s.v.Quota < kQuotaDecadimento || !avanti || n >= std::numeric_limits<qint32>::max())
            break;
    }
    finisciElenco();
    m_inCorso = false;
    setWindowTitle(mLang::Testo_Lingua(kSezione, QStringLiteral("dettagli")) + QStringLiteral(": ")
                   + vb::displayable(vb::Trim(QString::fromStdString(e.Nome))) + QStringLiteral(" - ")
                   + listings::Testo_Istante(tempoinizio));
    return true;
}

bool frmDetails::Genera_relativo(const QDateTime& tempoinizio, const QDateTime& tempofine, double step,
                                 int opzione)
{
    if (opzione < listings::TipoOBS || opzione > listings::TipoRAD || !tempoinizio.isValid()
        || !tempofine.isValid() || !std::isfinite(step) || step <= 0 || m_inCorso)
        return false;
    core::LavoroLungo lavoro;
    if (!lavoroLibero(lavoro))
        return false;
    core::FlagGuard centrale(pflgCentrale, false);
    core::FlagGuard satellite(pflgSatellite, false);
    iniziaElenco(mLang::Testo_Lingua(kSezione, QStringLiteral("motorelativosatelliti")));

    const qint64 passoMs = std::max<qint64>(1, std::llround(step * 1000.0));
    const QDateTime t0 = tempoinizio.addMSecs(-passoMs);
    const QDateTime t1 = tempofine;
    const int celle = listings::Celle_Relativo(opzione);
    m_elenco->Azzera(1 + celle, [t0, passoMs, opzione](const qint32* c) {
        return listings::Testo_Relativo(opzione, istante(t0, c[0], passoMs), c + 1);
    });
    // Copies of the listing's own: the two satellites the dialog left in
    // slots 201 and 202 may change while it yields.
    const Satelement ea = gudtSatelementi[kSlotScratch];
    const Satelement eb = gudtSatelementi[kSlotSecondo];
    astro::ModelloSatellite modelloA, modelloB;
    m_elenco->Aggiungi_Testo(listings::Intestazione_Relativo(ea, gudtRigheAttive[kSlotScratch], eb,
                                                                gudtRigheAttive[kSlotSecondo], opzione));

    m_inCorso = true;
    frmProgress::Mostra(mLang::Testo_Lingua(kSezione, QStringLiteral("effemeridisatellite")),
                        double(std::max<qint64>(0, t0.secsTo(t1))));
    double trascorsi = 0;
    IstantiElenco istanti(t0, t1, passoMs);
    for (qint64 n = 1;; ++n) {
        if (istanti.Oltre(n - 1))
            break;
        mAstro::Tempi tempi;
        listings::Istante a, b;
        if (!istanti.Tempi(n, tempi))
            break;
        // The line shows where the two are, nothing of their light.
        if (!Calcola_Istante(ea, modelloA, opzione, tempi, a, true)
            || !Calcola_Istante(eb, modelloB, opzione, tempi, b, true))
            break;
        trascorsi += step;
        qint32* c = m_elenco->Nuova_Riga();
        if (!c)
            break;
        c[0] = qint32(n);
        listings::Riempi_Relativo(opzione, a, b, c + 1);
        const bool avanti = !Passo_Elenco(n, istanti.Oltre(n)) || frmProgress::Passo(trascorsi);
        if (a.v.Quota < kQuotaDecadimento || b.v.Quota < kQuotaDecadimento || !avanti
            || n >= std::numeric_limits<qint32>::max())
            break;
    }
    finisciElenco();
    m_inCorso = false;
    return true;
}

namespace listings {

platform::FileDialogRequest Richiesta_Salva_Testo(const QString& nome)
{
    platform::FileDialogRequest r;
    r.title = lingua("Dialogs", "salvaconnome");
    // The program folder is not the user's to write in.
    const QString documenti = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    r.initialFolder = !documenti.isEmpty() && QDir(documenti).exists() ? documenti : QDir::homePath();
    QString file;
    for (const QChar c : vb::Trim(nome))
        file += QStringLiteral("\\/:*?\"<>|").contains(c) || c.unicode() < 32 ? QChar(u'_') : c;
    file = file.simplified();
    if (file.isEmpty())
        file = QStringLiteral("listing");
    r.fileName = file + QStringLiteral(".txt");
    r.filter = lingua("Dialogs", "filtrotxt");
    r.filterIndex = 1;
    r.flags = platform::fileOverwritePrompt;
    return r;
}

} // namespace listings

QString frmDetails::nomeFile() const
{
    // The caption names the listing: "Details: Iss (zarya) - 26 Nov 2013  10:00:00"
    // gives "Iss (zarya) - 26 Nov 2013 10 00 00".
    QString t = windowTitle();
    if (const qsizetype dopo = t.indexOf(QStringLiteral(": ")); dopo >= 0)
        t = t.mid(dopo + 2);
    // An element file's summary is named after the file.
    if (const qsizetype barra = t.lastIndexOf(QLatin1Char('/')); barra >= 0)
        t = QFileInfo(t.mid(barra + 1)).completeBaseName();
    t.replace(QLatin1Char(':'), QLatin1Char(' '));
    return t.simplified();
}

bool frmDetails::Salva()
{
    if (m_inCorso)
        return false;
    QApplication::processEvents();
    platform::FileChooser* files = platform::services().files;
    if (!files)
        return false;
    const std::optional<QString> scelto = files->saveFile(listings::Richiesta_Salva_Testo(nomeFile()), this);
    if (!scelto || scelto->isEmpty())
        return false;
    const QPointer<frmDetails> finestra(this);
    const int n = numeroRighe();
    const bool progresso = n >= kRigheConProgresso;
    core::LavoroLungo lavoro;
    if (progresso && !lavoroLibero(lavoro))
        return false;
    // Written whole or not at all: the old file stays until the new one is
    // complete.
    QSaveFile file(*scelto);
    // The file named in the text (a title is cut short by the window
    // manager), and the system's reason in the user's language.
    auto errore = [&](const QString& perche) {
        file.cancelWriting();
        platform::MsgBox(mLang::Testo_Lingua(kSezione, QStringLiteral("erroresalvataggio"))
                                 .arg(QDir::toNativeSeparators(QFileInfo(*scelto).absoluteFilePath()))
                             + QLatin1Char('\r') + perche,
                         platform::vbExclamation, *scelto);
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return errore(vb::saveRefusedReason(*scelto, file.errorString()));
    bool fermato = false;
    if (progresso) {
        m_inCorso = true;
        frmProgress::Mostra(lingua("Dialogs", "salvaconnome") + QLatin1Char(' ') + QFileInfo(*scelto).fileName(),
                            double(n));
    }
    QString blocco;
    for (int i = 0; i < n && !fermato; i += kRigheBlocco) {
        blocco.clear();
        const int fine = std::min(n, i + kRigheBlocco);
        for (int j = i; j < fine; ++j) {
            blocco += riga(j);
            blocco += QStringLiteral("\r\n");
        }
        if (file.write(vb::encodeWindows1252(blocco)) < 0)
            break;
        if (progresso && (!frmProgress::Passo(fine) || !finestra))
            fermato = true;
    }
    if (progresso) {
        frmProgress::Unload();
        if (finestra)
            m_inCorso = false;
    }
    if (fermato) {
        file.cancelWriting();
        return false;
    }
    if (file.error() != QFileDevice::NoError || !file.commit())
        return errore(vb::systemReason(file.errorString()));
    QApplication::processEvents();
    return true;
}

bool frmDetails::Stampa()
{
    const int n = numeroRighe();
    if (n == 0 || m_inCorso)
        return false;
    QApplication::processEvents();
    platform::FileChooser* files = platform::services().files;
    if (!files)
        return false;
    QPrinter& printer = platform::applicationPrinter();
    if (!files->choosePrinter(printer, 0, this))
        return false;
    const bool progresso = n >= kRigheConProgresso;
    core::LavoroLungo lavoro;
    if (progresso && !lavoroLibero(lavoro))
        return false;
    printer.setPageOrientation(QPageLayout::Portrait);
    auto lavoroStampa = std::make_unique<platform::PrintJob>(&printer);
    platform::PrintJob& job = *lavoroStampa;
    auto errore = [&] {
        platform::MsgBox(mLang::Testo_Lingua(kSezione, QStringLiteral("errorestampa")) + QLatin1Char('\r')
                             + job.errorString(),
                         platform::vbExclamation);
        return false;
    };
    if (!job.isActive())
        return errore();
    platform::Canvas& p = job.page();
    p.setForeColor(vb::RGB(0, 0, 0));
    constexpr double kMargine = 450.0; // twips
    QFont carattere(QStringLiteral("Courier New"), 10);
    carattere.setStyleHint(QFont::TypeWriter);
    carattere.setFixedPitch(true);
    p.setFont(carattere);
    // Lines wider than the page would be cut at its edge: the font shrinks
    // until the widest line fits (never below 6 points). The lines of a
    // listing's body are all as wide as one another: the first lines and the
    // last ones tell the width.
    double larghezza = 0;
    for (int i = 0; i < n; i = i < 2000 || i >= n - 50 ? i + 1 : n - 50)
        larghezza = std::max(larghezza, p.TextWidth(riga(i)));
    const double spazio = p.scaleWidth() - 2 * kMargine;
    if (larghezza > spazio && larghezza > 0) {
        carattere.setPointSizeF(std::max(6.0, 10.0 * spazio / larghezza));
        p.setFont(carattere);
    }
    const double altezzaRiga = p.TextHeight();
    const double fondo = p.scaleHeight() - kMargine;
    p.setCurrentY(kMargine);
    p.setCurrentX(kMargine);
    p.Print(QString());
    p.setCurrentY(kMargine);
    const QPointer<frmDetails> finestra(this);
    if (progresso) {
        m_inCorso = true;
        frmProgress::Mostra(mLang::Testo_Lingua(QStringLiteral("MDIForm1"), QStringLiteral("stampa")), double(n));
    }
    bool fermato = false;
    for (int i = 0; i < n; ++i) {
        if (p.currentY() + altezzaRiga > fondo) {
            if (!job.NewPage())
                break;
            p.setFont(carattere);
            p.setCurrentY(kMargine);
        }
        p.setCurrentX(kMargine);
        p.Print(riga(i));
        if (progresso && (i + 1) % 256 == 0 && (!frmProgress::Passo(i + 1) || !finestra)) {
            fermato = true;
            break;
        }
    }
    if (progresso) {
        frmProgress::Unload();
        if (finestra)
            m_inCorso = false;
    }
    if (fermato) {
        // Stopped: the document is thrown away, nothing goes to the printer
        // (nor is a half-printed file left).
        printer.abort();
        lavoroStampa.reset();
        if (!printer.outputFileName().isEmpty())
            QFile::remove(printer.outputFileName());
        return false;
    }
    if (!job.EndDoc())
        return errore();
    return true;
}
