// Text files as the viewer and every reader decode them: the encoding
// guess, the line readers and the comma-separated list reader.
#include "fuzz_support.h"
#include "platform/vb.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray byte = fuzz::Byte(data, size);
    const vb::TextDocument d = vb::decodeText(byte);
    // What was read is written back byte for byte.
    FUZZ_CHECK(vb::encodeText(d.text, d.encoding) == (d.encoding == vb::TextEncoding::Utf8Bom ? byte.mid(3) : byte)
               || d.encoding == vb::TextEncoding::Utf8Bom);
    vb::LineReader righe(d.text);
    while (!righe.atEnd()) {
        const qsizetype prima = righe.position();
        righe.readLine();
        FUZZ_CHECK(righe.position() > prima);
    }
    vb::ListReader campi(d.text);
    while (!campi.atEnd()) {
        const qsizetype prima = campi.position();
        campi.readNumber();
        FUZZ_CHECK(campi.position() > prima);
    }
    vb::withLineEndings(d.text, vb::LineEnding::CrLf);
    vb::Val(QStringView(d.text));
    vb::StrictValue(QStringView(d.text));
    return 0;
}
