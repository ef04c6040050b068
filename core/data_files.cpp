#include "core/data_files.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QtEndian>

#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

#include "core/globals_time.h"
#include "core/mlang.h"
#include "platform/vb.h"

std::vector<Stella> gudtStelle;
RecordStella gudtRecordStella;
std::vector<LineaCostellazione> gudtLineeCostellazioni;
std::vector<NomeCostellazione> gudtNomiCostellazioni;
std::vector<std::string> gstrMagnitudini;
TabellaFrequenze gudtFrequenze;

int Numero_Linee_Costellazioni()
{
    return gudtLineeCostellazioni.empty() ? 0 : int(gudtLineeCostellazioni.size()) - 1;
}

int Numero_Frequenze()
{
    return gudtFrequenze.empty() ? 0 : int(gudtFrequenze.size()) - 1;
}

namespace {

// A reading failure: which line and why. The file name is added by the caller.
struct Guasto {
    int riga = 0;
    QString dettaglio;
};

// A reason of the data-file message, in the user's language (section
// "MDIForm1"), with its %1, %2 filled in. Never empty: without a language
// file the key and the values still say what was wrong.
QString Motivo(const char* chiave, const QStringList& valori = {})
{
    QString t = mLang::Testo_Lingua(QStringLiteral("MDIForm1"), QLatin1String(chiave));
    if (t.isEmpty())
        return (QLatin1String(chiave) + QLatin1Char(' ') + valori.join(QLatin1Char(' '))).trimmed();
    // In one pass, so that a value holding "%2" stays as it is.
    if (valori.size() == 1)
        return t.arg(valori[0]);
    if (valori.size() >= 2)
        return t.arg(valori[0], valori[1]);
    return t;
}

// Line (from 1) of the character at `pos`: CR LF, a lone CR or a lone LF ends a line.
int Riga_Di(const QString& testo, qsizetype pos)
{
    int riga = 1;
    for (qsizetype i = 0; i < pos && i < testo.size(); ++i) {
        if (testo.at(i) == u'\n' || (testo.at(i) == u'\r' && (i + 1 >= testo.size() || testo.at(i + 1) != u'\n')))
            ++riga;
    }
    return riga;
}

// The leading-number reading of a catalogue number, rounded to a whole number.
double Numero_Catalogo(const QString& campo)
{
    return std::nearbyint(vb::Val(campo));
}

// Everything the loader reads, held apart until every file has been read.
struct DatiFissi {
    std::vector<Stella> stelle;
    RecordStella ultimoRecord;
    std::vector<LineaCostellazione> linee;
    std::vector<NomeCostellazione> nomi;
    std::array<ElementiCorpo, kNumCorpi + 1> corpi;
    std::vector<std::string> magnitudini;
    std::vector<RigaDati> frequenze;
};

// Reads a whole file; nullopt when it cannot be opened or read.
std::optional<QByteArray> Leggi_File(const QString& percorso)
{
    // Bounded: the largest fixed file is well under a megabyte.
    return vb::readFileBytes(percorso, vb::kMaxTextFileBytes);
}

// Reads the fields of one text file and remembers where and why it stopped.
class Lettura {
public:
    explicit Lettura(const QString& testo) : m_testo(testo), m_l(testo)
    {
        m_ultimo = testo.size() - 1;
        while (m_ultimo >= 0 && testo.at(m_ultimo).isSpace())
            --m_ultimo;
    }

    // Nothing left to read.
    bool Fine() const { return m_l.atEnd(); }
    // Only blanks and line ends left.
    bool Solo_Spazi() const { return m_l.position() > m_ultimo; }
    int Riga() const { return Riga_Di(m_testo, m_l.position()); }
    qsizetype Posizione() const { return m_l.position(); }
    int Riga_A(qsizetype pos) const { return Riga_Di(m_testo, pos); }

    bool Testo(QString& out)
    {
        const qsizetype pos = m_l.position();
        try {
            out = m_l.readString();
        } catch (const vb::Error&) {
            m_guasto = {Riga_Di(m_testo, pos), Motivo("erroredbfineriga")};
            return false;
        }
        return true;
    }

