// The city list: read, written out, read back to the same rows.
#include "fuzz_support.h"
#include "locations/city_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const vb::TextDocument d = vb::decodeText(fuzz::Byte(data, size));
    const options::LetturaCitta l = options::Leggi_Citta(d.text);
    if (!l.ok)
        return 0;
    const options::LetturaCitta di_nuovo = options::Leggi_Citta(options::Testo_Citta(l.righe));
    FUZZ_CHECK(di_nuovo.ok);
    return 0;
}
