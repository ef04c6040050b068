#include "locations/city_list.h"

#include "core/mlang.h"
#include "core/startup.h"

#include <QDir>

#include <cmath>
#include <optional>

namespace locations {

std::vector<RigaCitta> gvarCitta;

namespace {
QString g_file;
vb::TextEncoding g_codifica = vb::TextEncoding::Windows1252;
LetturaFile g_lettura = LetturaFile::Intera;
QString g_motivo;
} // namespace

namespace {

// One line as a city: a name in quotes and three numbers, nothing more.
std::optional<RigaCitta> Riga_Da_Testo(const QString& riga)
{
    vb::ListReader in(riga);
    try {
        RigaCitta r;
        r.nome = in.readString();
        const std::optional<double> numeri[3] = {in.readNumber(), in.readNumber(), in.readNumber()};
        // A name holding a quote (a field that did not begin with one) could
        // not be written back as it was read.
        if (r.nome.trimmed().isEmpty() || !Nome_Citta_Valido(r.nome) || !in.atEnd())
            return std::nullopt;
        for (const auto& n : numeri)
            if (!n || !std::isfinite(*n))
                return std::nullopt;
        r.latitudine = float(*numeri[0]);
        r.longitudine = float(*numeri[1]);
        r.fuso = float(*numeri[2]);
        r.singola = true;
        if (std::abs(r.latitudine) > 90 || std::abs(r.longitudine) > 180 || std::abs(r.fuso) > 24)
            return std::nullopt;
        return r;
    } catch (const vb::Error&) {
        return std::nullopt;   // the line ended before its fourth field
    }
}

} // namespace

LetturaCitta Leggi_Citta(const QString& testo, const std::function<bool()>& arresta)
{
    LetturaCitta esito;
    std::vector<int> vuote;   // blank lines not yet followed by a city
    int numero = 0;
    qsizetype p = 0;
    while (p < testo.size()) {
        if (arresta && arresta()) {
            esito.interrotta = true;
            break;
        }
        qsizetype fine = p;
        while (fine < testo.size() && testo[fine] != u'\r' && testo[fine] != u'\n')
            ++fine;
        const QString riga = testo.mid(p, fine - p);
        p = fine + (fine + 1 < testo.size() && testo[fine] == u'\r' && testo[fine + 1] == u'\n' ? 2 : 1);
        ++numero;
        if (riga.trimmed().isEmpty()) {
            vuote.push_back(numero);
            continue;
        }
        // Blank lines at the very end are no fault; those with cities after them are.
        esito.vuote.insert(esito.vuote.end(), vuote.begin(), vuote.end());
        vuote.clear();
        if (auto r = Riga_Da_Testo(riga)) {
            esito.righe.push_back(*r);
        } else {
            esito.errate.push_back(numero);
            esito.conservate.emplace_back(esito.righe.size(), riga);
        }
    }
    return esito;
}

std::vector<RigaCitta> Tabella_Citta(const LetturaCitta& lettura)
{
    std::vector<RigaCitta> tabella;
    tabella.reserve(lettura.righe.size() + lettura.conservate.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i <= lettura.righe.size(); ++i) {
        for (; k < lettura.conservate.size() && lettura.conservate[k].first == i; ++k) {
            RigaCitta r;
            r.grezza = lettura.conservate[k].second;
            tabella.push_back(r);
        }
        if (i < lettura.righe.size())
            tabella.push_back(lettura.righe[i]);
    }
    return tabella;
}

namespace {
QString Numero(double x, bool singola)
{
    return singola ? vb::CStrC(float(x)) : vb::CStrC(x);
}
} // namespace

QString Riga_Citta(const RigaCitta& riga)
{
    return vb::WriteField(riga.nome) + QLatin1Char(',') + Numero(riga.latitudine, riga.singola)
           + QLatin1Char(',') + Numero(riga.longitudine, riga.singola) + QLatin1Char(',')
           + Numero(riga.fuso, riga.singola);
}

QString Testo_Citta(const std::vector<RigaCitta>& righe)
{
    QString testo;
    for (const RigaCitta& r : righe) {
        if (!r.grezza.isEmpty()) {
            testo += r.grezza;
            testo += QLatin1String("\r\n");
            continue;
        }
        if (r.vuota())
            continue;
        testo += Riga_Citta(r);
        testo += QLatin1String("\r\n");
    }
    return testo;
}

bool Nome_Citta_Valido(const QString& nome)
{
    return !nome.contains(QLatin1Char('"')) && !nome.contains(QLatin1Char('\r'))
           && !nome.contains(QLatin1Char('\n'));
}

QString File_Citta()
{
    if (!g_file.isEmpty())
        return g_file;
    return QDir(core::Cartella_Dati_Utente()).filePath(QStringLiteral("cities.dat"));
}

void Imposta_File_Citta(const QString& path)
{
    g_file = path;
}

void Imposta_Codifica_Citta(vb::TextEncoding encoding)
{
    g_codifica = encoding;
}

void Imposta_Lettura(LetturaFile esito, const QString& motivo)
{
    g_lettura = esito;
    g_motivo = esito == LetturaFile::NonLetta ? motivo : QString();
}

bool Lettura_Completa()
{
    return g_lettura == LetturaFile::Intera;
}

QString Motivo_File_Non_Scritto()
{
    if (g_lettura == LetturaFile::Intera)
        return {};
    // A file that could not be opened was never being read: its reading was
    // not stopped, and the system's reason says why.
    const bool nonLetto = g_lettura == LetturaFile::NonLetta;
    QString testo = mLang::Testo_Lingua("frmLocation", nonLetto ? "nonletto" : "nonlettointero") + QLatin1Char('\r')
        + QDir::toNativeSeparators(File_Citta());
    if (nonLetto && !g_motivo.isEmpty())
        testo += QLatin1Char('\r') + vb::systemReason(g_motivo);
    return testo;
}

bool Salva_Citta(const std::vector<RigaCitta>& righe, QString* errore)
{
    if (!Lettura_Completa()) {
        if (errore)
            *errore = Motivo_File_Non_Scritto();
        return false;
    }
    const QString testo = Testo_Citta(righe);
    // A name typed with a letter Windows-1252 lacks (such as "Łódź") would
    // be written as "?": the list then goes to UTF-8, which the reader
    // recognises and which keeps every other name as it was.
    vb::TextEncoding codifica = g_codifica;
    if (codifica == vb::TextEncoding::Windows1252 && vb::decodeWindows1252(vb::encodeWindows1252(testo)) != testo)
        codifica = vb::TextEncoding::Utf8;
    if (!vb::writeTextFile(File_Citta(), testo, codifica, errore))
        return false;
    g_codifica = codifica;
    return true;
}

} // namespace locations
