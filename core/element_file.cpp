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
    if (vb::hasUtf16Bom(testo)) {
        const vb::TextDocument doc = vb::decodeText(testo);
        m_testoValido = !doc.decodingError;
        testo = doc.text.toUtf8();
    }
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
    m_inizioRiga = m_pos;
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

bool Riga_Elementi(const std::string& riga, char numero)
{
    return riga.size() >= 2 && riga[0] == numero && riga[1] == ' ';
}

namespace {

// A name line that is an element line: a whole line 1 or line 2 (an element
// line is 69 columns; a name is at most 24).
bool Riga_Elementi_Intera(const std::string& riga)
{
    return riga.size() >= 69 && (Riga_Elementi(riga, '1') || Riga_Elementi(riga, '2'));
}

} // namespace

LettoreElementi::Esito LettoreElementi::Prossimo(RigaDati& out)
{
    std::string r0;
    m_inizioSet = m_pos;
    m_rigaSet = m_riga + 1;
    if (!leggiRiga(r0) || r0.empty())
        return Esito::Fine;
    if (Riga_Elementi_Intera(r0))
        return Esito::NomeAtteso;
    std::string r1, r2;
    if (!leggiRiga(r1))
        return Esito::Troncato;
    if (!Riga_Elementi(r1, '1'))
        return Esito::Riga1Attesa;
    if (!leggiRiga(r2))
        return Esito::Troncato;
    if (!Riga_Elementi(r2, '2'))
        return Esito::Riga2Attesa;
    out.Riga0 = std::move(r0);
    out.Riga1 = std::move(r1);
    out.Riga2 = std::move(r2);
    return Esito::Set;
}

LettoreElementi::Spazi LettoreElementi::Spazi_Fuori_Posto(Esito esito) const
{
    // Format file refuses a text with NUL bytes or characters it cannot read.
    if (!m_testoValido || m_testo.contains('\0'))
        return Spazi::Nessuno;
    const qsizetype n = m_testo.size();
    const char* d = m_testo.constData();
    // It takes blanks off the start of a line only where the line begins
    // the text or follows a line feed (a lone CR does not cut it there).
    const auto aCapo = [d](qsizetype p) { return p == 0 || d[p - 1] == '\n'; };
    // A name line of blanks would be made empty and end the file there,
    // hiding the sets after it rather than mending them.
    const auto nomeVuoto = [&] {
        for (qsizetype p = m_inizioSet; p < n && d[p] != '\r' && d[p] != '\n'; ++p)
            if (d[p] != ' ')
                return false;
        return true;
    };
    if ((esito == Esito::Riga1Attesa || esito == Esito::Riga2Attesa) && aCapo(m_inizioRiga) && !nomeVuoto()) {
        qsizetype p = m_inizioRiga;
        while (p < n && d[p] == ' ')
            ++p;
        const char numero = esito == Esito::Riga1Attesa ? '1' : '2';
        if (p > m_inizioRiga && p + 1 < n && d[p] == numero && d[p + 1] == ' ')
            return Spazi::Iniziali;
    }
    if ((esito == Esito::Troncato || esito == Esito::Riga1Attesa || esito == Esito::Riga2Attesa)
        && aCapo(m_inizioSet)) {
        qsizetype p = m_inizioSet;
        while (p < n && (d[p] == ' ' || d[p] == '\r' || d[p] == '\n'))
            ++p;
        if (p == n)
            return Spazi::RigheBianche;
    }
    return Spazi::Nessuno;
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
