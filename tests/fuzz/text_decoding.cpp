// Text files as the viewer and every reader decode them: the bounded file
// read, the encoding guess (UTF-16 and UTF-8 byte-order marks included), the
// line readers and the comma-separated list reader.
#include "fuzz_support.h"
#include "platform/vb.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray byte = fuzz::Byte(data, size);
    // The file read stops at its limit: the whole file when it fits,
    // nothing (and a reason) when it does not.
    const qint64 limite = size == 0 ? 0 : qint64(quint8(data[0])) * 4;
    QString errore;
    const std::optional<QByteArray> letti = vb::readFileBytes(fuzz::Scrivi(QStringLiteral("text.txt"), byte), limite, &errore);
    FUZZ_CHECK(letti.has_value() == (byte.size() <= limite));
    FUZZ_CHECK(!letti || *letti == byte);
    FUZZ_CHECK(letti || !errore.isEmpty());

    const vb::TextDocument d = vb::decodeText(byte);
    // What was read is written back byte for byte (a UTF-16 file that was
    // not valid UTF-16 is not text and is never written back).
    FUZZ_CHECK(vb::encodeText(d.text, d.encoding) == (d.encoding == vb::TextEncoding::Utf8Bom ? byte.mid(3) : byte)
               || d.encoding == vb::TextEncoding::Utf8Bom || d.decodingError);
    FUZZ_CHECK(d.decodingError == false || d.encoding == vb::TextEncoding::Utf16LeBom
               || d.encoding == vb::TextEncoding::Utf16BeBom);
    FUZZ_CHECK(!vb::isPlainText(d) || !d.text.contains(QChar(0)));
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
