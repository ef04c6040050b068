#include "core/working_list.h"

#include "core/data_files.h"
#include "core/globals_orbit.h"
#include "core/mlang.h"
#include "platform/vb.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QSet>

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

namespace core {

WorkingList& WorkingList::instance()
{
    static WorkingList list;
    return list;
}

int WorkingList::count() const
{
    return gintNumSatelliti;
}

QString WorkingList::Nome_Principale() const
{
    return vb::Trim(QString::fromStdString(gudtSatelementi[1].Nome));
}

void WorkingList::notifica()
{
    if (m_modifiche > 0) {
        m_pendente = true;
        return;
    }
    m_pendente = false;
    if (!m_file.isEmpty()) {
        QString errore;
        if (!Salva_Ini(m_file, &errore))
            emit saveFailed(errore);
    }
    emit changed();
}

WorkingList::Modifica::Modifica()
{
    ++instance().m_modifiche;
}

WorkingList::Modifica::~Modifica()
{
    WorkingList& l = instance();
    if (--l.m_modifiche == 0 && l.m_pendente)
        l.notifica();
}

void WorkingList::copia(int da, int a)
{
    gudtSatelementi[a] = gudtSatelementi[da];
    gudtRigheAttive[a] = gudtRigheAttive[da];
}

void WorkingList::azzera(int slot)
{
    gudtSatelementi[slot] = Satelement{};
    gudtRigheAttive[slot] = RigaDati{};
}

int WorkingList::Trova_Catalogo(long numero) const
{
    if (numero < 0)
        return 0;
    for (int k = 1; k <= gintNumSatelliti; ++k)
        if (Numero_Catalogo(gudtSatelementi[k].NumeroCatalogo) == numero)
            return k;
    return 0;
}

WorkingList::Risultato WorkingList::Aggiungi(const RigaDati& set)
{
    Risultato r;
    const long numero = Numero_Catalogo(vb::Mid(QString::fromStdString(set.Riga1), 3, 5).toStdString());
    if (const int k = Trova_Catalogo(numero)) {
        r.esito = Esito::Duplicato;
        r.slot = k;
        return r;
    }
    if (gintNumSatelliti >= kMaxSatelliti) {
        r.esito = Esito::Pieno;
        return r;
    }
    const int slot = gintNumSatelliti + 1;
    r.errore = Estrai_Dati_Satellite(slot, set.Riga0, set.Riga1, set.Riga2);
    if (r.errore != ErroreElementi::Nessuno) {
        r.esito = Esito::NonValido;
        return r;
    }
    gudtValori[slot] = Valori{};
    gintNumSatelliti = slot;
    r.slot = slot;
    notifica();
    return r;
}

void WorkingList::Rimuovi(QList<int> elenco)
{
    const int n = gintNumSatelliti;
    elenco.erase(std::remove_if(elenco.begin(), elenco.end(), [n](int s) { return s < 1 || s > n; }),
                elenco.end());
    if (elenco.isEmpty())
        return;
    std::vector<bool> via(std::size_t(n) + 1, false);
    for (int s : elenco)
        via[std::size_t(s)] = true;
    int dest = 1;
    for (int k = 1; k <= n; ++k) {
        if (via[std::size_t(k)])
            continue;
        if (dest != k)
            copia(k, dest);
        ++dest;
    }
    for (int k = dest; k <= n; ++k) {
        azzera(k);
        gudtValori[k] = Valori{};
    }
    gintNumSatelliti = dest - 1;
    notifica();
}

void WorkingList::Rimuovi_Tutti()
{
    for (int k = 1; k <= kSlotSecondo; ++k) {
        azzera(k);
        gudtValori[k] = Valori{};
    }
    gintNumSatelliti = 0;
    notifica();
}

void WorkingList::Scambia(int a, int b)
{
    const int n = gintNumSatelliti;
    if (a < 1 || b < 1 || a > n || b > n || a == b)
        return;
    copia(a, kSlotScratch);
    copia(b, a);
    copia(kSlotScratch, b);
    azzera(kSlotScratch);
    notifica();
}

void WorkingList::Ruota()
{
    const int n = gintNumSatelliti;
    if (n <= 0)
        return;
    // Through the slot after the last one, which ends empty again.
    copia(1, n + 1);
    for (int i = 2; i <= n + 1; ++i)
        copia(i, i - 1);
    azzera(n + 1);
    notifica();
}

// ---------------------------------------------------------------- the file

namespace {

// A line of the file: a CR or LF inside a text (element files end their
// lines only at CR, so a lone LF can stay inside a line) would split it in
// two and put every later set out of step; it is written as a blank, which
// the parser reads the same way.
QString rigaFile(const std::string& testo)
{
    QString r = QString::fromStdString(testo);
    for (QChar& c : r)
        if (c == u'\r' || c == u'\n')
            c = u' ';
    return r + QStringLiteral("\r\n");
}

// Whether three lines can be a set: line 1 and line 2 begin with their
// line numbers.
bool inPasso(const QString& riga1, const QString& riga2)
{
    return riga1.trimmed().startsWith(u'1') && riga2.trimmed().startsWith(u'2');
}

} // namespace

QString Testo_Lista_Lavoro()
{
    QString testo;
    for (int i = 1; i <= gintNumSatelliti; ++i) {
        testo += rigaFile(gudtSatelementi[i].Nome);
        testo += rigaFile(gudtRigheAttive[i].Riga1);
        testo += rigaFile(gudtRigheAttive[i].Riga2);
    }
    return testo;
}

bool WorkingList::Salva_Ini(const QString& path, QString* errore) const
{
    // Written whole through a temporary file, unbuffered so that a short
    // write on a full disk fails here and the old list stays as it was. The
    // user's data folder is made when it is not there (a start that could
    // not make it has said why); the reason names the file.
    QString motivo;
    if (vb::makeFolder(QFileInfo(path).absolutePath(), &motivo)
        && vb::writeTextFile(path, Testo_Lista_Lavoro(), vb::TextEncoding::Utf8, &motivo))
        return true;
    if (errore)
        *errore = QDir::toNativeSeparators(path) + QStringLiteral(": ") + motivo;
    return false;
}

bool WorkingList::Salva(QString* errore)
{
    if (m_file.isEmpty())
        return true;
    return Salva_Ini(m_file, errore);
}

QString WorkingList::Testo_Slot(const QList<int>& slot)
{
    QString testo;
    for (int k : slot) {
        if (k < 1 || k > gintNumSatelliti)
            continue;
        testo += rigaFile(gudtSatelementi[k].Nome);
        testo += rigaFile(gudtRigheAttive[k].Riga1);
        testo += rigaFile(gudtRigheAttive[k].Riga2);
    }
    return testo;
}

QString WorkingList::File_Rimossi() const
{
    return m_file.isEmpty() ? QString() : m_file + QStringLiteral(".removed");
}

namespace {

// The whole of a file that is to be copied or added to, or nothing with the
// reason it cannot be: what that reason says of the file, not of a reading
// ("it is not an ordinary file", "Permission denied").
std::optional<QByteArray> leggiTutto(const QString& path, QString* motivo)
{
    if (vb::notRegularFile(path)) {
        *motivo = vb::layerText(QStringLiteral("MDIForm1"), QStringLiteral("nonordinario"),
                                QStringLiteral("it is not an ordinary file (it is a named pipe, a device or a folder)"));
        return std::nullopt;
    }
    std::optional<QByteArray> dati = vb::readFileBytes(path, vb::kMaxTextFileBytes, motivo);
    if (!dati && QFileInfo(path).size() > vb::kMaxTextFileBytes)
        *motivo = vb::layerText(QStringLiteral("MDIForm1"), QStringLiteral("troppogrande"),
                                QStringLiteral("it is larger than %1 MB"))
                      .arg(vb::kMaxTextFileBytes / (1024 * 1024));
    return dati;
}

// The lines of a text (CR LF, a lone CR or a lone LF ends a line).
QStringList righeDi(const QString& testo)
{
    QStringList righe = vb::withLineEndings(testo, vb::LineEnding::Lf).split(QLatin1Char('\n'));
    if (!righe.isEmpty() && righe.last().isEmpty())
        righe.removeLast();
    return righe;
}

// Whether `pezzo` stands in `righe` as consecutive whole lines.
bool contiene(const QStringList& righe, const QStringList& pezzo)
{
    if (pezzo.isEmpty())
        return true;
    for (qsizetype i = 0; i + pezzo.size() <= righe.size(); ++i) {
        if (righe[i] != pezzo[0])
            continue;
        qsizetype k = 1;
        while (k < pezzo.size() && righe[i + k] == pezzo[k])
            ++k;
        if (k == pezzo.size())
            return true;
    }
    return false;
}

// The text cut into what is kept as one piece: each set of three lines,
// and each run of lines between them that are not part of a set.
std::vector<QStringList> pezziDi(const QStringList& righe)
{
    std::vector<QStringList> pezzi;
    QStringList fuori;
    for (qsizetype i = 0; i < righe.size();) {
        if (i + 2 < righe.size() && inPasso(righe[i + 1], righe[i + 2])) {
            if (!fuori.isEmpty())
                pezzi.push_back(std::exchange(fuori, {}));
            pezzi.push_back(righe.mid(i, 3));
            i += 3;
        } else {
            fuori.append(righe[i++]);
        }
    }
    if (!fuori.isEmpty())
        pezzi.push_back(fuori);
    return pezzi;
}

} // namespace

bool WorkingList::Conserva_Rimossi(const QString& testo, QString* errore)
{
    if (m_file.isEmpty())
        return true;
    // What could not be done, with the file it was to be done to and why.
    const auto fallito = [&](const char* chiave, const char* inglese, const QString& file, const QString& motivo) {
        if (errore)
            *errore = vb::layerText(QStringLiteral("MDIForm1"), QLatin1String(chiave), QLatin1String(inglese))
                          .arg(QDir::toNativeSeparators(file), motivo);
        return false;
    };
    QString motivo;
    if (!m_copiaFatta) {
        // The list as it stood before the program first dropped anything in
        // this run. When the file cannot be read there is nothing to copy,
        // and an older copy stays as it is.
        if (QFileInfo(m_file).exists()) {
            const QString copia = m_file + QStringLiteral(".bak");
            const std::optional<QByteArray> dati = leggiTutto(m_file, &motivo);
            if (!dati || !vb::writeFileWhole(copia, *dati, &motivo))
                return fallito("copianonfatta", "The working list file could not be copied to %1: %2.", copia,
                               motivo);
        }
        m_copiaFatta = true;
    }
    if (testo.isEmpty())
        return true;
    // Only ever added to: what an earlier run or an earlier removal put
    // there stays. A set (or lines) already kept there is not added again:
    // a run that ends while its message is open (killed, logged out) drops
    // the same set again at the next start.
    const QString rimossi = File_Rimossi();
    QByteArray dati;
    QStringList conservate;
    const auto nonAggiunti = [&] {
        return fallito("rimossinonaggiunti", "They could not be added to the file %1: %2.", rimossi, motivo);
    };
    if (QFileInfo(rimossi).exists()) {
        const std::optional<QByteArray> vecchi = leggiTutto(rimossi, &motivo);
        if (!vecchi)
            return nonAggiunti();
        dati = *vecchi;
        conservate = righeDi(vb::decodeText(dati).text);
        if (!dati.isEmpty() && !dati.endsWith('\n') && !dati.endsWith('\r'))
            dati += "\r\n";
    }
    QString nuovi;
    for (const QStringList& pezzo : pezziDi(righeDi(testo))) {
        if (contiene(conservate, pezzo))
            continue;
        conservate += pezzo;
        for (const QString& r : pezzo)
            nuovi += r + QStringLiteral("\r\n");
    }
    if (nuovi.isEmpty())
        return true;
    dati += nuovi.toUtf8();
    return vb::writeFileWhole(rimossi, dati, &motivo) || nonAggiunti();
}

bool WorkingList::Leggi_Ini(const QString& path, QStringList* errori, QString* errore, QString* scartate)
{
    QString err;
    const std::optional<vb::TextDocument> doc = vb::readTextFile(path, &err);
    if (!doc) {
        if (errore)
            *errore = err;
        return false;
    }
    // Lines end with CR LF, a lone CR or a lone LF (files edited by hand).
    QStringList righe = vb::withLineEndings(doc->text, vb::LineEnding::Lf).split(QLatin1Char('\n'));
    if (!righe.isEmpty() && righe.last().isEmpty())
        righe.removeLast();

    struct Letto {
        RigaDati testo;
        Satelement elementi;
    };
    std::vector<Letto> letti;
    // The lines left out, as ranges of line indexes (first, last).
    std::vector<std::pair<qsizetype, qsizetype>> fuori;
    // The first few problems are told one by one; the others only counted
    // (a list made by hand may hold a million sets past the 200th).
    constexpr int kMostrati = 10;
    int problemi = 0;
    const auto dici = [&](const std::function<QString()>& testo) {
        if (errori && problemi < kMostrati)
            errori->append(testo());
        ++problemi;
    };
    const QString fine = QStringLiteral("\r\n");
    const auto righeSet = [&](qsizetype i) {
        return mLang::Testo_Lingua("MDIForm1", "riga") + u' '
            + QStringLiteral("%1-%2").arg(i + 1).arg(i + 3);
    };
    // Lines skipped since the sets were last in step: told as one message.
    qsizetype saltoDa = -1, saltoA = -1;
    auto diciSalto = [&] {
        if (saltoDa >= 0) {
            fuori.emplace_back(saltoDa, saltoA);
            dici([&] {
                const QString dove = saltoA > saltoDa ? QStringLiteral("%1-%2").arg(saltoDa + 1).arg(saltoA + 1)
                                                      : QString::number(saltoDa + 1);
                return mLang::Testo_Lingua("MDIForm1", "riganonletta") + fine
                    + mLang::Testo_Lingua("MDIForm1", "riga") + u' ' + dove + QStringLiteral(": ")
                    + righe[saltoDa].left(80);
            });
        }
        saltoDa = saltoA = -1;
    };
    // Catalogue numbers already loaded.
    QSet<long> numeri;
    for (qsizetype i = 0; i < righe.size();) {
        // Three lines make a set when lines 2 and 3 begin as line 1 and
        // line 2 of a set do. Anything else (a name split by a line end in
        // an older file, a set cut short, a line added by hand) is told and
        // skipped one line at a time until the sets are in step again; blank
        // lines are passed over quietly.
        if (i + 2 >= righe.size() || !inPasso(righe[i + 1], righe[i + 2])) {
            if (!vb::Trim(righe[i]).isEmpty()) {
                if (saltoDa < 0)
                    saltoDa = i;
                saltoA = i;
            }
            ++i;
            continue;
        }
        diciSalto();
        const qsizetype inizio = i;
        i += 3;
        if (int(letti.size()) >= kMaxSatelliti) {
            // A file made longer by hand: what does not fit is told (and
            // kept by the caller), never dropped unseen.
            fuori.emplace_back(inizio, inizio + 2);
            dici([&] {
                return mLang::Testo_Lingua("MDIForm1", "elementinonvalidi") + fine + vb::Trim(righe[inizio])
                    + fine + mLang::Testo_Lingua("frmDatabase", "limiteraggiunto1");
            });
            continue;
        }
        // A set whose name line is blank is still a satellite: it loads
        // without a name rather than being dropped.
        RigaDati set{righe[inizio].toStdString(), righe[inizio + 1].toStdString(),
                     righe[inizio + 2].toStdString()};
        Satelement e;
        const ErroreElementi r =
            Analizza_Elementi(set.Riga0, set.Riga1, set.Riga2, gstrMagnitudini, gudtFrequenze, e);
        if (r != ErroreElementi::Nessuno) {
            fuori.emplace_back(inizio, inizio + 2);
            dici([&] { return Testo_Errore_Elementi(r, set); });
            continue;
        }
        // The same satellite twice: the first one stays, the second is told.
        const long numero = Numero_Catalogo(e.NumeroCatalogo);
        if (numeri.contains(numero)) {
            fuori.emplace_back(inizio, inizio + 2);
            dici([&] {
                return mLang::Testo_Lingua("MDIForm1", "satelliteripetuto") + fine + vb::Trim(righe[inizio])
                    + fine + righeSet(inizio);
            });
            continue;
        }
        numeri.insert(numero);
        letti.push_back({std::move(set), std::move(e)});
    }
    diciSalto();
    if (errori && problemi > kMostrati)
        errori->append(QStringLiteral("(+%1)").arg(problemi - kMostrati));
    if (scartate) {
        scartate->clear();
        for (const auto& [da, a] : fuori)
            for (qsizetype k = da; k <= a; ++k)
                *scartate += righe[k] + fine;
    }

    for (int k = 1; k <= kMaxSatelliti; ++k) {
        azzera(k);
        gudtValori[k] = Valori{};
    }
    for (std::size_t i = 0; i < letti.size(); ++i) {
        const int k = int(i) + 1;
        gudtRigheAttive[k] = letti[i].testo;
        gudtSatelementi[k] = letti[i].elementi;
    }
    gintNumSatelliti = int(letti.size());
    emit changed();
    return true;
}

} // namespace core
