#pragma once
// The program state the clock and live-view benchmarks start from: an
// observer in Milan, the "SGP4 + SDP4" model, the English texts, the data
// files of the build and the 200 benchmark sets in the working list.
#include "core/data_files.h"
#include "core/globals_orbit.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "core/working_list.h"

#include "bench_sets.h"

namespace bench {

// The working list holds the 200 benchmark sets and nothing else; no file.
inline void Riempi_Lista()
{
    core::WorkingList& lista = core::WorkingList::instance();
    lista.setFile({});
    lista.Rimuovi_Tutti();
    core::WorkingList::Modifica insieme;
    for (int n = 1; n <= 200; ++n)
        lista.Aggiungi(Insieme_Prova(n));
}

inline void Prepara_Programma()
{
    Impostazioni_default();
    gintPropagatore = 3;
    gsngLatitudine = 45.47f;
    gsngLongitudine = 9.19f;
    gsngFusoOrario = 1;
    mLang::Imposta_Cartella_Programma(QStringLiteral(ASTROVELA_PROGRAM_DIR));
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_PROGRAM_DIR "/english.ini"));
    Carica_dati(QStringLiteral(ASTROVELA_PROGRAM_DIR));
    Riempi_Lista();
}

} // namespace bench
