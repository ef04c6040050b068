// The download's HTTP reply, examined as it stands when the server closed.
#include "fuzz_support.h"
#include "network/http_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray byte = fuzz::Byte(data, size);
    const options::http::Risposta r = options::http::Esamina_risposta(byte);
    // Only a whole, successful, non-empty reply is ever saved.
    if (r.esito == options::http::Esito::Valida)
        FUZZ_CHECK(!r.corpo.isEmpty() && r.corpo.size() <= byte.size());
    options::http::Decodifica_chunked(byte);
    return 0;
}
