#include "core/element_file.h"

#include "platform/vb.h"

#include <QFile>

namespace core {

namespace {

bool utf8Valido(const QByteArray& b)
{
    // Plain ASCII, the usual case, is valid at once.
    bool ascii = true;
    for (char c : b) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return true;
    const vb::TextDocument doc = vb::decodeText(b);
    return doc.encoding != vb::TextEncoding::Windows1252;
}

} // namespace

LettoreElementi::LettoreElementi(QByteArray testo)
{
    // A file saved as UTF-16 (with its byte-order mark) is read as its text.
    if (vb::hasUtf16Bom(testo))
        testo = vb::decodeText(testo).text.toUtf8();
    else if (!utf8Valido(testo))
        testo = vb::decodeWindows1252(testo).toUtf8();
    else if (testo.startsWith("\xEF\xBB\xBF"))
        testo.remove(0, 3);
    m_testo = std::move(testo);
}

bool LettoreElementi::Apri(const QString& path, QString* errore)
{
    std::optional<QByteArray> b = vb::readFileBytes(path, vb::kMaxTextFileBytes, errore);
    if (!b)
        return false;
    *this = LettoreElementi(std::move(*b));
    return true;
}

bool LettoreElementi::leggiRiga(std::string& out)
{
    const qsizetype n = m_testo.size();
    if (m_pos >= n)
        return false;
    const char* d = m_testo.constData();
    qsizetype i = m_pos;
    while (i < n && d[i] != '\r' && d[i] != '\n')
        ++i;
    out.assign(d + m_pos, d + i);
    if (i < n) {
        // CR LF, a lone CR or a lone LF: one line end.
        const bool cr = d[i] == '\r';
        ++i;
        if (cr && i < n && d[i] == '\n')
            ++i;
    }
    m_pos = i;
    ++m_riga;
    return true;
}

LettoreElementi::Esito LettoreElementi::Prossimo(RigaDati& out)
{
    std::string r0;
    if (!leggiRiga(r0) || r0.empty())
        return Esito::Fine;
    std::string r1, r2;
    if (!leggiRiga(r1) || !leggiRiga(r2))
        return Esito::Troncato;
    out.Riga0 = std::move(r0);
    out.Riga1 = std::move(r1);
    out.Riga2 = std::move(r2);
    return Esito::Set;
}

std::string Colonne(const std::string& riga, int da, int a)
{
    if (da < 1)
        da = 1;
    if (a < da || static_cast<size_t>(da) > riga.size())
        return {};
    const size_t start = static_cast<size_t>(da - 1);
    return riga.substr(start, static_cast<size_t>(a - da + 1));
}

} // namespace core
