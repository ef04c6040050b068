#include "core/database.h"

#include "astro/time.h"
#include "core/data_files.h"
#include "core/element_file.h"
#include "platform/vb.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

std::vector<RigaDati> gudtDatabasePrimario;
std::vector<RigaDati> gudtDatabaseSecondario;

namespace core {

const char* const kTestiChiavi[kNumeroChiavi] = {
    "optname", "optyear", "optinc", "optraan", "optperiod",
    "optnorad", "optmagnitude", "optecc", "optperigee", "optrev",
};

std::vector<RigaDati>& Database(int indice)
{
    return indice == 1 ? gudtDatabaseSecondario : gudtDatabasePrimario;
}

int Anno_Quattro_Cifre(double yy)
{
    const int y = static_cast<int>(std::lround(yy));
    return y < 57 ? 2000 + y : 1900 + y;
}

namespace {

// A number field of an element line: blank reads as 0, as the parser reads
// it; anything else must be a number (a letter, a symbol or a NUL byte in it
// makes a quantity that cannot be formed, not a number read up to it).
std::optional<double> leading(const std::string& riga, int da, int a)
{
    const std::string campo = Colonne(riga, da, a);
    if (campo.find_first_not_of(' ') == std::string::npos)
        return 0.0;
    return vb::StrictValue(std::string_view(campo));
}

// A quantity with its picture, or nothing when it cannot be formed.
struct Quantita {
    std::optional<double> valore;
    QString picture;
};

Quantita quantita(const RigaDati& s, int chiave)
{
    switch (chiave) {
    case OrdineAnnoLancio: {
        const std::optional<double> anno = leading(s.Riga1, 10, 11);
        if (!anno)
            return {std::nullopt, {}};
        return {double(Anno_Quattro_Cifre(*anno)), QStringLiteral("0")};
    }
    case OrdineInclinazione:
        return {leading(s.Riga2, 9, 16), QStringLiteral("000.0")};
    case OrdineNodo:
        return {leading(s.Riga2, 18, 25), QStringLiteral("000.0")};
    case OrdinePeriodo: {
        const double n = leading(s.Riga2, 53, 63).value_or(0);
        if (!(n > 0) || !std::isfinite(n))
            return {std::nullopt, {}};
        return {1440.0 / n, QStringLiteral("0000.0")};
    }
    case OrdineMagnitudine: {
        const auto numero = vb::StrictValue(std::string_view(Colonne(s.Riga1, 3, 7)));
        if (!numero)
            return {std::nullopt, {}};
        const std::string m = Magnitudine_Catalogo(*numero);
        if (m.empty())
            return {std::nullopt, {}};
        return {vb::Val(std::string_view(m)), QStringLiteral("0.0")};
    }
    case OrdineEccentricita: {
        // Seven digits after an assumed decimal point.
        const std::string campo = Colonne(s.Riga2, 27, 33);
        if (campo.find_first_not_of(' ') == std::string::npos)
            return {0.0, QStringLiteral("0.0000")};
        const std::size_t da = campo.find_first_not_of(' '), a = campo.find_last_not_of(' ');
        if (campo.substr(da, a - da + 1).find_first_not_of("0123456789") != std::string::npos)
            return {std::nullopt, {}};
        return {vb::Val(std::string_view("." + campo)), QStringLiteral("0.0000")};
    }
    case OrdinePerigeo:
        return {leading(s.Riga2, 35, 42), QStringLiteral("000.0")};
    case OrdineMotoMedio:
        return {leading(s.Riga2, 53, 63), QStringLiteral("00.0")};
    default:
        return {std::nullopt, {}};
    }
}

const QString kSconosciuto = QStringLiteral("???");

QString nome24(const RigaDati& s)
{
    // The first 24 characters (not bytes) of the name line.
    return QString::fromUtf8(s.Riga0.data(), qsizetype(s.Riga0.size())).left(24);
}

} // namespace

QString Testo_Chiave(const RigaDati& s, int chiave)
{
    if (chiave == OrdineNome)
        return {};
    if (chiave == OrdineCatalogo)
        return QString::fromStdString(Colonne(s.Riga1, 3, 7));
    const Quantita q = quantita(s, chiave);
    if (!q.valore)
        return kSconosciuto;
    if (chiave == OrdineAnnoLancio)
        return QString::number(static_cast<int>(*q.valore));
    return vb::Format(*q.valore, q.picture);
}

QString Testo_Riga(const RigaDati& s, int chiave)
{
    if (chiave == OrdineNome)
        return nome24(s);
    return Testo_Chiave(s, chiave) + QStringLiteral("  ") + nome24(s);
}

std::vector<RigaLista> Righe_Ordinate(const std::vector<RigaDati>& db, int chiave)
{
    const int n = Numero_Voci(db);
    struct Elemento {
        RigaLista riga;
        bool numerico = false;
        double valore = 0;
    };
    std::vector<Elemento> el(static_cast<size_t>(n));
    const QString puntoDecimale = vb::displayLocale().decimalPoint();
    const QChar virgola = puntoDecimale.isEmpty() ? QChar(u'.') : puntoDecimale.at(0);
    for (int i = 1; i <= n; ++i) {
        Elemento& e = el[static_cast<size_t>(i - 1)];
        const RigaDati& s = db[static_cast<size_t>(i)];
        e.riga.voce = i;
        if (chiave == OrdineNome) {
            e.riga.testo = nome24(s);
            continue;
        }
        if (chiave == OrdineCatalogo) {
            const std::string c = Colonne(s.Riga1, 3, 7);
            if (const auto v = vb::StrictValue(std::string_view(c))) {
                e.numerico = true;
                e.valore = *v;
            }
            e.riga.testo = QString::fromStdString(c) + QStringLiteral("  ") + nome24(s);
            continue;
        }
        const Quantita q = quantita(s, chiave);
        if (q.valore) {
            e.numerico = true;
            // Rows are ordered by the value as shown, so rows that show the
            // same figure follow one another by name. One formatting serves
            // both: the storage form, with the user's decimal point shown.
            QString chiaveTesto;
            if (chiave == OrdineAnnoLancio) {
                e.valore = *q.valore;
                chiaveTesto = QString::number(static_cast<int>(*q.valore));
            } else {
                chiaveTesto = vb::FormatC(*q.valore, q.picture);
                e.valore = vb::Val(chiaveTesto);
                if (virgola != u'.')
                    chiaveTesto.replace(u'.', virgola);
            }
            e.riga.testo = chiaveTesto + QStringLiteral("  ") + nome24(s);
        } else {
            e.riga.testo = kSconosciuto + QStringLiteral("  ") + nome24(s);
        }
    }
    std::stable_sort(el.begin(), el.end(), [](const Elemento& a, const Elemento& b) {
        if (a.numerico != b.numerico)
            return a.numerico;
        if (a.numerico && a.valore != b.valore)
            return a.valore < b.valore;
        return a.riga.testo.compare(b.riga.testo, Qt::CaseInsensitive) < 0;
    });
    std::vector<RigaLista> out;
    out.reserve(el.size());
    for (Elemento& e : el)
        out.push_back(std::move(e.riga));
    return out;
}

std::string Magnitudine_Catalogo(double numero)
{
    if (!std::isfinite(numero))
        return {};
    const double r = std::round(numero);
    if (r < 0 || r >= double(gstrMagnitudini.size()))
        return {};
    return gstrMagnitudini[static_cast<size_t>(r)];
}

EsitoCaricamento Carica_File_Elementi(const QString& path, double adesso, const PassoCaricamento& passo)
{
    EsitoCaricamento e;
    LettoreElementi lettore;
    if (!lettore.Apri(path, &e.errore)) {
        e.stato = EsitoCaricamento::Stato::NonApribile;
        return e;
    }
    e.recente = 9999999;
    e.vecchio = 0;
    e.voci.emplace_back(); // entry 0, never filled
    RigaDati set;
    for (;;) {
        const auto esito = lettore.Prossimo(set);
        if (esito == LettoreElementi::Esito::Fine)
            break;
        if (esito != LettoreElementi::Esito::Set) {
            using Stato = EsitoCaricamento::Stato;
            switch (esito) {
            case LettoreElementi::Esito::NomeAtteso: e.stato = Stato::NomeAtteso; break;
            case LettoreElementi::Esito::Riga1Attesa: e.stato = Stato::Riga1Attesa; break;
            case LettoreElementi::Esito::Riga2Attesa: e.stato = Stato::Riga2Attesa; break;
            default: e.stato = Stato::Troncato; break;
            }
            e.riga = lettore.riga();
            // Blanks out of place are told apart from a line missing or out
            // of place: Format file mends the first, not the second.
            switch (lettore.Spazi_Fuori_Posto(esito)) {
            case LettoreElementi::Spazi::Iniziali: e.stato = Stato::SpaziIniziali; break;
            case LettoreElementi::Spazi::RigheBianche:
                e.stato = Stato::RigheBianche;
                e.riga = lettore.rigaSet();
                break;
            case LettoreElementi::Spazi::Nessuno: break;
            }
            return e;
        }
        const int rigaSet = lettore.riga() - 1; // line 1 of the set
        const auto anno = vb::StrictValue(std::string_view(Colonne(set.Riga1, 19, 20)));
        if (!anno) {
            e.stato = EsitoCaricamento::Stato::AnnoNonValido;
            e.riga = rigaSet;
            return e;
        }
        const std::string catalogo = Colonne(set.Riga1, 3, 7);
        const auto numero = vb::StrictValue(std::string_view(catalogo));
        if (!numero) {
            e.stato = EsitoCaricamento::Stato::CatalogoNonValido;
            e.riga = rigaSet;
            return e;
        }
        // Line 2 of another satellite: a set taken apart (written as
        // "00694" on one line and "  694" on the other it is the same one).
        const std::string catalogo2 = Colonne(set.Riga2, 3, 7);
        if (catalogo2 != catalogo && vb::StrictValue(std::string_view(catalogo2)) != numero) {
            e.stato = EsitoCaricamento::Stato::CatalogoDiverso;
            e.riga = rigaSet + 1;
            return e;
        }
        // A set whose epoch day is not a number has no age: it is refused
        // when it is used, and is left out of the ages shown meanwhile.
        if (const std::optional<double> giorno = leading(set.Riga1, 21, 32)) {
            const double epoca = mAstro::Giorno_Giuliano(Anno_Quattro_Cifre(*anno), 1, *giorno);
            const double eta = adesso - epoca;
            if (eta < e.recente)
                e.recente = eta;
            if (eta > e.vecchio)
                e.vecchio = eta;
            e.somma += eta;
            ++e.conEta;
        }
        if (!Magnitudine_Catalogo(*numero).empty())
            ++e.conMagnitudine;
        e.voci.push_back(std::move(set));
        set = RigaDati{};
        if (passo && !passo(lettore.posizione(), lettore.dimensione())) {
            e.stato = EsitoCaricamento::Stato::Annullato;
            return e;
        }
    }
    if (e.numero() == 0)
        e.stato = EsitoCaricamento::Stato::Vuoto;
    if (e.conEta == 0)
        e.recente = 0;
    return e;
}

EsitoAbbinamento Abbina_Lista_Lavoro(const std::vector<std::string>& catalogoSlot,
                                     const std::vector<RigaDati>& db)
{
    constexpr int kMassimo = 200;
    EsitoAbbinamento r;
    r.richiesti = static_cast<int>(catalogoSlot.size());
    // The first entry of each catalogue number, in file order.
    QHash<QByteArray, int> primo;
    const int n = Numero_Voci(db);
    primo.reserve(n);
    for (int j = 1; j <= n; ++j) {
        const std::string c = Colonne(db[static_cast<size_t>(j)].Riga1, 3, 7);
        const QByteArray k(c.data(), qsizetype(c.size()));
        if (!primo.contains(k))
            primo.insert(k, j);
    }
    for (size_t k = 0; k < catalogoSlot.size(); ++k) {
        const QByteArray chiave(catalogoSlot[k].data(), qsizetype(catalogoSlot[k].size()));
        const auto it = primo.constFind(chiave);
        if (it == primo.constEnd())
            continue;
        if (k == 0)
            r.principaleTrovato = true;
        if (r.trovati() < kMassimo)
            r.lista.push_back(db[static_cast<size_t>(it.value())]);
    }
    return r;
}

// ------------------------------------------------------------ long runs

namespace {
bool g_lavoroInCorso = false;
}

LavoroLungo::LavoroLungo()
{
    if (!g_lavoroInCorso) {
        g_lavoroInCorso = true;
        m_acquisito = true;
    }
}

LavoroLungo::~LavoroLungo()
{
    if (m_acquisito)
        g_lavoroInCorso = false;
}

bool LavoroLungo::inCorso()
{
    return g_lavoroInCorso;
}

} // namespace core
