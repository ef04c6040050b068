// The working-list file: whatever it holds, what is read is saved, and the
// saved file reads back to the same list.
#include "core/globals_orbit.h"
#include "core/working_list.h"
#include "fuzz_support.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    core::WorkingList& l = core::WorkingList::instance();
    const QString file = fuzz::Scrivi(QStringLiteral("Astrovela.ini"), fuzz::Byte(data, size));
    QStringList errori;
    if (!l.Leggi_Ini(file, &errori))
        return 0;
    const int n = l.count();
    FUZZ_CHECK(n >= 0 && n <= kMaxSatelliti);
    const QString testo = core::Testo_Lista_Lavoro();

    const QString copia = fuzz::Cartella() + QStringLiteral("/copia.ini");
    FUZZ_CHECK(l.Salva_Ini(copia));
    errori.clear();
    FUZZ_CHECK(l.Leggi_Ini(copia, &errori));
    // Nothing is lost or changed on the way through the file.
    FUZZ_CHECK(l.count() == n);
    FUZZ_CHECK(errori.isEmpty());
    FUZZ_CHECK(core::Testo_Lista_Lavoro() == testo);
    return 0;
}
