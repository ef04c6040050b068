// The fixed data files: the first byte chooses the file, the rest is its content.
#include "core/data_files.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const char* const nomi[] = {"clines.dat", "cnames.dat", "planets.dat",
                                       "magnitud.dat", "frequen.dat", "stars.bin"};
    if (size < 1)
        return 0;
    const QString nome = QString::fromLatin1(nomi[data[0] % 6]);
    const EsitoCaricaDati esito = Verifica_File_Dati(nome, fuzz::Byte(data + 1, size - 1));
    // A failure says which file and why.
    FUZZ_CHECK(esito.ok || (esito.file == nome && !esito.dettaglio.isEmpty()));
    if (size - 1 >= std::size_t(kLunghezzaRecordStella)) {
        const RecordStella r = Decodifica_Record_Stella(reinterpret_cast<const char*>(data + 1));
        Testo_Campo_Stella(r.Nome);
        Testo_Campo_Stella(r.Lettera);
    }
    return 0;
}
