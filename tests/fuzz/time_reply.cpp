// The TIME protocol's reply: four bytes to a time, or nothing; and the reply
// as it arrives in pieces, whose keeping must stay bounded.
#include "fuzz_support.h"
#include "network/time_protocol.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray byte = fuzz::Byte(data, size);
    const std::optional<QDateTime> t = network::timeproto::Ora_Da_Risposta(byte, 0.0);
    if (t)
        FUZZ_CHECK(t->isValid());

    // The first byte gives the piece sizes the rest arrives in (1 to 16,
    // cycling), as a socket may hand them over.
    if (size == 0)
        return 0;
    const QByteArray corpo = byte.mid(1);
    const int passo = (quint8(byte[0]) & 15) + 1;
    network::timeproto::Raccolta raccolta;
    qsizetype pos = 0;
    int giro = 0;
    bool valida = true;
    while (pos < corpo.size()) {
        const qsizetype n = std::min<qsizetype>(corpo.size() - pos, (passo + giro++) % 16 + 1);
        valida = raccolta.aggiungi(QByteArrayView(corpo).sliced(pos, n));
        pos += n;
        FUZZ_CHECK(raccolta.byte().size() <= network::timeproto::kRispostaTenuta);
        if (!valida)
            break;
    }
    // What is kept is the reply's beginning; it is invalid exactly when the
    // reply is longer than four bytes, and decodes as the whole reply otherwise.
    FUZZ_CHECK(corpo.startsWith(raccolta.byte()));
    FUZZ_CHECK(valida == (corpo.size() <= network::timeproto::kLunghezzaRisposta));
    const auto a = network::timeproto::Ora_Da_Risposta(raccolta.byte(), 0.0);
    const auto b = network::timeproto::Ora_Da_Risposta(corpo, 0.0);
    FUZZ_CHECK(a.has_value() == b.has_value() && (!a || *a == *b));
    return 0;
}
