// Element files as the database loads them: cut into sets, each set parsed.
#include "core/element_file.h"
#include "core/element_parser.h"
#include "core/frequency_table.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::vector<std::string> magnitudini{"", "4.0"};
    static const TabellaFrequenze frequenze;
    core::LettoreElementi l(fuzz::Byte(data, size));
    RigaDati set;
    qsizetype prima = -1;
    for (;;) {
        const core::LettoreElementi::Esito e = l.Prossimo(set);
        // Every step moves on: the reader cannot loop in place.
        FUZZ_CHECK(l.posizione() > prima || e != core::LettoreElementi::Esito::Set);
        FUZZ_CHECK(l.posizione() <= l.dimensione());
        prima = l.posizione();
        if (e != core::LettoreElementi::Esito::Set)
            break;
        Satelement s;
        core::Analizza_Elementi(set.Riga0, set.Riga1, set.Riga2, magnitudini, frequenze, s);
    }
    return 0;
}
