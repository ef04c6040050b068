#include "listings/listing_window.h"

#include "controls/progress_bar.h"
#include "core/data_files.h"
#include "core/database.h"
#include "core/element_file.h"
#include "core/element_parser.h"
#include "core/globals_time.h"
#include "core/clock.h"
#include "core/mlang.h"
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

#include <QApplication>
#include <QCloseEvent>
#include <QPrinter>
#include <QStandardPaths>
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
    List1->setUniformItemSizes(true);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
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

// ---------------------------------------------------------------- listings

namespace {

// What a listing reads of a slot right after computing it.
predictions::Istante Leggi_Istante(int slot, int opzione)
{
    predictions::Istante s;
    s.v = gudtValori[size_t(slot)];
    s.posizione = gdblPosizione;
    s.velocita = gdblVelocita;
    s.altezzaSole = gdblAltezzaSole;
    s.stato = core::Stato2Stringa(s.v.Stato);
    if (opzione == predictions::TipoRAD) {
        auto& e = s.eq;
        mAstro::Orizzontali_Equatoriali(s.v.Azimuth * 0.0174532925, s.v.Altezza * 0.0174532925, e.ore,
                                        e.minuti, e.secondi, e.gradi, e.primi, e.segno);
    }
    return s;
}

// The height below which a satellite has decayed, km.
constexpr double kQuotaDecadimento = 138.0;

QDateTime piu(const QDateTime& t, double secondi)
{
    return t.addMSecs(qint64(std::llround(secondi * 1000.0)));
}

} // namespace

QStringList frmDetails::righe() const
{
    QStringList out;
    out.reserve(List1->count());
    for (int i = 0; i < List1->count(); ++i)
        out << List1->item(i)->text();
    return out;
}

void frmDetails::mostraElenco()
{
    m_pila->setCurrentWidget(List1);
    ListView1->hide();
    List1->show();
}

bool frmDetails::iniziaElenco(const QString& titolo)
{
    setWindowTitle(titolo);
    List1->hide();
    ListView1->hide();
    List1->clear();
    return true;
}

void frmDetails::finisciElenco(QStringList& righe)
{
    righe << QString();
    List1->setUpdatesEnabled(false);
    List1->addItems(righe);
    List1->setUpdatesEnabled(true);
    frmProgress::Unload();
    mostraElenco();
}

bool frmDetails::Genera_elenco(int NumeroSatellite, const QDateTime& tempoinizio, const QDateTime& tempofine,
                               double& step, int opzione)
{
    if (NumeroSatellite < 1 || NumeroSatellite > kSlotSecondo || opzione < predictions::TipoOBS
        || opzione > predictions::TipoRAD || !tempoinizio.isValid() || !tempofine.isValid()
        || !std::isfinite(step) || step < 0)
        return false;
    core::LavoroLungo lavoro;
    if (!lavoroLibero(lavoro))
        return false;
    // The clock tick leaves the shared state alone while the listing moves
    // the time globals; both flags go back to what they were.
    core::FlagGuard centrale(pflgCentrale, false);
    core::FlagGuard satellite(pflgSatellite, false);
    const QString titolo = mLang::Testo_Lingua(kSezione, QStringLiteral("effemeridisatellite"));
    iniziaElenco(titolo);

    const size_t k = size_t(NumeroSatellite);
    const Satelement e = gudtSatelementi[k];
    QStringList righe = predictions::Intestazione_Effemeride(e, gudtRigheAttive[k], opzione);

    QDateTime t0;
    const QDateTime t1 = tempofine;
    if (step > 0) {
        t0 = piu(tempoinizio, -step);
    } else {
        t0 = predictions::Inizio_Automatico(tempoinizio);
        step = predictions::Passo_Automatico(predictions::Minuti_Calendario(t0, t1));
    }

    m_inCorso = true;
    frmProgress::Mostra(titolo, double(std::max<qint64>(0, t0.secsTo(t1))));
    double trascorsi = 0;
    for (QDateTime t = t0; t < t1;) {
        t = piu(t, step);
        // An instant that cannot be computed ends the listing as a decay does.
        if (!mAstro::Aggiorna_Tempo(t) || !mSat::Calcola_Satellite(NumeroSatellite, gdblGiornoGiuliano))
            break;
        const predictions::Istante s = Leggi_Istante(NumeroSatellite, opzione);
        trascorsi += step;
        if (!(opzione == predictions::TipoOBS && blnSoloAltPositiva && !(s.v.Altezza > 0)))
            righe << predictions::Riga_Effemeride(opzione, t, s);
        const bool avanti = frmProgress::Passo(trascorsi);
        if (s.v.Quota < kQuotaDecadimento || !avanti)
            break;
    }
    finisciElenco(righe);
    m_inCorso = false;
    setWindowTitle(mLang::Testo_Lingua(kSezione, QStringLiteral("dettagli")) + QStringLiteral(": ")
                   + vb::Trim(QString::fromStdString(e.Nome)) + QStringLiteral(" - ")
                   + predictions::Testo_Istante(tempoinizio));
    mAstro::Aggiorna_Tempo(gdatDataCorrente);
    return true;
}

