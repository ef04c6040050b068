// The download's checks on what a server sent: the body must be element sets
// and nothing else before it may replace the user's file; an entry of the
// download list becomes an address or nothing.
#include "fuzz_support.h"
#include "network/download_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray byte = fuzz::Byte(data, size);
    const network::ControlloElementi c = network::Controlla_elementi(byte);
    if (c.valido)
        FUZZ_CHECK(c.insiemi > 0 && qsizetype(c.insiemi) * 138 <= byte.size() && c.da == 0);
    else
        FUZZ_CHECK(c.riga >= 0);
    // A damaged number is placed on an element line that was read.
    if (c.da > 0)
        FUZZ_CHECK(!c.valido && c.riga >= 2 && c.a >= c.da && c.a <= 68);
    const QUrl url = network::Url_Da_Voce(QString::fromUtf8(byte.left(512)));
    if (url.isValid())
        FUZZ_CHECK(!url.host().isEmpty());
    return 0;
}
