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
        if (e != core::LettoreElementi::Esito::Set) {
            // A set out of step is found at a line that was read.
            if (e != core::LettoreElementi::Esito::Fine) {
                FUZZ_CHECK(l.riga() >= 1);
                // Blanks out of place are judged on the lines read.
                if (l.Spazi_Fuori_Posto(e) == core::LettoreElementi::Spazi::RigheBianche)
                    FUZZ_CHECK(l.rigaSet() >= 1 && l.rigaSet() <= l.riga());
            }
            break;
        }
        // A set is a name line, a line 1 and a line 2, never lines out of step.
        FUZZ_CHECK(!set.Riga0.empty() && core::Riga_Elementi(set.Riga1, '1') && core::Riga_Elementi(set.Riga2, '2'));
        Satelement s;
        if (core::Analizza_Elementi(set.Riga0, set.Riga1, set.Riga2, magnitudini, frequenze, s)
            == core::ErroreElementi::Nessuno)
            FUZZ_CHECK(!core::Campo_Non_Valido(set.Riga1, set.Riga2));
    }
    return 0;
}
