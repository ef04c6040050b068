#include "core/element_parser.h"

#include "astro/element_lines.h"
#include "core/data_files.h"
#include "core/globals_orbit.h"
#include "core/mlang.h"
#include "platform/vb.h"

#include <cmath>

namespace core {

namespace {

// The text of columns [start, start + length) of a line, 1-based; what lies
// beyond the end of a short line is simply missing.
QString campo(const QString& riga, int start, int length)
{
    return vb::Mid(riga, start, length);
}

double numero(const QString& riga, int start, int length)
{
    return vb::Val(campo(riga, start, length));
}

bool slotValido(int slot)
{
    return slot >= 1 && slot <= 202;
}

} // namespace

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
    astro::Registri_Da_Righe(l1, l2, numero, e);
    e.NumeroCatalogo = campo(l1, 3, 5).toStdString();
    const long catalogo = Numero_Catalogo(e.NumeroCatalogo);
    if (catalogo < 0)
        return ErroreElementi::CatalogoNonValido;
    if (!std::isfinite(e.MotoMedio) || e.MotoMedio <= 0)
        return ErroreElementi::MotoMedioNonValido;
    e.AnnoLancio = Anno_Da_Due_Cifre(numero(l1, 10, 2));
    e.NumeroLancio = numero(l1, 12, 3);
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

QString Testo_Errore_Elementi(ErroreElementi errore, const std::string& riga0)
{
    QString motivo;
    switch (errore) {
    case ErroreElementi::Nessuno:
        return {};
    case ErroreElementi::CatalogoNonValido:
        motivo = mLang::Testo_Lingua("MDIForm1", "catalogononvalido");
        break;
    case ErroreElementi::MotoMedioNonValido:
        motivo = mLang::Testo_Lingua("MDIForm1", "motomediononvalido");
        break;
    case ErroreElementi::SlotNonValido:
        motivo = QStringLiteral("slot");
        break;
    }
    const QString nome = vb::Trim(QString::fromStdString(riga0));
    return mLang::Testo_Lingua("MDIForm1", "elementinonvalidi") + QStringLiteral("\r\n") + nome
        + QStringLiteral("\r\n") + motivo;
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
