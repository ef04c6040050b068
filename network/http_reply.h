#pragma once
// The HTTP/1.1 exchange of the element-file download, without the socket:
// splitting an entry into host and path, the request, the reply header, the
// chunked transfer coding and the figures of the transfer display.
// Bytes are kept as bytes: the body is saved exactly as it came.
#include <QByteArray>
#include <QString>
#include <optional>

namespace options::http {

struct Indirizzo {
    QString host;       // text before the first "/"
    QString percorso;   // from the first "/" on; "/" when the entry has none
};

// A download entry: a leading "http://" (lower case only) is dropped; the
// host is the text before the first "/", the path the rest.
Indirizzo Dividi_URL(const QString& voce);

// "GET path HTTP/1.1", Host, "Connection: close", "Accept: */*", empty line.
QByteArray Richiesta(const Indirizzo& indirizzo);

// Position (0-based) of the first CR LF CR LF, or -1.
qsizetype Fine_intestazione(const QByteArray& dati);

// The value of header `nome` (exact case, one blank after the colon) in the
// header block; the status line is never matched. Empty when absent.
QByteArray Leggi_intestazione(const QByteArray& blocco, const QByteArray& nome);

// The announced length: the first line holding "Content-Length" (exact case),
// the text after its first blank as a whole number; 0 when there is none or
// it cannot be read.
qint32 Leggi_lunghezza(const QByteArray& blocco);

// The status code of the status line ("HTTP/1.1 200 OK" gives 200), or 0
// when the first line is not an HTTP status line.
int Codice_stato(const QByteArray& blocco);
// The status line itself.
QByteArray Riga_stato(const QByteArray& blocco);

// Decodes a chunked body: the chunks joined, the trailer dropped. Nothing
// when the body ends before its zero-size chunk or a size line is not a
// hexadecimal number.
std::optional<QByteArray> Decodifica_chunked(const QByteArray& corpo);

// Why a whole reply cannot be saved.
enum class Esito { Valida, Incompleta, ErroreServer };
struct Risposta {
    Esito esito = Esito::Incompleta;
    QByteArray corpo;       // the body to save (decoded), when valid
    QByteArray rigaStato;   // for ErroreServer
};
// The reply as it stands when the server has closed: the header must be
// whole, the status a success (2xx), a chunked body must reach its last
// chunk, a sized body must hold all its announced bytes, and the body must
// not be empty (an empty body is reported like a server error).
Risposta Esamina_risposta(const QByteArray& dati);

// The speed in thousands of bytes a second, to two decimals: the whole bytes
// per second divided by 1000. Nothing when no time has passed.
std::optional<double> Velocita(qint64 ricevuti, double secondi);
// "5.12 KB", "12.5 KB", "3 KB": the shortest decimal form.
QString Testo_velocita(double kb);
// Whole seconds left: (announced - received) / 1024 / speed, dropped to a
// whole number. Nothing when the speed is 0.
std::optional<double> Secondi_rimasti(qint64 dimensione, qint64 ricevuti, double velocita);

} // namespace options::http
