// The city list: read, written out, read back to the same rows.
#include "fuzz_support.h"
#include "locations/city_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const vb::TextDocument d = vb::decodeText(fuzz::Byte(data, size));
    const locations::LetturaCitta l = locations::Leggi_Citta(d.text);
    // Every row read is written so that it reads back whole and the same:
    // a list saved by the program never loses a place at the next start.
    const locations::LetturaCitta di_nuovo = locations::Leggi_Citta(locations::Testo_Citta(l.righe));
    FUZZ_CHECK(di_nuovo.completa());
    std::size_t piene = 0;
    for (const locations::RigaCitta& r : l.righe)
        piene += r.vuota() ? 0 : 1;
    FUZZ_CHECK(di_nuovo.righe.size() == piene);
    for (std::size_t i = 0; i < di_nuovo.righe.size(); ++i)
        FUZZ_CHECK(!di_nuovo.righe[i].nome.isEmpty());
    return 0;
}
