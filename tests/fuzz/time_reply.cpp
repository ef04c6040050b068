// The TIME protocol's reply: four bytes to a time, or nothing.
#include "fuzz_support.h"
#include "network/time_protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray byte = fuzz::Byte(data, size);
    const std::optional<QDateTime> t = network::timeproto::Ora_Da_Risposta(byte, 0.0);
    if (t)
        FUZZ_CHECK(t->isValid());
    return 0;
}
