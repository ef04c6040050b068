#include "network/http_reply.h"

#include "platform/vb.h"

#include <QList>
#include <cctype>
#include <cmath>

namespace options::http {

namespace {
const QByteArray kCrLf = QByteArrayLiteral("\r\n");
}

Indirizzo Dividi_URL(const QString& voce)
{
    QString t = voce;
    if (t.startsWith(QLatin1String("http://"), Qt::CaseSensitive))
        t = t.mid(7);
    if (!t.contains(u'/'))
        t += u'/';
    const qsizetype slash = t.indexOf(u'/');
    return {t.left(slash), t.mid(slash)};
}

QByteArray Richiesta(const Indirizzo& indirizzo)
{
    return "GET " + indirizzo.percorso.toLatin1() + " HTTP/1.1\r\n"
           "Host: " + indirizzo.host.toLatin1() + "\r\n"
           "Connection: close\r\n"
           "Accept: */*\r\n"
           "\r\n";
}

qsizetype Fine_intestazione(const QByteArray& dati)
{
    return dati.indexOf("\r\n\r\n");
}

QByteArray Leggi_intestazione(const QByteArray& blocco, const QByteArray& nome)
{
    const QByteArray cerca = kCrLf + nome + ": ";
    const qsizetype p = blocco.indexOf(cerca);
    if (p < 0)
        return {};
    const qsizetype inizio = p + cerca.size();
    const qsizetype fine = blocco.indexOf(kCrLf, inizio);
    return fine < 0 ? blocco.mid(inizio) : blocco.mid(inizio, fine - inizio);
}

qint32 Leggi_lunghezza(const QByteArray& blocco)
{
    const QList<QByteArray> righe = blocco.split('\n');
    for (QByteArray riga : righe) {
        if (riga.endsWith('\r'))
            riga.chop(1);
        if (!riga.contains("Content-Length"))
            continue;
        const qsizetype blank = riga.indexOf(' ');
        if (blank < 0)
            return 0;
        bool ok = false;
        const qint32 n = riga.mid(blank + 1).trimmed().toInt(&ok);
        return ok && n > 0 ? n : 0;
    }
    return 0;
}

QByteArray Riga_stato(const QByteArray& blocco)
{
    const qsizetype fine = blocco.indexOf(kCrLf);
    return fine < 0 ? blocco : blocco.left(fine);
}

int Codice_stato(const QByteArray& blocco)
{
    const QByteArray riga = Riga_stato(blocco);
    if (!riga.startsWith("HTTP/"))
        return 0;
    const QList<QByteArray> parti = riga.split(' ');
    if (parti.size() < 2)
        return 0;
    bool ok = false;
    const int codice = parti[1].toInt(&ok);
    return ok ? codice : 0;
}

std::optional<QByteArray> Decodifica_chunked(const QByteArray& corpo)
{
    QByteArray risultato;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype fineRiga = corpo.indexOf(kCrLf, pos);
        if (fineRiga < 0)
            return std::nullopt;  // ended inside a size line
        // The hexadecimal number at the start of the line; an extension after it is ignored.
        const QByteArray riga = corpo.mid(pos, fineRiga - pos);
        qsizetype cifre = 0;
        while (cifre < riga.size() && cifre < 8 && std::isxdigit(static_cast<unsigned char>(riga[cifre])))
            ++cifre;
        if (cifre == 0)
            return std::nullopt;
        bool ok = false;
        const qint64 dimensione = riga.left(cifre).toLongLong(&ok, 16);
        if (!ok)
            return std::nullopt;
        if (dimensione == 0)
            return risultato;
        const qsizetype inizio = fineRiga + 2;
        if (inizio + dimensione > corpo.size())
            return std::nullopt;  // the chunk was cut short
        risultato += corpo.mid(inizio, dimensione);
        pos = inizio + dimensione + 2;
    }
}

Risposta Esamina_risposta(const QByteArray& dati)
{
    Risposta r;
    const qsizetype p = Fine_intestazione(dati);
    if (p < 0)
        return r;
    const QByteArray blocco = dati.left(p);
    QByteArray corpo = dati.mid(p + 4);
    const int codice = Codice_stato(blocco);
    if (codice < 200 || codice > 299) {
        r.esito = Esito::ErroreServer;
        r.rigaStato = Riga_stato(blocco);
        return r;
    }
    if (Leggi_intestazione(blocco, "Transfer-Encoding") == "chunked") {
        auto decodificato = Decodifica_chunked(corpo);
        if (!decodificato)
            return r;
        corpo = *decodificato;
    } else {
        const qint32 annunciati = Leggi_lunghezza(blocco);
        if (annunciati > 0 && corpo.size() < annunciati)
            return r;
        if (annunciati > 0)
            corpo.truncate(annunciati);
    }
    if (corpo.isEmpty()) {
        // An empty body ("204 No Content", a length of 0, a lone last chunk)
        // holds no file: saving it would empty the user's element file.
        r.esito = Esito::ErroreServer;
        r.rigaStato = Riga_stato(blocco);
        return r;
    }
    r.esito = Esito::Valida;
    r.corpo = corpo;
    return r;
}

std::optional<double> Velocita(qint64 ricevuti, double secondi)
{
    if (!(secondi > 0))
        return std::nullopt;
    // Rounded to two decimals as the picture "####.00" rounds.
    return vb::Val(vb::FormatC(std::floor(double(ricevuti) / secondi) / 1000.0, u"###0.00"));
}

QString Testo_velocita(double kb)
{
    return vb::CStr(kb) + QStringLiteral(" KB");
}

std::optional<double> Secondi_rimasti(qint64 dimensione, qint64 ricevuti, double velocita)
{
    if (!(velocita > 0))
        return std::nullopt;
    return std::floor(double(dimensione - ricevuti) / 1024.0 / velocita);
}

} // namespace options::http
