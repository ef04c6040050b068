#include "core/element_parser.h"

#include "astro/element_lines.h"
#include "core/data_files.h"
#include "core/globals_orbit.h"
#include "core/mlang.h"
#include "platform/vb.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace core {

namespace {

// The text of columns [start, start + length) of a line, 1-based; what lies
// beyond the end of a short line is simply missing.
QString campo(const QString& riga, int start, int length)
{
    return vb::Mid(riga, start, length);
}

bool slotValido(int slot)
{
    return slot >= 1 && slot <= 202;
}

inline char16_t carattere(QChar c) { return c.unicode(); }
inline char16_t carattere(char c) { return char16_t(static_cast<unsigned char>(c)); }

// Whether a field's text without its padding blanks is one number, whole:
// sign, digits, the point, an exponent (E or D) with its digits, as the
// number rule reads them. Anything else in the field (a letter, a symbol, a
// NUL byte) would be read as 0 or cut the number short.
template <class Testo>
bool Numero_Intero_Del_Campo(const Testo& t)
{
    const std::size_t n = std::size_t(t.size());
    std::size_t i = 0, cifre = 0;
    const auto c = [&](std::size_t k) { return carattere(t.data()[k]); };
    const auto cifra = [&](std::size_t k) { return c(k) >= u'0' && c(k) <= u'9'; };
    if (i < n && (c(i) == u'+' || c(i) == u'-'))
        ++i;
    for (; i < n && cifra(i); ++i)
        ++cifre;
    if (i < n && c(i) == u'.')
        for (++i; i < n && cifra(i); ++i)
            ++cifre;
    if (cifre == 0)
        return false;
    if (i < n && (c(i) == u'e' || c(i) == u'E' || c(i) == u'd' || c(i) == u'D')) {
        ++i;
        if (i < n && (c(i) == u'+' || c(i) == u'-'))
            ++i;
        std::size_t esponente = 0;
        for (; i < n && cifra(i); ++i)
            ++esponente;
        if (esponente == 0)
            return false;
    }
    return i == n;
}

// What is wrong with a number field, if anything. The blanks around its
// number are its padding and a field of blanks reads 0; a blank inside the
// number means the line is out of its columns (a number read across the
// blank would join digits of two fields), and anything but a number is a
// damaged line.
enum class DifettoCampo { Nessuno, Spazio, NonNumero };

DifettoCampo Difetto_Campo(const QString& testo)
{
    const QString t = testo.trimmed();
    if (t.isEmpty())
        return DifettoCampo::Nessuno;
    if (std::any_of(t.cbegin(), t.cend(), [](QChar c) { return c.isSpace(); }))
        return DifettoCampo::Spazio;
    return Numero_Intero_Del_Campo(QStringView(t)) ? DifettoCampo::Nessuno : DifettoCampo::NonNumero;
}

CampoElementi Campo_Guasto(int riga, int start, int length, DifettoCampo difetto)
{
    return {riga, start, start + length - 1, difetto == DifettoCampo::Spazio};
}

// Reads every number field of the set, noting the first one that does not
// hold a number whole.
struct LettoreCampi {
    const QString* l1 = nullptr;
    CampoElementi guasto;