    // `cosa`: the language key (section "MDIForm1") naming the field.
    bool Numero(double& out, const char* cosa)
    {
        const qsizetype pos = m_l.position();
        QString t;
        if (!Testo(t))
            return false;
        const QString nudo = vb::Trim(t);
        const std::optional<double> v = nudo.isEmpty() ? std::optional<double>(0.0) : vb::StrictValue(nudo);
        if (!v || !std::isfinite(*v)) {
            m_guasto = {Riga_Di(m_testo, pos),
                        Motivo("erroredbnonnumero", {Motivo(cosa), t})};
            return false;
        }
        out = *v;
        return true;
    }

    Guasto guasto() const { return m_guasto; }

private:
    const QString& m_testo;
    vb::ListReader m_l;
    qsizetype m_ultimo = -1;
    Guasto m_guasto;
};

std::optional<Guasto> Leggi_Stelle(const QByteArray& byte, DatiFissi& d)
{
    const qsizetype necessari = qsizetype(kNumStelle) * kLunghezzaRecordStella;
    if (byte.size() < necessari) {
        return Guasto{0, Motivo("erroredbrecord", {QString::number(byte.size() / kLunghezzaRecordStella),
                                                    QString::number(kNumStelle)})};
    }
    d.stelle.assign(kNumStelle + 1, Stella{});
    for (int n = 1; n <= kNumStelle; ++n) {
        const RecordStella r = Decodifica_Record_Stella(byte.constData() + qsizetype(n - 1) * kLunghezzaRecordStella);
        if (!std::isfinite(r.AscensioneRetta) || !std::isfinite(r.Declinazione)) {
            return Guasto{0, Motivo("erroredbposizione", {QString::number(n)})};
        }
        d.stelle[n].AscensioneRetta = r.AscensioneRetta;
        d.stelle[n].Declinazione = r.Declinazione;
        if (n == kNumStelle)
            d.ultimoRecord = r;
    }
    return std::nullopt;
}

std::optional<Guasto> Leggi_Linee(const QString& testo, DatiFissi& d)
{
    Lettura in(testo);
    d.linee.assign(1, LineaCostellazione{});
    // The figures may carry more segments than the minimum; every row of the
    // file is kept so that no constellation loses part of its drawing.
    while (!in.Solo_Spazi()) {
        QString nonUsato;
        double ar1 = 0, de1 = 0, ar2 = 0, de2 = 0;
        if (!in.Testo(nonUsato) || !in.Numero(ar1, "erroredbascensione") || !in.Numero(de1, "erroredbdeclinazione")
            || !in.Numero(ar2, "erroredbascensione") || !in.Numero(de2, "erroredbdeclinazione"))
            return in.guasto();
        LineaCostellazione s;
        s.AscensioneRetta1 = float(ar1 / 1000.0);
        s.Declinazione1 = float(de1 / 100.0);
        s.AscensioneRetta2 = float(ar2 / 1000.0);
        s.Declinazione2 = float(de2 / 100.0);
        d.linee.push_back(s);
    }
    const int righe = int(d.linee.size()) - 1;
    if (righe < kMinLineeCostellazioni) {
        return Guasto{in.Riga(), Motivo("erroredbsegmenti", {QString::number(righe),
                                                         QString::number(kMinLineeCostellazioni)})};
    }
    return std::nullopt;
}

std::optional<Guasto> Leggi_Nomi(const QString& testo, DatiFissi& d)
{
    Lettura in(testo);
    d.nomi.assign(kNumNomiCostellazioni + 1, NomeCostellazione{});
    for (int i = 1; i <= kNumNomiCostellazioni; ++i) {
        double ar = 0, de = 0;
        QString nome, sigla;
        if (!in.Numero(ar, "erroredbascensione") || !in.Numero(de, "erroredbdeclinazione") || !in.Testo(nome)
            || !in.Testo(sigla))
            return in.guasto();
        NomeCostellazione& n = d.nomi[i];
        n.AscensioneRetta = ar / 1000.0;
        n.Declinazione = de / 100.0;
        n.Nome = nome;
        n.Sigla = sigla.left(3).leftJustified(3, u' ');
    }
    return std::nullopt;
}

std::optional<Guasto> Leggi_Pianeti(const QString& testo, DatiFissi& d)
{
    Lettura in(testo);
    for (int i = 1; i <= kNumCorpi; ++i) {
        ElementiCorpo& c = d.corpi[i];
        QString nome;
        if (!in.Testo(nome) || !in.Numero(c.PeriodoOrbitale, "erroredbperiodo")
            || !in.Numero(c.LongitudineEpoca, "erroredblongepoca")
            || !in.Numero(c.LongitudinePerielio, "erroredbperielio")
            || !in.Numero(c.Eccentricita, "erroredbeccentricita") || !in.Numero(c.SemiasseMaggiore, "erroredbsemiasse")
            || !in.Numero(c.Inclinazione, "erroredbinclinazione") || !in.Numero(c.LongitudineNodo, "erroredbnodo")
            || !in.Numero(c.DiametroUnitario, "erroredbdiametro")
            || !in.Numero(c.MagnitudineUnitaria, "erroredbmagnitudine"))
            return in.guasto();
        c.Nome = nome.toStdString();
    }
    return std::nullopt;
}

std::optional<Guasto> Leggi_Magnitudini(const QString& testo, DatiFissi& d)
{
    Lettura in(testo);
    d.magnitudini.clear();
    while (!in.Fine()) {
        const qsizetype inizio = in.Posizione();
        QString catalogo, magnitudine;
        if (!in.Testo(catalogo))
            return in.guasto();
        if (catalogo.isEmpty())
            break;
        if (!in.Testo(magnitudine))
            return in.guasto();
        const double v = Numero_Catalogo(catalogo);
        if (v < 0 || v > kMaxNumeroCatalogo) {
            return Guasto{in.Riga_A(inizio), Motivo("erroredbcatalogo", {catalogo, QString::number(kMaxNumeroCatalogo)})};
        }
        const auto indice = static_cast<std::size_t>(v);
        // The table only grows: a row out of order never cuts off the rows above it.
        if (d.magnitudini.size() < indice + 1)
            d.magnitudini.resize(indice + 1);
        d.magnitudini[indice] = magnitudine.toStdString();
    }
    return std::nullopt;
}

std::optional<Guasto> Leggi_Frequenze(const QString& testo, DatiFissi& d)
{
    Lettura in(testo);
    d.frequenze.assign(1, RigaDati{});
    while (!in.Fine()) {
        const qsizetype inizio = in.Posizione();
        QString catalogo, salita, discesa, nonUsato;
        if (!in.Testo(catalogo))
            return in.guasto();
        if (catalogo.isEmpty())
            break;
        if (!in.Testo(salita) || !in.Testo(discesa) || !in.Testo(nonUsato))
            return in.guasto();
        // The frequencies stay as written: a 32-bit number would lose the
        // last decimals of a frequency above 1 GHz.
        for (QString* f : {&salita, &discesa}) {
            *f = vb::Trim(*f);
            if (f->isEmpty())
                *f = QStringLiteral("0");
            const std::optional<double> v = vb::StrictValue(*f);
            if (!v || !std::isfinite(*v))
                return Guasto{in.Riga_A(inizio),
                              Motivo("erroredbnonnumero", {Motivo("erroredbfrequenza"), *f})};
        }
        RigaDati r;
        r.Riga0 = catalogo.toStdString();
        r.Riga1 = salita.toStdString();
        r.Riga2 = discesa.toStdString();
        d.frequenze.push_back(std::move(r));
    }
    return std::nullopt;
}

} // namespace

