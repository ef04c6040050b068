// The element-set parser and the propagators behind it: three lines in, a
// refused set or one whose state can be computed without a fault.
#include "core/element_parser.h"
#include "core/globals_orbit.h"
#include "core/msat.h"
#include "fuzz_support.h"

#include <cmath>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The three lines, split at the first two line feeds.
    const std::string testo(reinterpret_cast<const char*>(data), size);
    const std::size_t a = testo.find('\n');
    const std::size_t b = a == std::string::npos ? a : testo.find('\n', a + 1);
    const std::string r0 = testo.substr(0, a);
    const std::string r1 = a == std::string::npos ? std::string() : testo.substr(a + 1, b - a - 1);
    const std::string r2 = b == std::string::npos ? std::string() : testo.substr(b + 1);

    const core::ErroreElementi e = Estrai_Dati_Satellite(kSlotScratch, r0, r1, r2);
    // A set refused for a damaged number field is told with the field's
    // place; an accepted one holds nothing but numbers in its fields.
    const core::CampoElementi campo = core::Campo_Non_Valido(r1, r2);
    if (e == core::ErroreElementi::CampoNonValido)
        FUZZ_CHECK(campo && (campo.riga == 1 || campo.riga == 2) && campo.da >= 1 && campo.a >= campo.da);
    if (e != core::ErroreElementi::Nessuno) {
        FUZZ_CHECK(!core::Testo_Errore_Elementi(e, RigaDati{r0, r1, r2}).isEmpty());
        return 0;
    }
    FUZZ_CHECK(!campo);
    const Satelement& s = gudtSatelementi[kSlotScratch];
    // What the parser lets through, a model can follow.
    FUZZ_CHECK(std::isfinite(s.MotoMedio) && s.MotoMedio > 0);
    FUZZ_CHECK(s.Eccentricita >= 0 && s.Eccentricita < 1);
    FUZZ_CHECK(std::isfinite(s.EpocaGiuliana));
    for (const double giorni : {0.0, 0.5, 30.0, -3.0})
        mSat::Calcola_Satellite(kSlotScratch, s.EpocaGiuliana + giorni);
    return 0;
}