    double operator()(const QString& riga, int start, int length)
    {
        const QString t = campo(riga, start, length);
        if (!guasto)
            if (const DifettoCampo d = Difetto_Campo(t); d != DifettoCampo::Nessuno)
                guasto = Campo_Guasto(&riga == l1 ? 1 : 2, start, length, d);
        return vb::Val(t);
    }
};

// Above this mean motion the orbit would lie inside the Earth (a period of
// 72 minutes); a set read out of its columns can spell billions of
// revolutions a day, and a search stepping by a fraction of such a period
// would never end. A slow orbit, however far out, the propagators report as
// failing when it leaves their reach. The drag term and the derivatives of
// the mean motion are fractions in real sets (their fields hold no more);
// anything larger would have the orbit decay in minutes.
constexpr double kMotoMedioMassimo = 20.0;  // revolutions a day
constexpr double kResistenzaMassima = 1.0;  // |B*| in 1/Earth radii; |n'/2|, |n''/6|

// The checks of a set read, in the order its reasons are given: the
// catalogue number (-1 when not a number), a field that does not hold a
// number (`guasto`, told with its columns), then the values.
ErroreElementi Verifica_Valori(long catalogo, bool guasto, const Satelement& e, bool annoCifre)
{
    if (catalogo < 0)
        return ErroreElementi::CatalogoNonValido;
    if (guasto)
        return ErroreElementi::CampoNonValido;
    if (!std::isfinite(e.MotoMedio) || e.MotoMedio <= 0 || e.MotoMedio > kMotoMedioMassimo)
        return ErroreElementi::MotoMedioNonValido;
    if (!std::isfinite(e.Eccentricita) || e.Eccentricita < 0 || e.Eccentricita >= 1)
        return ErroreElementi::EccentricitaNonValida;
    const double bstar = e.BStarMantissa * std::pow(10.0, e.BStarEsponente);
    const double seconda = e.DerivataSecondaMantissa * std::pow(10.0, e.DerivataSecondaEsponente);
    for (const double v : {bstar, seconda, e.DerivataPrima}) {
        if (!std::isfinite(v) || std::abs(v) >= kResistenzaMassima)
            return ErroreElementi::ResistenzaNonValida;
    }
    // The epoch: a two-digit year and a day of that year (1 is 1 January at 0 h).
    if (!annoCifre || !std::isfinite(e.GiornoEpoca) || e.GiornoEpoca < 1 || e.GiornoEpoca >= 367)
        return ErroreElementi::EpocaNonValida;
    return ErroreElementi::Nessuno;
}

bool Anno_In_Cifre(const QString& l1)
{
    const QString anno = campo(l1, 19, 2).trimmed();
    return !anno.isEmpty() && std::all_of(anno.cbegin(), anno.cend(), [](QChar c) { return c.isDigit(); });
}

// ------------------------------------------------------------ lines of plain ASCII
//
// Element sets are plain ASCII almost always: their fields are then read
// straight from the bytes, with the very rules of the general reading
// above (a column is a byte, the blanks of QChar::isSpace are 9 to 13 and
// 32, the number rule is vb::Val's, and a number whose text the quick
// conversion does not take whole goes to vb::Val itself).

bool Ascii(const std::string& s)
{
    for (const unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

std::string_view Campo_Ascii(std::string_view riga, int start, int length)
{
    if (start < 1)
        start = 1;
    if (std::size_t(start) > riga.size() || length <= 0)
        return {};
    return riga.substr(std::size_t(start - 1), std::size_t(length));
}

bool Spazio(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string_view Senza_Spazi(std::string_view t)
{
    while (!t.empty() && Spazio(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && Spazio(t.back()))
        t.remove_suffix(1);
    return t;
}

// Difetto_Campo of an ASCII field.
DifettoCampo Difetto_Campo_Ascii(std::string_view t)
{
    t = Senza_Spazi(t);
    if (t.empty())
        return DifettoCampo::Nessuno;
    if (std::any_of(t.begin(), t.end(), Spazio))
        return DifettoCampo::Spazio;
    return Numero_Intero_Del_Campo(t) ? DifettoCampo::Nessuno : DifettoCampo::NonNumero;
}

bool Cifra(char c) { return c >= '0' && c <= '9'; }

// vb::Val of an ASCII text.
double Val_Ascii(std::string_view testo)
{
    char compatto[64];
    std::size_t n = 0;
    for (const char c : testo) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
            continue;
        if (n == sizeof compatto)
            return vb::Val(testo);
        compatto[n++] = c;
    }
    // The longest leading number: sign, digits, point, digits, and an
    // exponent only when a digit follows its letter.
    char numero[72];
    std::size_t i = 0, k = 0, cifre = 0;
    if (i < n && (compatto[i] == '+' || compatto[i] == '-'))
        numero[k++] = compatto[i++];
    while (i < n && Cifra(compatto[i])) {
        numero[k++] = compatto[i++];
        ++cifre;
    }
    if (i < n && compatto[i] == '.') {
        numero[k++] = compatto[i++];
        while (i < n && Cifra(compatto[i])) {
            numero[k++] = compatto[i++];
            ++cifre;
        }
    }
    if (cifre == 0)
        return 0.0;
    if (i < n && (compatto[i] == 'e' || compatto[i] == 'E' || compatto[i] == 'd' || compatto[i] == 'D')) {
        std::size_t j = i + 1, kk = k;
        numero[kk++] = 'e';
        if (j < n && (compatto[j] == '+' || compatto[j] == '-'))
            numero[kk++] = compatto[j++];
        std::size_t esponente = 0;
        while (j < n && Cifra(compatto[j])) {
            numero[kk++] = compatto[j++];
            ++esponente;
        }
        if (esponente > 0)
            k = kk;
    }
    const char* inizio = numero;
    if (*inizio == '+')
        ++inizio;
    double v = 0;
    const auto [fine, errore] = std::from_chars(inizio, numero + k, v);
    if (errore != std::errc() || fine != numero + k)
        return vb::Val(testo);
    return v;
}

// Reads every number field of an ASCII set, noting the first one that does
// not hold a number whole.
struct LettoreAscii {
    const char* l1 = nullptr;
    CampoElementi guasto;

    double operator()(std::string_view riga, int start, int length)
    {
        const std::string_view t = Campo_Ascii(riga, start, length);
        if (!guasto)
            if (const DifettoCampo d = Difetto_Campo_Ascii(t); d != DifettoCampo::Nessuno)
                guasto = Campo_Guasto(riga.data() == l1 ? 1 : 2, start, length, d);
        return Val_Ascii(t);
    }
};

// Numero_Catalogo of an ASCII field: blanks and digits read at once.
long Catalogo_Ascii(std::string_view testo)
{
    std::string_view t = testo;
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    if (t.empty() || t.size() > 9 || !std::all_of(t.begin(), t.end(), Cifra))
        return Numero_Catalogo(std::string(testo));
    long v = 0;
    for (const char c : t)
        v = v * 10 + (c - '0');
    return v;
}

// The name as vb::Trim(vb::ProperCase(vb::Left(nome, 24))) makes it.
std::string Nome_Ascii(std::string_view nome)
{
    nome = nome.substr(0, std::min<std::size_t>(nome.size(), 24));
    std::string out(nome);
    bool inizio = true;
    for (char& c : out) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\0') {
            inizio = true;
            continue;
        }
        if (inizio && c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        else if (!inizio && c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        inizio = false;
    }
    const std::size_t b = out.find_first_not_of(' ');
    if (b == std::string::npos)
        return {};
    return out.substr(b, out.find_last_not_of(' ') - b + 1);
}

} // namespace

CampoElementi Campo_Non_Valido(const std::string& riga1, const std::string& riga2)
{
    const QString l1 = QString::fromStdString(riga1);
    const QString l2 = QString::fromStdString(riga2);
    LettoreCampi numero{&l1, {}};
    Satelement e;
    astro::Registri_Da_Righe(l1, l2, numero, e);
    return numero.guasto;
}

long Numero_Catalogo(const std::string& testo)
{
    const std::optional<double> v = vb::StrictValue(std::string_view(testo));
    if (!v || !std::isfinite(*v) || *v < 0 || *v != std::floor(*v) || *v > 2147483647.0)
        return -1;
    return long(*v);
}

namespace {

// The magnitude and the radio channels, the same for both readings.
void Completa_Da_Tabelle(long catalogo, const std::vector<std::string>& magnitudini,
                         const TabellaFrequenze& frequenze, Satelement& e)
{
    if (catalogo < long(magnitudini.size())) {
        const std::string& m = magnitudini[std::size_t(catalogo)];
        if (!m.empty())
            e.MagnitudineStandard = vb::CStrC(vb::Val(std::string_view(m))).toStdString();
    }

    // Radio channels: every row of the satellite, in file order, takes the
    // next free channel until all ten are taken.
    int k = 1;
    for (const std::size_t i : frequenze.Righe_Catalogo(catalogo)) {
        if (k > kCanaliRadio)
            break;
        e.FrequenzaSalita[std::size_t(k)] = frequenze[i].Riga1;
        e.FrequenzaDiscesa[std::size_t(k)] = frequenze[i].Riga2;
        ++k;
    }
}

ErroreElementi Analizza_Ascii(const std::string& riga0, const std::string& riga1, const std::string& riga2,
                              const std::vector<std::string>& magnitudini, const TabellaFrequenze& frequenze,
                              Satelement& out)
{
    const std::string_view l1(riga1), l2(riga2);
    Satelement e; // a whole new record: nothing of a previous occupant stays
    LettoreAscii numero{l1.data(), {}};
    astro::Registri_Da_Righe(l1, l2, numero, e);
    e.NumeroCatalogo = std::string(Campo_Ascii(l1, 3, 5));
    const long catalogo = Catalogo_Ascii(e.NumeroCatalogo);
    const std::string_view anno = Senza_Spazi(Campo_Ascii(l1, 19, 2));
    if (const ErroreElementi v = Verifica_Valori(catalogo, bool(numero.guasto), e,
                                                 !anno.empty() && std::all_of(anno.begin(), anno.end(), Cifra));
        v != ErroreElementi::Nessuno)
        return v;
    e.AnnoLancio = Anno_Da_Due_Cifre(Val_Ascii(Campo_Ascii(l1, 10, 2)));
    e.NumeroLancio = Val_Ascii(Campo_Ascii(l1, 12, 3));
    std::string_view pezzo = Campo_Ascii(l1, 15, 3);
    while (!pezzo.empty() && pezzo.back() == ' ')
        pezzo.remove_suffix(1);
    e.PezzoLancio = std::string(pezzo);
    e.Nome = Nome_Ascii(riga0);
    Completa_Da_Tabelle(catalogo, magnitudini, frequenze, e);
    out = std::move(e);
    return ErroreElementi::Nessuno;
}

} // namespace

ErroreElementi Analizza_Elementi(const std::string& riga0, const std::string& riga1,
                                 const std::string& riga2,
                                 const std::vector<std::string>& magnitudini,
                                 const TabellaFrequenze& frequenze, Satelement& out)
{
    if (Ascii(riga0) && Ascii(riga1) && Ascii(riga2))
        return Analizza_Ascii(riga0, riga1, riga2, magnitudini, frequenze, out);

    const QString nome = QString::fromStdString(riga0);
    const QString l1 = QString::fromStdString(riga1);
    const QString l2 = QString::fromStdString(riga2);

    Satelement e; // a whole new record: nothing of a previous occupant stays
    LettoreCampi numero{&l1, {}};
    astro::Registri_Da_Righe(l1, l2, numero, e);
    e.NumeroCatalogo = campo(l1, 3, 5).toStdString();
    const long catalogo = Numero_Catalogo(e.NumeroCatalogo);
    if (const ErroreElementi v = Verifica_Valori(catalogo, bool(numero.guasto), e, Anno_In_Cifre(l1));
        v != ErroreElementi::Nessuno)
        return v;
    e.AnnoLancio = Anno_Da_Due_Cifre(vb::Val(campo(l1, 10, 2)));
    e.NumeroLancio = vb::Val(campo(l1, 12, 3));
    e.PezzoLancio = vb::RTrim(campo(l1, 15, 3)).toStdString();
    e.Nome = vb::Trim(vb::ProperCase(vb::Left(nome, 24))).toStdString();
    Completa_Da_Tabelle(catalogo, magnitudini, frequenze, e);
    out = std::move(e);
    return ErroreElementi::Nessuno;
}

namespace {

QString motivoErrore(ErroreElementi errore)
{
    switch (errore) {
    case ErroreElementi::Nessuno:
        return {};
    case ErroreElementi::CatalogoNonValido:
        return mLang::Testo_Lingua("MDIForm1", "catalogononvalido");
    case ErroreElementi::MotoMedioNonValido:
        return mLang::Testo_Lingua("MDIForm1", "motomediononvalido");
    case ErroreElementi::CampoNonValido:
        return mLang::Testo_Lingua("MDIForm1", "camponononvalido");
    case ErroreElementi::EccentricitaNonValida:
        return mLang::Testo_Lingua("MDIForm1", "eccentricitanonvalida");
    case ErroreElementi::ResistenzaNonValida:
        return mLang::Testo_Lingua("MDIForm1", "resistenzanonvalida");
    case ErroreElementi::EpocaNonValida:
        return mLang::Testo_Lingua("MDIForm1", "epocanonvalida");
    case ErroreElementi::SlotNonValido:
        return QStringLiteral("slot");
    }
    return {};
}

QString testoErrore(ErroreElementi errore, const std::string& riga0, const QString& motivo)
{
    if (errore == ErroreElementi::Nessuno)
        return {};
    const QString nome = vb::Trim(QString::fromStdString(riga0));
    return mLang::Testo_Lingua("MDIForm1", "elementinonvalidi") + QStringLiteral("\r\n") + nome
        + QStringLiteral("\r\n") + motivo;
}

} // namespace

QString Testo_Errore_Elementi(ErroreElementi errore, const RigaDati& set)
{
    QString motivo = motivoErrore(errore);
    if (errore == ErroreElementi::CampoNonValido) {
        const CampoElementi c = Campo_Non_Valido(set.Riga1, set.Riga2);
        if (c && !c.spazio)
            motivo = mLang::Testo_Lingua("MDIForm1", "camponumerico");
        if (c)
            motivo += QStringLiteral(" (%1 %2, %3 %4-%5)")
                          .arg(mLang::Testo_Lingua("MDIForm1", "riga"))
                          .arg(c.riga)
                          .arg(mLang::Testo_Lingua("MDIForm1", "colonne"))
                          .arg(c.da)
                          .arg(c.a);
    }
    return testoErrore(errore, set.Riga0, motivo);
}

QString Magnitudine_Mostrata(const Satelement& e)
{
    if (e.MagnitudineStandard.empty())
        return {};
    return vb::CStr(vb::Val(std::string_view(e.MagnitudineStandard)));
}

} // namespace core

core::ErroreElementi Estrai_Dati_Satellite(int slot, const std::string& riga0,
                                           const std::string& riga1, const std::string& riga2)
{
    if (!core::slotValido(slot))
        return core::ErroreElementi::SlotNonValido;
    Satelement e;
    const core::ErroreElementi r =
        core::Analizza_Elementi(riga0, riga1, riga2, gstrMagnitudini, gudtFrequenze, e);
    if (r != core::ErroreElementi::Nessuno)
        return r;
    gudtRigheAttive[slot] = RigaDati{riga0, riga1, riga2};
    gudtSatelementi[slot] = std::move(e);
    return r;
}

void Azzera_Satelement(int slot)
{
    if (core::slotValido(slot))
        gudtSatelementi[slot] = Satelement{};
}

void Azzera_RigaDati(int slot)
{
    if (core::slotValido(slot))
        gudtRigheAttive[slot] = RigaDati{};
}

void Azzera_Valori(int slot)
{
    if (core::slotValido(slot))
        gudtValori[slot] = Valori{};
}
