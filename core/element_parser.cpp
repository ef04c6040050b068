#include "core/element_parser.h"

#include "astro/element_lines.h"
#include "core/data_files.h"
#include "core/globals_orbit.h"
#include "core/mlang.h"
#include "platform/vb.h"

#include <algorithm>
#include <cmath>

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

// The blanks around a field's number are its padding; a blank inside it
// means the line is out of its columns (a number read across the blank would
// join digits of two fields).
bool haSpaziInterni(const QString& testo)
{
    const QString t = testo.trimmed();
    return std::any_of(t.cbegin(), t.cend(), [](QChar c) { return c.isSpace(); });
}

// Reads every number field of the set, noting the first one with a blank
// inside its number.
struct LettoreCampi {
    const QString* l1 = nullptr;
    CampoElementi guasto;

    double operator()(const QString& riga, int start, int length)
    {
        const QString t = campo(riga, start, length);
        if (!guasto && haSpaziInterni(t))
            guasto = {&riga == l1 ? 1 : 2, start, start + length - 1};
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

ErroreElementi Verifica_Valori(const Satelement& e, const QString& l1)
{
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
    const QString anno = campo(l1, 19, 2).trimmed();
    const bool annoCifre = !anno.isEmpty() && std::all_of(anno.cbegin(), anno.cend(), [](QChar c) { return c.isDigit(); });
    if (!annoCifre || !std::isfinite(e.GiornoEpoca) || e.GiornoEpoca < 1 || e.GiornoEpoca >= 367)
        return ErroreElementi::EpocaNonValida;
    return ErroreElementi::Nessuno;
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

ErroreElementi Analizza_Elementi(const std::string& riga0, const std::string& riga1,
                                 const std::string& riga2,
                                 const std::vector<std::string>& magnitudini,
                                 const TabellaFrequenze& frequenze, Satelement& out)
{
    const QString nome = QString::fromStdString(riga0);
    const QString l1 = QString::fromStdString(riga1);
    const QString l2 = QString::fromStdString(riga2);

    Satelement e; // a whole new record: nothing of a previous occupant stays
    LettoreCampi numero{&l1, {}};
    astro::Registri_Da_Righe(l1, l2, numero, e);
    e.NumeroCatalogo = campo(l1, 3, 5).toStdString();
    const long catalogo = Numero_Catalogo(e.NumeroCatalogo);
    if (catalogo < 0)
        return ErroreElementi::CatalogoNonValido;
    if (!std::isfinite(e.MotoMedio) || e.MotoMedio <= 0)
        return ErroreElementi::MotoMedioNonValido;
    if (numero.guasto)
        return ErroreElementi::CampoNonValido;
    if (const ErroreElementi v = Verifica_Valori(e, l1); v != ErroreElementi::Nessuno)
        return v;
    e.AnnoLancio = Anno_Da_Due_Cifre(vb::Val(campo(l1, 10, 2)));
    e.NumeroLancio = vb::Val(campo(l1, 12, 3));
    e.PezzoLancio = vb::RTrim(campo(l1, 15, 3)).toStdString();
    e.Nome = vb::Trim(vb::ProperCase(vb::Left(nome, 24))).toStdString();

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
        if (const CampoElementi c = Campo_Non_Valido(set.Riga1, set.Riga2))
            motivo += QStringLiteral(" (%1 %2, %3 %4-%5)")
                          .arg(mLang::Testo_Lingua("MDIForm1", "riga"))
                          .arg(c.riga)
                          .arg(mLang::Testo_Lingua("MDIForm1", "colonne"))
                          .arg(c.da)
                          .arg(c.a);
    }
    return testoErrore(errore, set.Riga0, motivo);
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