QString Testo_Errore_Dati(const EsitoCaricaDati& esito)
{
    QString testo = mLang::Testo_Lingua(QStringLiteral("MDIForm1"), QStringLiteral("erroredb"));
    if (!esito.ok) {
        testo += QStringLiteral("\r\n") + esito.file;
        if (esito.riga > 0)
            testo += QStringLiteral(", ") + mLang::Testo_Lingua(QStringLiteral("MDIForm1"), QStringLiteral("erroredbriga"))
                + QLatin1Char(' ') + QString::number(esito.riga);
        if (!esito.dettaglio.isEmpty())
            testo += QStringLiteral(": ") + esito.dettaglio;
    }
    return testo;
}

RecordStella Decodifica_Record_Stella(const char* b)
{
    RecordStella r;
    const auto u32 = [&](int off) { return qFromLittleEndian<quint32>(b + off); };
    quint32 bits = u32(0);
    std::memcpy(&r.AscensioneRetta, &bits, 4);
    bits = u32(4);
    std::memcpy(&r.Declinazione, &bits, 4);
    r.Magnitudine = qFromLittleEndian<qint16>(b + 8);
    r.Riservato.assign(b + 10, 2);
    r.Spettro.assign(b + 12, 2);
    r.Lettera.assign(b + 14, 2);
    r.Costellazione.assign(b + 16, 3);
    r.Nome.assign(b + 19, 16);
    return r;
}