bool frmDetails::Genera_relativo(const QDateTime& tempoinizio, const QDateTime& tempofine, double step,
                                 int opzione)
{
    if (opzione < predictions::TipoOBS || opzione > predictions::TipoRAD || !tempoinizio.isValid()
        || !tempofine.isValid() || !std::isfinite(step) || step <= 0)
        return false;
    core::LavoroLungo lavoro;
    if (!lavoroLibero(lavoro))
        return false;
    core::FlagGuard centrale(pflgCentrale, false);
    core::FlagGuard satellite(pflgSatellite, false);
    iniziaElenco(mLang::Testo_Lingua(kSezione, QStringLiteral("motorelativosatelliti")));

    QStringList righe = predictions::Intestazione_Relativo(
        gudtSatelementi[kSlotScratch], gudtRigheAttive[kSlotScratch], gudtSatelementi[kSlotSecondo],
        gudtRigheAttive[kSlotSecondo], opzione);
    const QDateTime t0 = piu(tempoinizio, -step);
    const QDateTime t1 = tempofine;

    m_inCorso = true;
    frmProgress::Mostra(mLang::Testo_Lingua(kSezione, QStringLiteral("effemeridisatellite")),
                        double(std::max<qint64>(0, t0.secsTo(t1))));
    double trascorsi = 0;
    for (QDateTime t = t0; t < t1;) {
        t = piu(t, step);
        if (!mAstro::Aggiorna_Tempo(t) || !mSat::Calcola_Satellite(kSlotScratch, gdblGiornoGiuliano))
            break;
        const predictions::Istante a = Leggi_Istante(kSlotScratch, opzione);
        if (!mSat::Calcola_Satellite(kSlotSecondo, gdblGiornoGiuliano))
            break;
        const predictions::Istante b = Leggi_Istante(kSlotSecondo, opzione);
        trascorsi += step;
        righe << predictions::Riga_Relativa(opzione, t, a, b);
        const bool avanti = frmProgress::Passo(trascorsi);
        if (a.v.Quota < kQuotaDecadimento || b.v.Quota < kQuotaDecadimento || !avanti)
            break;
    }
    finisciElenco(righe);
    m_inCorso = false;
    mAstro::Aggiorna_Tempo(gdatDataCorrente);
    return true;
}

bool frmDetails::Salva()
{
    QApplication::processEvents();
    platform::FileChooser* files = platform::services().files;
    if (!files)
        return false;
    platform::FileDialogRequest r;
    r.title = lingua("Dialogs", "salvaconnome");
    r.initialFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    r.filter = lingua("Dialogs", "filtrotxt");
    r.filterIndex = 1;
    r.flags = platform::fileOverwritePrompt;
    const std::optional<QString> scelto = files->saveFile(r, this);
    if (!scelto || scelto->isEmpty())
        return false;
    QString testo;
    for (const QString& riga : righe())
        testo += riga + QStringLiteral("\r\n");
    QString errore;
    if (!vb::writeTextFile(*scelto, testo, vb::TextEncoding::Windows1252, &errore)) {
        platform::MsgBox(mLang::Testo_Lingua(kSezione, QStringLiteral("erroresalvataggio")) + QLatin1Char('\r')
                             + errore,
                         platform::vbExclamation, *scelto);
        return false;
    }
    QApplication::processEvents();
    return true;
}

bool frmDetails::Stampa()
{
    const QStringList linee = righe();
    if (linee.isEmpty())
        return false;
    QApplication::processEvents();
    platform::FileChooser* files = platform::services().files;
    if (!files)
        return false;
    QPrinter& printer = platform::applicationPrinter();
    if (!files->choosePrinter(printer, 0, this))
        return false;
    printer.setPageOrientation(QPageLayout::Portrait);
    platform::PrintJob job(&printer);
    if (!job.isActive()) {
        platform::MsgBox(mLang::Testo_Lingua(kSezione, QStringLiteral("errorestampa")) + QLatin1Char('\r')
                             + job.errorString(),
                         platform::vbExclamation);
        return false;
    }
    platform::Canvas& p = job.page();
    p.setForeColor(vb::RGB(0, 0, 0));
    constexpr double kMargine = 450.0; // twips
    QFont carattere(QStringLiteral("Courier New"), 10);
    carattere.setStyleHint(QFont::TypeWriter);
    carattere.setFixedPitch(true);
    p.setFont(carattere);
    // Lines wider than the page would be cut at its edge: the font shrinks
    // until the widest line fits (never below 6 points).
    double larghezza = 0;
    for (const QString& l : linee)
        larghezza = std::max(larghezza, p.TextWidth(l));
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
    for (const QString& l : linee) {
        if (p.currentY() + altezzaRiga > fondo) {
            job.NewPage();
            p.setFont(carattere);
            p.setCurrentY(kMargine);
        }
        p.setCurrentX(kMargine);
        p.Print(l);
    }
    if (!job.EndDoc()) {
        platform::MsgBox(mLang::Testo_Lingua(kSezione, QStringLiteral("errorestampa")) + QLatin1Char('\r')
                             + job.errorString(),
                         platform::vbExclamation);
        return false;
    }
    return true;
}