QString Testo_Campo_Stella(const std::string& campo)
{
    return vb::decodeText(QByteArray::fromStdString(campo)).text.trimmed();
}

bool Leggi_Record_Stella(const QString& cartella, int numero)
{
    if (numero < 1)
        return false;
    QFile f(QDir(cartella).filePath(QString::fromLatin1(kFileStelle)));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    if (!f.seek(qint64(numero - 1) * kLunghezzaRecordStella))
        return false;
    const QByteArray byte = f.read(kLunghezzaRecordStella);
    if (byte.size() != kLunghezzaRecordStella)
        return false;
    gudtRecordStella = Decodifica_Record_Stella(byte.constData());
    return true;
}

namespace {

struct Passo {
    const char* file;
    bool binario;
    std::optional<Guasto> (*leggiTesto)(const QString&, DatiFissi&);
};
// The files in the order they are read.
const Passo kPassi[] = {
    {kFileStelle, true, nullptr},
    {kFileLineeCostellazioni, false, Leggi_Linee},
    {kFileNomiCostellazioni, false, Leggi_Nomi},
    {kFilePianeti, false, Leggi_Pianeti},
    {kFileMagnitudini, false, Leggi_Magnitudini},
    {kFileFrequenze, false, Leggi_Frequenze},
};

// Reads one file's bytes into d; the failure, named by file and line, or ok.
EsitoCaricaDati Leggi_Passo(const Passo& p, const std::optional<QByteArray>& byte, DatiFissi& d)
{
    EsitoCaricaDati esito;
    esito.file = QString::fromLatin1(p.file);
    if (!byte) {
        esito.ok = false;
        esito.dettaglio = Motivo("erroredbmancante");
        return esito;
    }
    const std::optional<Guasto> g =
        p.binario ? Leggi_Stelle(*byte, d) : p.leggiTesto(vb::decodeText(*byte).text, d);
    if (g) {
        esito.ok = false;
        esito.riga = g->riga;
        esito.dettaglio = g->dettaglio;
    }
    return esito;
}

} // namespace

EsitoCaricaDati Verifica_File_Dati(const QString& nome, const QByteArray& byte)
{
    for (const Passo& p : kPassi) {
        if (nome == QLatin1String(p.file)) {
            DatiFissi d;
            return Leggi_Passo(p, byte, d);
        }
    }
    EsitoCaricaDati esito;
    esito.ok = false;
    esito.file = nome;
    esito.dettaglio = Motivo("erroredbsconosciuto");
    return esito;
}

EsitoCaricaDati Carica_dati(const QString& cartella)
{
    DatiFissi d;
    const QDir dir(cartella);
    for (const Passo& p : kPassi) {
        const EsitoCaricaDati esito = Leggi_Passo(p, Leggi_File(dir.filePath(QString::fromLatin1(p.file))), d);
        if (!esito)
            return esito;
    }

    gudtStelle = std::move(d.stelle);
    gudtRecordStella = d.ultimoRecord;
    gudtLineeCostellazioni = std::move(d.linee);
    gudtNomiCostellazioni = std::move(d.nomi);
    for (int i = 1; i <= kNumCorpi; ++i) {
        const ElementiCorpo& e = d.corpi[i];
        auto& c = gudtCorpi[i];
        c.Nome = e.Nome;
        c.PeriodoOrbitale = e.PeriodoOrbitale;
        c.LongitudineEpoca = e.LongitudineEpoca;
        c.LongitudinePerielio = e.LongitudinePerielio;
        c.Eccentricita = e.Eccentricita;
        c.SemiasseMaggiore = e.SemiasseMaggiore;
        c.Inclinazione = e.Inclinazione;
        c.LongitudineNodo = e.LongitudineNodo;
        c.DiametroUnitario = e.DiametroUnitario;
        c.MagnitudineUnitaria = e.MagnitudineUnitaria;
    }
    gstrMagnitudini = std::move(d.magnitudini);
    gudtFrequenze = std::move(d.frequenze);
    return {};
}
