// The element-file download: the pure checks (entry to address, does a body
// hold element sets, speed and time left) and the window against HTTP and
// HTTPS servers the test starts on 127.0.0.1.
#include <gtest/gtest.h>

#include "controls/graph_button.h"
#include "controls/progress_bar.h"
#include "core/clock.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "network/download_checks.h"
#include "network/download_window.h"
#include "platform/fakes.h"
#include "platform/prompt.h"
#include "support/x_input.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QNetworkProxy>
#include <QPointer>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <map>
#include <memory>
#include <netinet/in.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

QByteArray Leggi(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A real element file: 34 sets with CR LF line ends.
QByteArray Elementi()
{
    static const QByteArray dati = Leggi(QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample.txt"));
    return dati;
}

// A self-signed certificate for 127.0.0.1 and localhost, and its key.
const char* kCert = ASTROVELA_TEST_DATA "/tls/localhost.crt";
const char* kChiave = ASTROVELA_TEST_DATA "/tls/localhost.key";
// A test authority, and the key of three server certificates it signed:
// for elements.test, localhost and 127.0.0.1; for another-host.test alone;
// and one for localhost and 127.0.0.1 valid only in 2001.
const char* kAutorita = ASTROVELA_TEST_DATA "/tls/authority.crt";
const char* kChiaveServer = ASTROVELA_TEST_DATA "/tls/server.key";
const char* kCertElementi = ASTROVELA_TEST_DATA "/tls/elements.crt";
const char* kCertAltroNome = ASTROVELA_TEST_DATA "/tls/other-host.crt";
const char* kCertScaduto = ASTROVELA_TEST_DATA "/tls/expired.crt";

QSslCertificate Certificato(const char* percorso = kCert)
{
    QFile f(QString::fromLatin1(percorso));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << percorso;
    return QSslCertificate(&f, QSsl::Pem);
}

// An HTTP server on 127.0.0.1 (over TLS when asked, with the certificate and
// key given) that answers each path with the bytes given, then closes, stays
// silent, resets the connection, or goes on with header lines of 100 bytes
// without end, as fast as they are taken. It stands in for a web proxy too:
// the path of a request through it is the whole address ("http://host/...")
// or, for a tunnel, "host:port"; a tunnel to one of `gallerie` is opened to
// that port of 127.0.0.1 and carries the bytes both ways.
class Server : public QObject {
public:
    enum class Fine { Chiudi, Resta, Reset, SenzaFine };
    struct Risposta {
        QByteArray dati;
        Fine fine = Fine::Chiudi;
    };

    explicit Server(bool tls = false, const char* certificato = kCert, const char* chiave = kChiave)
    {
        if (tls) {
            auto* s = new QSslServer(this);
            QSslConfiguration conf = QSslConfiguration::defaultConfiguration();
            conf.setLocalCertificate(Certificato(certificato));
            QFile k(QString::fromLatin1(chiave));
            EXPECT_TRUE(k.open(QIODevice::ReadOnly));
            conf.setPrivateKey(QSslKey(&k, QSsl::Rsa, QSsl::Pem));
            conf.setPeerVerifyMode(QSslSocket::VerifyNone);
            s->setSslConfiguration(conf);
            m_server = s;
        } else {
            m_server = new QTcpServer(this);
        }
        EXPECT_TRUE(m_server->listen(QHostAddress::LocalHost));
        connect(m_server, &QTcpServer::pendingConnectionAvailable, this, [this] {
            while (QTcpSocket* s = m_server->nextPendingConnection()) {
                ++accettate;
                accogli(s);
            }
        });
    }
    int porta() const { return m_server->serverPort(); }
    QString voce(const char* percorso) const
    {
        return QStringLiteral("127.0.0.1:%1%2").arg(porta()).arg(QLatin1String(percorso));
    }

    std::map<QByteArray, Risposta> percorsi;
    std::map<QByteArray, int> gallerie;
    QList<QByteArray> richieste;
    int accettate = 0;   // connections taken
    // The connections that got header lines without end: still open, and
    // the bytes handed to the system for them.
    int aperte() const
    {
        return int(std::count_if(m_senzaFine.begin(), m_senzaFine.end(), [](const QPointer<QTcpSocket>& s) {
            return s && s->state() == QAbstractSocket::ConnectedState;
        }));
    }
    qint64 inviati = 0;

private:
    void accogli(QTcpSocket* s)
    {
        auto buffer = std::make_shared<QByteArray>();
        connect(s, &QTcpSocket::readyRead, s, [this, s, buffer] {
            *buffer += s->readAll();
            if (!buffer->isEmpty() && !std::isupper(static_cast<unsigned char>(buffer->front()))) {
                // No HTTP request (a TLS handshake, say): refused, as a real server does.
                buffer->clear();
                s->write("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
                s->disconnectFromHost();
                return;
            }
            const qsizetype fine = buffer->indexOf("\r\n\r\n");
            if (fine < 0)
                return;
            const QByteArray richiesta = buffer->left(fine + 4);
            buffer->clear();
            richieste << richiesta;
            const QByteArray percorso = richiesta.split(' ').value(1);
            if (richiesta.startsWith("CONNECT ") && gallerie.count(percorso)) {
                galleria(s, gallerie[percorso]);
                return;
            }
            const auto it = percorsi.find(percorso);
            const Risposta r = it != percorsi.end()
                                   ? it->second
                                   : Risposta{"HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found"};
            s->write(r.dati);
            if (r.fine == Fine::SenzaFine) {
                m_senzaFine << s;
                // More whenever what waits to go out falls under 64 kB.
                auto* tls = qobject_cast<QSslSocket*>(s);
                const auto ancora = [this, s, tls] {
                    static const QByteArray riga = "X-Filler: " + QByteArray(88, 'a') + "\r\n";
                    for (int i = 0; i < 1000 && s->state() == QAbstractSocket::ConnectedState &&
                                    s->bytesToWrite() + (tls ? tls->encryptedBytesToWrite() : 0) < 64 * 1024;
                         ++i)
                        inviati += std::max<qint64>(0, s->write(riga));
                };
                connect(s, &QTcpSocket::bytesWritten, s, ancora);
                if (tls)
                    connect(tls, &QSslSocket::encryptedBytesWritten, s, ancora);
                ancora();
            } else if (r.fine == Fine::Chiudi) {
                s->disconnectFromHost();
            } else if (r.fine == Fine::Reset) {
                s->flush();
                s->waitForBytesWritten(1000);
                // Closing with a zero linger time sends a reset, not an end.
                const linger l{1, 0};
                ::setsockopt(int(s->socketDescriptor()), SOL_SOCKET, SO_LINGER, &l, sizeof l);
                s->abort();
            }
        });
    }

    // From here on s carries bytes to and from 127.0.0.1:porta, no faster
    // than the client takes them; either end closing closes the other.
    void galleria(QTcpSocket* s, int porta)
    {
        disconnect(s, &QTcpSocket::readyRead, s, nullptr);
        auto* su = new QTcpSocket(s);
        su->setReadBufferSize(64 * 1024);
        const auto giu = [s, su] {
            while (s->bytesToWrite() < 256 * 1024 && su->bytesAvailable() > 0)
                s->write(su->read(64 * 1024));
        };
        connect(su, &QTcpSocket::connected, s,
                [s] { s->write("HTTP/1.1 200 Connection established\r\n\r\n"); });
        connect(su, &QTcpSocket::readyRead, s, giu);
        connect(s, &QTcpSocket::bytesWritten, s, giu);
        connect(s, &QTcpSocket::readyRead, su, [s, su] { su->write(s->readAll()); });
        connect(s, &QTcpSocket::stateChanged, su, [su](QAbstractSocket::SocketState st) {
            if (st == QAbstractSocket::UnconnectedState)
                su->abort();
        });
        connect(su, &QTcpSocket::stateChanged, s, [s](QAbstractSocket::SocketState st) {
            if (st == QAbstractSocket::UnconnectedState)
                s->disconnectFromHost();
        });
        su->connectToHost(QHostAddress::LocalHost, quint16(porta));
    }

    QTcpServer* m_server = nullptr;
    QList<QPointer<QTcpSocket>> m_senzaFine;
};

// A plain HTTP server on a thread of its own, as a real one is: whatever the
// request, "HTTP/1.1 200 OK" and then header lines of 100 bytes without end,
// as fast as they are taken or one every `pausa` ms, until the connection is
// closed; then it takes the next one.
class ServerSenzaFine {
public:
    explicit ServerSenzaFine(std::chrono::milliseconds pausa) : m_pausa(pausa)
    {
        m_ascolto = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t l = sizeof a;
        EXPECT_EQ(::bind(m_ascolto, reinterpret_cast<sockaddr*>(&a), l), 0);
        EXPECT_EQ(::listen(m_ascolto, 4), 0);
        ::getsockname(m_ascolto, reinterpret_cast<sockaddr*>(&a), &l);
        m_porta = ntohs(a.sin_port);
        m_filo = std::thread([this] { Servi(); });
    }
    ~ServerSenzaFine()
    {
        m_fine = true;
        ::shutdown(m_ascolto, SHUT_RDWR);
        m_filo.join();
        ::close(m_ascolto);
    }
    QString voce() const { return QStringLiteral("127.0.0.1:%1/NORAD/elements/visual.txt").arg(m_porta); }
    std::atomic<int> connessioni{0};   // taken so far
    std::atomic<int> aperte{0};        // being sent to now
    std::atomic<qint64> inviati{0};    // bytes handed to the system

private:
    void Servi()
    {
        const std::string riga = "X-Filler: " + std::string(88, 'a') + "\r\n";
        while (!m_fine) {
            const int c = ::accept4(m_ascolto, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0)
                return;
            ++connessioni;
            ++aperte;
            const timeval attesa{0, 100000};   // to look at m_fine now and then
            ::setsockopt(c, SOL_SOCKET, SO_SNDTIMEO, &attesa, sizeof attesa);
            ::setsockopt(c, SOL_SOCKET, SO_RCVTIMEO, &attesa, sizeof attesa);
            std::string richiesta;
            char b[4096];
            while (!m_fine && richiesta.find("\r\n\r\n") == std::string::npos) {
                const ssize_t n = ::recv(c, b, sizeof b, 0);
                if (n == 0 || (n < 0 && errno != EAGAIN))
                    break;
                if (n > 0)
                    richiesta.append(b, size_t(n));
            }
            std::string dati = "HTTP/1.1 200 OK\r\n";
            while (!m_fine) {
                if (dati.empty())
                    dati = riga;
                const ssize_t n = ::send(c, dati.data(), dati.size(), MSG_NOSIGNAL);
                if (n < 0 && errno != EAGAIN)
                    break;   // closed by the other end
                if (n > 0) {
                    inviati += n;
                    dati.erase(0, size_t(n));
                    if (dati.empty() && m_pausa.count() > 0)
                        std::this_thread::sleep_for(m_pausa);
                }
            }
            --aperte;
            ::close(c);
        }
    }

    std::chrono::milliseconds m_pausa;
    int m_ascolto = -1;
    int m_porta = 0;
    std::atomic<bool> m_fine{false};
    std::thread m_filo;
};

Server::Risposta Ok(const QByteArray& corpo, const QByteArray& intestazione = "Content-Length")
{
    return {"HTTP/1.1 200 OK\r\n" + intestazione + ": " + QByteArray::number(corpo.size()) + "\r\n\r\n" + corpo};
}

QByteArray Chunked(const QByteArray& corpo, int pezzo)
{
    QByteArray out;
    for (qsizetype i = 0; i < corpo.size(); i += pezzo) {
        const QByteArray p = corpo.mid(i, pezzo);
        out += QByteArray::number(p.size(), 16) + "\r\n" + p + "\r\n";
    }
    return out + "0\r\n\r\n";
}

struct DownloadTest : ::testing::Test {
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    QTemporaryDir dir;
    std::array<QString, 31> vecchi = gstrRemoto;
    QString vecchioPrimario = gstrDatabasePrimario;
    QSslConfiguration vecchiaTls = QSslConfiguration::defaultConfiguration();
    QNetworkProxy vecchioProxy = QNetworkProxy::applicationProxy();
    const QByteArray vecchio = "old contents\r\n";
    platform::FakePrompt* avvisi = &fakes.prompt;   // where Rifiutato looks

    void SetUp() override
    {
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        fakes.settings.setValue("Download", "Verifica connessione", "0");
        gstrRemoto.fill(QString());
        pflgSostituzione = false;
    }
    void TearDown() override
    {
        gstrRemoto = vecchi;
        gstrDatabasePrimario = vecchioPrimario;
        pflgSostituzione = false;
        QSslConfiguration::setDefaultConfiguration(vecchiaTls);
        QNetworkProxy::setApplicationProxy(vecchioProxy);
        mLang::Usa_File_Lingua(QString());
    }
    QString percorso(const char* nome) const { return dir.filePath(QLatin1String(nome)); }
    QString fileVecchio(const char* nome)
    {
        const QString p = percorso(nome);
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(vecchio);
        return p;
    }
    // Only this test trusts the certificate of the local HTTPS server, or
    // the test authority.
    void FidatiDelCertificato(const char* certificato = kCert)
    {
        QSslConfiguration c = QSslConfiguration::defaultConfiguration();
        c.addCaCertificate(Certificato(certificato));
        QSslConfiguration::setDefaultConfiguration(c);
    }
    // Every request to a host that is not this computer goes through the
    // web proxy at this port of 127.0.0.1 (a request to this computer itself
    // never goes through a proxy).
    void AttraversoIlProxy(int porta)
    {
        QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"),
                                                         quint16(porta)));
    }
    std::unique_ptr<frmDownload> Finestra(const QString& voce)
    {
        gstrRemoto[0] = voce;
        return std::make_unique<frmDownload>();
    }
    // Runs one transfer of the window's first entry into `file`; waits for its end.
    void Scarica(frmDownload& w, const QString& file)
    {
        fakes.files.fileAnswers = {file};
        w.cmdOK_Click();
        ASSERT_TRUE(w.inCorso());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !w.inCorso(); }, 10000));
    }
    // The transfer was refused with the message of `chiave`, the file at
    // `file` is as it was and the window is ready for another try.
    void Rifiutato(frmDownload& w, const QString& file, const char* chiave, const QByteArray& caso)
    {
        const QList<platform::FakePrompt::Call>& calls = avvisi->calls;
        EXPECT_EQ(Leggi(file), vecchio) << caso.constData();
        ASSERT_EQ(calls.size(), 1) << caso.constData();
        EXPECT_TRUE(calls[0].text.startsWith(mLang::Testo_Lingua("frmDownload", chiave)))
            << caso.constData() << ": " << calls[0].text.toStdString();
        EXPECT_EQ(calls[0].flags, platform::vbExclamation);
        EXPECT_FALSE(w.completato());
        EXPECT_TRUE(w.cmdOK->isEnabled());
        EXPECT_TRUE(w.cmbFileRemoto->isEnabled());
        EXPECT_FALSE(pflgSostituzione);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1) << "a temporary was left behind";
    }
};

} // namespace

TEST(DownloadChecks, EntriesBecomeAddresses)
{
    const QUrl a = network::Url_Da_Voce(QStringLiteral("celestrak.org/NORAD/elements/visual.txt"));
    EXPECT_EQ(a.toString(), "http://celestrak.org/NORAD/elements/visual.txt");
    // The scheme in any letter case, a port, blanks around the entry.
    const QUrl b = network::Url_Da_Voce(QStringLiteral("  HTTP://Example.org:8080/a/b.txt "));
    EXPECT_EQ(b.scheme(), "http");
    EXPECT_EQ(b.host(), "example.org");
    EXPECT_EQ(b.port(), 8080);
    EXPECT_EQ(b.path(), "/a/b.txt");
    const QUrl c = network::Url_Da_Voce(QStringLiteral("https://example.org"));
    EXPECT_EQ(c.toString(), "https://example.org/");
    EXPECT_EQ(network::Url_Da_Voce(QStringLiteral("example.org")).path(), "/");
    for (const char* cattiva : {"", "   ", "http://", "/NORAD/elements/visual.txt", "ftp://x.org/a",
                                "user:pw@x.org/a", "x.org:99999/a", "http://x y.org/a"})
        EXPECT_FALSE(network::Url_Da_Voce(QString::fromLatin1(cattiva)).isValid()) << cattiva;
}

TEST(DownloadChecks, OnlyWholeElementSetsAreAnElementFile)
{
    const QByteArray file = Elementi();
    auto c = network::Controlla_elementi(file);
    EXPECT_TRUE(c.valido);
    EXPECT_EQ(c.insiemi, 34);
    // LF or CR line ends and blank lines after the last set are fine too.
    QByteArray lf = file;
    lf.replace("\r\n", "\n");
    EXPECT_EQ(network::Controlla_elementi(lf + "\n\n").insiemi, 34);
    QByteArray cr = file;
    cr.replace("\r\n", "\r");
    EXPECT_TRUE(network::Controlla_elementi(cr).valido);

    struct Caso {
        QByteArray corpo;
        int riga;
    };
    const QByteArray iss = "ISS (ZARYA)\r\n"
                           "1 25544U 98067A   13330.58127943  .00000814  00000-0  21834-4 0  1064\r\n"
                           "2 25544  51.6484  23.7537 0001246  74.1647  18.7420 15.50540527859894\r\n";
    const Caso casi[] = {
        {"", 0},
        {"\r\n\r\n", 0},
        {"<!DOCTYPE html>\r\n<html><body>Moved</body></html>\r\n", 2},
        {"No GP data found\r\n", 1},
        {iss + iss.left(iss.size() - 10), 6},                      // cut short in the last line
        {iss + iss.left(iss.indexOf("\r\n2 ")), 5},                // a set without its line 2
        {iss + "\r\n" + iss, 5},                                   // a blank line inside the file
        {QByteArray(iss).replace("2 25544", "2 25545"), 3},        // two satellites mixed
        {iss.mid(iss.indexOf("1 25544")), 1},                      // two-line sets, no name line
    };
    for (const Caso& k : casi) {
        c = network::Controlla_elementi(k.corpo);
        EXPECT_FALSE(c.valido) << k.corpo.constData();
        EXPECT_EQ(c.riga, k.riga) << k.corpo.constData();
        EXPECT_FALSE(c.controllo) << k.corpo.constData();
    }
    // Control characters in a name (escape, bell, DEL, C1 in UTF-8) or in an
    // element line are refused with the line named; markup and shell-like
    // texts in a name are only text and are kept (they are shown as text).
    const auto conNome = [&](const QByteArray& nome) { return iss + QByteArray(iss).replace("ISS (ZARYA)", nome); };
    const Caso controlli[] = {
        {conNome("ISS\x1b[31m"), 4},
        {conNome("ISS \x07"), 4},
        {conNome("ISS\x7f"), 4},
        {conNome("ISS \xc2\x9b"), 4},
        {iss + QByteArray(iss).replace(QByteArray("0  1064"), QByteArray("0\x00 1064", 7)), 5},
    };
    for (const Caso& k : controlli) {
        c = network::Controlla_elementi(k.corpo);
        EXPECT_FALSE(c.valido) << k.corpo.constData();
        EXPECT_TRUE(c.controllo) << k.corpo.constData();
        EXPECT_EQ(c.riga, k.riga) << k.corpo.constData();
    }
    // A number field with a letter, a symbol or a blank inside it, which the
    // parser would refuse in the saved file: refused, placed by line and
    // columns.
    const struct {
        QByteArray corpo;
        int riga, da, a;
    } numeri[] = {
        {iss + QByteArray(iss).replace("51.6484", "51.6Z84"), 6, 9, 16},
        {iss + QByteArray(iss).replace("15.50540527", "15.5054052l"), 6, 53, 63},
        {QByteArray(iss).replace("21834-4", "2#834-4"), 2, 54, 59},
        {QByteArray(iss).replace("51.6484", "51.6 84"), 3, 9, 16},
    };
    for (const auto& k : numeri) {
        c = network::Controlla_elementi(k.corpo);
        EXPECT_FALSE(c.valido) << k.corpo.constData();
        EXPECT_FALSE(c.controllo);
        EXPECT_EQ(c.riga, k.riga) << k.corpo.constData();
        EXPECT_EQ(c.da, k.da);
        EXPECT_EQ(c.a, k.a);
    }
    EXPECT_EQ(network::Controlla_elementi(file).da, 0);
    for (const QByteArray& nome : {QByteArray("<h1>BIG</h1><img src=\"x.png\">"), QByteArray("$(id) `id`"),
                                   QByteArray("ISS\t(ZARYA)"), QByteArray("Citt\xc3\xa0")}) {
        c = network::Controlla_elementi(conNome(nome));
        EXPECT_TRUE(c.valido) << nome.constData();
        EXPECT_EQ(c.insiemi, 2);
    }
}

TEST(DownloadChecks, SpeedAndTimeLeft)
{
    // 51200 of 102400 bytes in 10 s: 5.12 thousand bytes a second, 9 s left.
    const auto v = network::Velocita(51200, 10.0);
    ASSERT_TRUE(v);
    EXPECT_DOUBLE_EQ(*v, 5.12);
    EXPECT_EQ(network::Testo_velocita(*v), "5.12 KB");
    EXPECT_EQ(network::Testo_velocita(12.5), "12.5 KB");
    EXPECT_DOUBLE_EQ(network::Secondi_rimasti(102400, 51200, *v).value_or(-1), 9.0);
    EXPECT_FALSE(network::Velocita(100, 0.0));
    EXPECT_FALSE(network::Secondi_rimasti(100, 10, 0.0));
}

TEST_F(DownloadTest, ElementFilesArriveSizedChunkedOrWithLowerCaseHeaders)
{
    const QByteArray corpo = Elementi();
    Server server;
    server.percorsi["/NORAD/elements/visual.txt"] = Ok(corpo);
    server.percorsi["/chunked.txt"] = {"HTTP/1.1 200 OK\r\ntransfer-encoding: chunked\r\n\r\n" + Chunked(corpo, 700)};
    server.percorsi["/lower.txt"] = Ok(corpo, "content-length");
    server.percorsi["/unsized.txt"] = {"HTTP/1.1 200 OK\r\n\r\n" + corpo};
    {
        // The scheme in capitals and a port are understood.
        auto w = Finestra(QStringLiteral("HTTP://") + server.voce("/NORAD/elements/visual.txt"));
        Scarica(*w, percorso("visual.txt"));
        EXPECT_EQ(Leggi(percorso("visual.txt")), corpo + "\r\n");
        EXPECT_TRUE(w->completato());
        EXPECT_FALSE(w->cmdOK->isEnabled());
        EXPECT_EQ(w->cmdCancel->Caption(), mLang::Testo_Lingua("Buttons", "close"));
        EXPECT_EQ(w->lblStatus->text(), mLang::Testo_Lingua("frmDownload", "downloadcompleto"));
        EXPECT_EQ(w->ProgressBar1->shownText(), "100%");
        ASSERT_EQ(fakes.files.calls.size(), 1);
        EXPECT_EQ(fakes.files.calls[0].request.fileName, "visual.txt");
        EXPECT_EQ(fakes.files.calls[0].request.flags, platform::fileOverwritePrompt);
        ASSERT_EQ(server.richieste.size(), 1);
        EXPECT_TRUE(server.richieste[0].startsWith("GET /NORAD/elements/visual.txt HTTP/1.1\r\n"));
        EXPECT_TRUE(server.richieste[0].contains(QStringLiteral("\r\nHost: 127.0.0.1:%1\r\n")
                                                     .arg(server.porta()).toLatin1()));
    }
    for (const char* p : {"/chunked.txt", "/lower.txt", "/unsized.txt"}) {
        auto w = Finestra(server.voce(p));
        Scarica(*w, percorso("out.txt"));
        EXPECT_EQ(Leggi(percorso("out.txt")), corpo + "\r\n") << p;
        EXPECT_TRUE(fakes.prompt.calls.isEmpty()) << p;
    }
}

TEST_F(DownloadTest, BadRepliesSayWhyAndLeaveTheUsersFileByteForByte)
{
    const QByteArray corpo = Elementi();
    const QByteArray meta = corpo.left(corpo.size() / 2 + 17);   // cut inside a line
    const QByteArray html = "<!DOCTYPE html>\r\n<html><body>Service moved</body></html>\r\n";
    Server server;
    server.percorsi["/short"] = {"HTTP/1.1 200 OK\r\ncontent-length: " + QByteArray::number(corpo.size()) +
                                 "\r\n\r\n" + meta};
    server.percorsi["/chunks"] = {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" +
                                  Chunked(corpo, 500).left(1200)};
    server.percorsi["/reset"] = {"HTTP/1.1 200 OK\r\n\r\n" + meta, Server::Fine::Reset};
    server.percorsi["/html"] = Ok(html);
    server.percorsi["/empty"] = {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"};
    server.percorsi["/nocontent"] = {"HTTP/1.1 204 No Content\r\n\r\n"};
    server.percorsi["/error"] = {"HTTP/1.1 500 Internal Server Error\r\nContent-Length: " +
                                 QByteArray::number(corpo.size()) + "\r\n\r\n" + corpo};
    server.percorsi["/loop"] = {"HTTP/1.1 302 Found\r\nLocation: /loop\r\nContent-Length: 0\r\n\r\n"};
    server.percorsi["/big"] = Ok(corpo + corpo + corpo);
    // A letter inside the inclination of DELTA 1 DEB (line 9).
    server.percorsi["/damaged"] = Ok(QByteArray(corpo).replace("2 06251  58.0579", "2 06251  58.O579"));
    struct Caso {
        const char* percorso;
        const char* chiave;
    };
    const Caso casi[] = {
        {"/missing", "errorehttp"},     {"/error", "errorehttp"},          {"/empty", "errorehttp"},
        {"/nocontent", "errorehttp"},   {"/short", "rispostaincompleta"}, {"/chunks", "rispostaincompleta"},
        {"/html", "nonelementi"},       {"/loop", "redirectrifiutato"},   {"/big", "troppogrande"},
        {"/damaged", "camponumerico"},
    };
    const QString file = fileVecchio("keep.txt");
    gstrDatabasePrimario = file;
    for (const Caso& c : casi) {
        fakes.prompt.calls.clear();
        auto w = Finestra(server.voce(c.percorso));
        w->mlngLimiteCorpo = 2 * corpo.size();
        Scarica(*w, file);
        Rifiutato(*w, file, c.chiave, c.percorso);
    }
    // The damaged number is placed.
    fakes.prompt.calls.clear();
    Scarica(*Finestra(server.voce("/damaged")), file);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_TRUE(fakes.prompt.calls[0].text.contains("\r\nLine 9, columns 9-16\r\n"))
        << fakes.prompt.calls[0].text.toStdString();

    // 404 says what the server answered.
    fakes.prompt.calls.clear();
    auto w = Finestra(server.voce("/missing"));
    Scarica(*w, file);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_TRUE(fakes.prompt.calls[0].text.contains("404")) << fakes.prompt.calls[0].text.toStdString();

    // A reset in the middle of a reply without a length: whatever arrived
    // is not a whole file.
    fakes.prompt.calls.clear();
    w = Finestra(server.voce("/reset"));
    Scarica(*w, file);
    EXPECT_EQ(Leggi(file), vecchio);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_FALSE(w->completato());
    EXPECT_TRUE(w->cmdOK->isEnabled());
}

// A download that ends while the user types in another program (the window
// waits for a silent server; the user clicks elsewhere): the other program
// keeps every key, and the reason is told once the user is back.
TEST_F(DownloadTest, ADownloadThatEndsLeavesTheKeyboardWhereTheUserIs)
{
    if (qEnvironmentVariableIsEmpty("ASTROVELA_FINE_DOWNLOAD")) {
        for (auto gestore : {testsupport::Gestore::Nessuno, testsupport::Gestore::Openbox})
            testsupport::Riesegui_Per_Ogni("ASTROVELA_FINE_DOWNLOAD", {"altroprogramma"}, gestore);
        return;
    }
    testsupport::InputX x;
    ASSERT_TRUE(x.pronto()) << x.errore().toStdString();
    testsupport::AltroProgramma altro(QPoint(960, 900));
    ASSERT_TRUE(QTest::qWaitFor([&] { return altro.pronto(); }, 20000)) << "the other program did not show";
    platform::QtPrompt scatole;
    platform::Services servizi = fakes.services();
    servizi.prompt = &scatole;
    platform::ScopedServices conScatole(servizi);
    Server server;
    server.percorsi["/silent"] = {"", Server::Fine::Resta};
    const QString file = fileVecchio("keep.txt");
    auto w = Finestra(server.voce("/silent"));
    w->mintTempoMassimo = 3000;
    ASSERT_TRUE(testsupport::Davanti_Con_La_Tastiera(*w, w->size()));
    QTest::qWait(300);

    // A message that comes up while the user is away takes the keys: told,
    // and closed.
    testsupport::MessaggiPresi messaggi;
    messaggi.start();
    fakes.files.fileAnswers = {file};
    w->cmdOK_Click();
    ASSERT_TRUE(w->inCorso());
    x.clic(altro.campo());
    ASSERT_TRUE(QTest::qWaitFor([&] { return altro.attivo() && !QApplication::activeWindow(); }, 5000));
    for (char c : {'a', 'b'})
        x.premi(static_cast<unsigned long>(c));
    ASSERT_TRUE(QTest::qWaitFor([&] { return altro.testo() == "ab"; }, 3000));
    ASSERT_TRUE(w->inCorso()) << "the transfer ended before the user was away";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->inCorso(); }, 10000));
    QTest::qWait(500); // the user goes on typing
    messaggi.stop();
    EXPECT_TRUE(messaggi.preso.isEmpty()) << "a message took the keyboard from the other program: " << messaggi.preso.toStdString();
    for (char c : {'c', 'd'})
        x.premi(static_cast<unsigned long>(c));
    EXPECT_TRUE(QTest::qWaitFor([&] { return altro.testo() == "abcd"; }, 3000))
        << "the keys typed after the transfer went elsewhere (the other program has \""
        << altro.testo().toStdString() << "\")";
    EXPECT_TRUE(altro.attivo());
    EXPECT_EQ(QApplication::activeWindow(), nullptr);

    // Back in the program: why the transfer ended, and the window ready for
    // another try.
    testsupport::RispostaConUnClic risposte(x);
    x.clic(w->lblStatus->mapToGlobal(w->lblStatus->rect().center()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !risposte.messaggi.isEmpty() && !QApplication::activeModalWidget(); },
                                10000))
        << "the transfer's message did not come once the user was back";
    risposte.ferma();
    ASSERT_EQ(risposte.messaggi.size(), 1);
    EXPECT_TRUE(risposte.messaggi[0].startsWith(mLang::Testo_Lingua("frmDownload", "temposcaduto")))
        << risposte.messaggi[0].toStdString();
    EXPECT_TRUE(w->cmdOK->isEnabled());
    EXPECT_EQ(Leggi(file), vecchio);
}

TEST_F(DownloadTest, RedirectsAreFollowedToAnotherPath)
{
    const QByteArray corpo = Elementi();
    Server server;
    server.percorsi["/old/visual.txt"] = {"HTTP/1.1 301 Moved Permanently\r\nLocation: /mid/visual.txt\r\n"
                                          "Content-Length: 5\r\n\r\nmoved"};
    server.percorsi["/mid/visual.txt"] = {"HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:" +
                                          QByteArray::number(server.porta()) + "/new/visual.txt\r\n\r\n"};
    server.percorsi["/new/visual.txt"] = Ok(corpo);
    auto w = Finestra(server.voce("/old/visual.txt"));
    Scarica(*w, percorso("visual.txt"));
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
    EXPECT_EQ(Leggi(percorso("visual.txt")), corpo + "\r\n");
    ASSERT_EQ(server.richieste.size(), 3);
    EXPECT_TRUE(server.richieste[2].startsWith("GET /new/visual.txt "));
}

TEST_F(DownloadTest, AServerThatNeverAnswersIsGivenUpWithAClearMessage)
{
    Server server;
    server.percorsi["/silent"] = {"", Server::Fine::Resta};
    server.percorsi["/stalls"] = {"HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + Elementi(), Server::Fine::Resta};
    const QString file = fileVecchio("keep.txt");
    for (const char* p : {"/silent", "/stalls"}) {
        fakes.prompt.calls.clear();
        auto w = Finestra(server.voce(p));
        w->mintTempoMassimo = 300;
        Scarica(*w, file);
        Rifiutato(*w, file, "temposcaduto", p);
    }

    // Another connection of the program to the same server, opened before
    // the transfer, takes 300 kB while the window waits for its header: none
    // of it is the header's, and giving the transfer up leaves that
    // connection working.
    const QByteArray molto(300 * 1024, 'x');
    server.percorsi["/big"] = {"HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(molto.size()) + "\r\n\r\n" +
                                   molto,
                               Server::Fine::Resta};
    server.percorsi["/small"] = {"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nsmall", Server::Fine::Resta};
    fakes.prompt.calls.clear();
    auto w = Finestra(server.voce("/silent"));
    w->mintTempoMassimo = 1500;
    QTcpSocket altra;
    altra.connectToHost(QHostAddress::LocalHost, quint16(server.porta()));
    ASSERT_TRUE(altra.waitForConnected(2000));
    altra.write("GET /big HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray presi;
    QObject::connect(&altra, &QTcpSocket::readyRead, &altra, [&] { presi += altra.readAll(); });
    Scarica(*w, file);
    Rifiutato(*w, file, "temposcaduto", "another connection");
    EXPECT_TRUE(presi.endsWith(molto)) << presi.size();
    EXPECT_EQ(altra.state(), QAbstractSocket::ConnectedState);
    presi.clear();
    altra.write("GET /small HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return presi.endsWith("\r\n\r\nsmall"); }, 2000)) << presi.constData();
}

TEST_F(DownloadTest, AServerWhoseHeaderNeverEndsIsLetGoAndTheWindowDownloadsAgain)
{
    // "HTTP/1.1 200 OK", then header lines without end: taken as fast as
    // the program reads them (cut at the header's bound, well before the
    // time-out), over HTTP or HTTPS, or one every 20 ms (cut at the
    // time-out, which is no silence); and the same through a web proxy: its
    // reply to a plain request, its reply to the opening of a tunnel for
    // HTTPS, or the reply of the server at the tunnel's end. Each time the
    // connection is closed at once, none is opened again while the user
    // reads the message, nothing goes on reading, and the same window then
    // downloads a good file the same way.
    struct Lettore : platform::FakePrompt {
        QElapsedTimer orologio;
        qint64 quando = -1;   // ms of orologio when the message came
        int MsgBox(const QString& testo, int flags, const QString& titolo) override
        {
            quando = orologio.elapsed();
            QTest::qWait(500);
            return FakePrompt::MsgBox(testo, flags, titolo);
        }
    } lettore;
    platform::Services servizi = fakes.services();
    servizi.prompt = &lettore;
    platform::ScopedServices ambito(servizi);
    avvisi = &lettore;
    FidatiDelCertificato();
    FidatiDelCertificato(kAutorita);
    Server buono;
    buono.percorsi["/visual.txt"] = Ok(Elementi());
    ServerSenzaFine veloce(std::chrono::milliseconds(0));
    ServerSenzaFine lento(std::chrono::milliseconds(20));
    Server sicuro(true);
    sicuro.percorsi["/endless"] = {"HTTP/1.1 200 OK\r\n", Server::Fine::SenzaFine};
    // elements.test, reached only through the proxy: over HTTPS the tunnel
    // leads to this server.
    Server remoto(true, kCertElementi, kChiaveServer);
    remoto.percorsi["/endless"] = {"HTTP/1.1 200 OK\r\n", Server::Fine::SenzaFine};
    remoto.percorsi["/visual.txt"] = Ok(Elementi());
    Server proxy;
    proxy.percorsi["http://elements.test/endless"] = {"HTTP/1.1 200 OK\r\n", Server::Fine::SenzaFine};
    proxy.percorsi["http://elements.test/visual.txt"] = Ok(Elementi());
    proxy.percorsi["endless.test:443"] = {"HTTP/1.1 200 Connection established\r\n", Server::Fine::SenzaFine};
    proxy.gallerie["elements.test:443"] = remoto.porta();
    AttraversoIlProxy(proxy.porta());
    const auto aperte = [&] { return veloce.aperte + lento.aperte + sicuro.aperte() + remoto.aperte() + proxy.aperte(); };
    const auto inviati = [&] { return veloce.inviati + lento.inviati + sicuro.inviati + remoto.inviati + proxy.inviati; };
    // Connections the window opened.
    const auto connessioni = [&] { return veloce.connessioni + lento.connessioni + sicuro.accettate + proxy.accettate; };
    const QString file = fileVecchio("keep.txt");
    const struct {
        QString voce, buona;
    } casi[] = {
        {veloce.voce(), buono.voce("/visual.txt")},
        {lento.voce(), buono.voce("/visual.txt")},
        {QStringLiteral("https://") + sicuro.voce("/endless"), buono.voce("/visual.txt")},
        {QStringLiteral("http://elements.test/endless"), QStringLiteral("http://elements.test/visual.txt")},
        {QStringLiteral("https://endless.test/endless"), QStringLiteral("http://elements.test/visual.txt")},
        {QStringLiteral("https://elements.test/endless"), QStringLiteral("https://elements.test/visual.txt")},
    };
    for (const auto& caso_ : casi) {
        const QByteArray caso = caso_.voce.toUtf8();
        lettore.calls.clear();
        gstrRemoto[1] = caso_.buona;
        auto w = Finestra(caso_.voce);
        w->mintTempoMassimo = 1500;
        const int prima = int(connessioni());
        lettore.orologio.start();
        Scarica(*w, file);
        Rifiutato(*w, file, "intestazionelunga", caso);
        if (caso_.voce != lento.voce()) {
            EXPECT_LT(lettore.quando, 1400) << caso.constData() << ": the header's bound, not the time-out";
        }
        // Closed while the message was read, and not opened again; then
        // nothing more is taken.
        EXPECT_TRUE(QTest::qWaitFor([&] { return aperte() == 0; }, 2000)) << caso.constData();
        EXPECT_EQ(int(connessioni()), prima + 1) << caso.constData();
        const qint64 fin_qui = inviati();
        QTest::qWait(300);
        EXPECT_EQ(inviati(), fin_qui) << caso.constData();
        // The same window downloads again, at once.
        lettore.calls.clear();
        w->cmbFileRemoto->setCurrentIndex(1);
        QElapsedTimer t;
        t.start();
        Scarica(*w, percorso("visual.txt"));
        EXPECT_TRUE(lettore.calls.isEmpty()) << caso.constData() << ": " << lettore.calls.value(0).text.toStdString();
        EXPECT_LT(t.elapsed(), 1000) << caso.constData();
        EXPECT_EQ(Leggi(percorso("visual.txt")), Elementi() + "\r\n") << caso.constData();
        QFile::remove(percorso("visual.txt"));
    }
    // Each way through the proxy was taken.
    EXPECT_EQ(remoto.richieste.size(), 2);
    EXPECT_EQ(proxy.richieste.size(), 6);
}

TEST_F(DownloadTest, HttpsWithACertificateOnlyTheTestTrusts)
{
    const QByteArray corpo = Elementi();
    Server sicuro(true);
    Server chiaro;
    chiaro.percorsi["/visual.txt"] = Ok(corpo);
    sicuro.percorsi["/visual.txt"] = Ok(corpo);
    sicuro.percorsi["/moved"] = {"HTTP/1.1 301 Moved Permanently\r\nLocation: https://127.0.0.1:" +
                                 QByteArray::number(sicuro.porta()) + "/visual.txt\r\n\r\n"};
    sicuro.percorsi["/downgrade"] = {"HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1:" +
                                     QByteArray::number(chiaro.porta()) + "/visual.txt\r\n\r\n"};
    // The usual answer of a service that moved to HTTPS.
    chiaro.percorsi["/moved-to-https"] = {"HTTP/1.1 301 Moved Permanently\r\nLocation: https://127.0.0.1:" +
                                          QByteArray::number(sicuro.porta()) + "/visual.txt\r\n\r\n"};
    const QString file = fileVecchio("keep.txt");
    // Not trusted: refused, nothing saved.
    {
        auto w = Finestra(QStringLiteral("https://") + sicuro.voce("/visual.txt"));
        Scarica(*w, file);
        Rifiutato(*w, file, "certificatorifiutato", "untrusted");
        EXPECT_TRUE(sicuro.richieste.isEmpty());
        // It says how a private server comes to be trusted.
        EXPECT_TRUE(fakes.prompt.calls.value(0).text.endsWith(
            "\r\n" + mLang::Testo_Lingua("frmDownload", "certificatoprivato")));
    }
    // Signed by an authority this computer trusts, but for another host, or
    // out of its dates; and a server that does not speak TLS at all. Each is
    // refused with its own reason (the names the certificate holds, its
    // dates as openssl shows them), and none is told to trust an authority:
    // that would change nothing.
    FidatiDelCertificato(kAutorita);
    {
        Server altroNome(true, kCertAltroNome, kChiaveServer);
        Server scaduto(true, kCertScaduto, kChiaveServer);
        const struct {
            QString voce;
            const char* chiave;
            QStringList dice;
        } casi[] = {
            {QStringLiteral("https://") + altroNome.voce("/visual.txt"), "certificatonome",
             {QStringLiteral("\r\nNames in the certificate: another-host.test\r\n"),
              mLang::Testo_Lingua("frmDownload", "certificatoinutile") + u' ' +
                  mLang::Testo_Lingua("frmDownload", "certificatonomeconsiglio")}},
            {QStringLiteral("https://") + scaduto.voce("/visual.txt"), "certificatodate",
             {QStringLiteral("\r\nValid from 2001-01-01 to 2002-01-01 (UTC); the date on this computer is 2"),
              mLang::Testo_Lingua("frmDownload", "certificatoinutile") + u' ' +
                  mLang::Testo_Lingua("frmDownload", "certificatodateconsiglio")}},
            {QStringLiteral("https://") + chiaro.voce("/visual.txt"), "connessionesicura", {}},
        };
        for (const auto& c : casi) {
            fakes.prompt.calls.clear();
            auto w = Finestra(c.voce);
            Scarica(*w, file);
            Rifiutato(*w, file, c.chiave, c.voce.toUtf8());
            const QString testo = fakes.prompt.calls.value(0).text;
            EXPECT_TRUE(testo.contains("\r\n" + c.voce + "\r\n")) << testo.toStdString();
            for (const QString& parte : c.dice)
                EXPECT_TRUE(testo.contains(parte)) << testo.toStdString();
            EXPECT_FALSE(testo.contains(mLang::Testo_Lingua("frmDownload", "certificatoprivato"))) << testo.toStdString();
        }
        EXPECT_TRUE(altroNome.richieste.isEmpty());
        EXPECT_TRUE(scaduto.richieste.isEmpty());
        EXPECT_TRUE(chiaro.richieste.isEmpty());
    }
    fakes.prompt.calls.clear();
    FidatiDelCertificato();
    // HTTPS never goes down to plain HTTP.
    fakes.prompt.calls.clear();
    {
        auto w = Finestra(QStringLiteral("https://") + sicuro.voce("/downgrade"));
        Scarica(*w, file);
        Rifiutato(*w, file, "redirectrifiutato", "/downgrade");
        EXPECT_TRUE(chiaro.richieste.isEmpty());
    }
    for (const char* p : {"/visual.txt", "/moved", "/moved-to-https"}) {
        fakes.prompt.calls.clear();
        auto w = Finestra(qstrcmp(p, "/moved-to-https") == 0 ? chiaro.voce(p)
                                                              : QStringLiteral("https://") + sicuro.voce(p));
        Scarica(*w, percorso("visual.txt"));
        EXPECT_TRUE(fakes.prompt.calls.isEmpty()) << p;
        EXPECT_EQ(Leggi(percorso("visual.txt")), corpo + "\r\n") << p;
    }
}

TEST_F(DownloadTest, AFullDiskLeavesTheOldFileWhole)
{
    // 2 MB of element sets; the disk takes no more than 100 kB (the file
    // size limit of the process stands in for a nearly full disk).
    QByteArray grande;
    while (grande.size() < 2 * 1024 * 1024)
        grande += Elementi();
    Server server;
    server.percorsi["/big.txt"] = Ok(grande);
    const QString file = fileVecchio("keep.txt");
    gstrDatabasePrimario = file;
    auto w = Finestra(server.voce("/big.txt"));
    rlimit prima{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &prima), 0);
    const auto segnale = std::signal(SIGXFSZ, SIG_IGN);
    rlimit piccolo = prima;
    piccolo.rlim_cur = 100 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &piccolo), 0);
    Scarica(*w, file);
    setrlimit(RLIMIT_FSIZE, &prima);
    std::signal(SIGXFSZ, segnale);
    Rifiutato(*w, file, "erroresalvataggio", "full disk");
    // The system's reason, not "Unknown error".
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    const QString testo = fakes.prompt.calls[0].text;
    EXPECT_TRUE(testo.contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << testo.toStdString();
    EXPECT_FALSE(testo.contains(QStringLiteral("Unknown error"))) << testo.toStdString();
}

TEST_F(DownloadTest, RefusedConnectionShowsTheErrorAndReadiesTheWindow)
{
    QTcpServer chiuso;
    chiuso.listen(QHostAddress::LocalHost);
    const int porta = chiuso.serverPort();
    chiuso.close();
    auto w = Finestra(QStringLiteral("127.0.0.1:%1/visual.txt").arg(porta));
    Scarica(*w, percorso("none.txt"));
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_TRUE(fakes.prompt.calls[0].text.startsWith("Error #: "));
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbExclamation);
    EXPECT_TRUE(w->cmdOK->isEnabled());
    EXPECT_TRUE(w->cmbFileRemoto->isEnabled());
    EXPECT_FALSE(QFile::exists(percorso("none.txt")));
    // An entry that is no address is refused before any dialog.
    fakes.prompt.calls.clear();
    w = Finestra(QStringLiteral("http:///visual.txt"));
    w->cmdOK_Click();
    EXPECT_FALSE(w->inCorso());
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_TRUE(fakes.prompt.calls[0].text.startsWith(mLang::Testo_Lingua("frmDownload", "indirizzononvalido")));
    EXPECT_EQ(fakes.files.calls.size(), 1);
}

TEST_F(DownloadTest, SavingOverThePrincipalFileOffersAReload)
{
    Server server;
    server.percorsi["/v.txt"] = Ok(Elementi());
    const QString file = percorso("principal.txt");
    gstrDatabasePrimario = file;
    {
        auto w = Finestra(server.voce("/v.txt"));
        Scarica(*w, file);
    }
    EXPECT_TRUE(pflgSostituzione);
    EXPECT_EQ(Leggi(file), Elementi() + "\r\n");
    // The same path in other letter case is another file here.
    pflgSostituzione = false;
    auto w = Finestra(server.voce("/v.txt"));
    Scarica(*w, percorso("PRINCIPAL.txt"));
    EXPECT_FALSE(pflgSostituzione);
}

TEST_F(DownloadTest, ConnectionCheckEmptyListAndCancelledSaveDialog)
{
    // The check refuses before any dialog.
    fakes.settings.setValue("Download", "Verifica connessione", "-1");
    fakes.network.connected = false;
    {
        auto w = Finestra(QStringLiteral("127.0.0.1/NORAD/elements/visual.txt"));
        EXPECT_TRUE(w->chkConnessione->isChecked());
        w->cmdOK_Click();
        EXPECT_EQ(w->lblStatus->text(), mLang::Testo_Lingua("frmDownload", "noconnessione"));
        EXPECT_FALSE(w->cmdOK->isEnabled());
        EXPECT_TRUE(fakes.files.calls.isEmpty());
        // Unticking stores "0" at once.
        w->chkConnessione->click();
        EXPECT_EQ(fakes.settings.value("Download", "Verifica connessione").value_or("?"), "0");
    }
    // A cancelled save dialog starts nothing.
    {
        auto w = Finestra(QStringLiteral("127.0.0.1/NORAD/elements/visual.txt"));
        w->cmdOK_Click();
        EXPECT_FALSE(w->inCorso());
        EXPECT_TRUE(w->cmdOK->isEnabled());
        EXPECT_EQ(fakes.files.calls.size(), 1);
    }
    // No entries: nothing selected, OK does nothing.
    gstrRemoto.fill(QStringLiteral("  "));
    frmDownload w;
    EXPECT_EQ(w.cmbFileRemoto->count(), 0);
    EXPECT_EQ(w.cmbFileRemoto->currentIndex(), -1);
    w.cmdOK_Click();
    EXPECT_EQ(fakes.files.calls.size(), 1);
}

TEST_F(DownloadTest, ProgressFiguresDuringATransferAndCancelLeavesTheFileAlone)
{
    // Half of an announced 102400 bytes, then the server waits.
    Server server;
    server.percorsi["/slow.txt"] = {"HTTP/1.1 200 OK\r\nContent-Length: 102400\r\n\r\n" + QByteArray(51200, 'x'),
                                    Server::Fine::Resta};
    const QString file = fileVecchio("slow.txt");
    auto w = Finestra(server.voce("/slow.txt"));
    // Started with Enter on OK, which then disables itself: the save dialog,
    // a window of its own, holds the keyboard until the window has had it
    // back. A second Enter then reaches no button, and the transfer goes on
    // (the next button, Cancel, would have stopped it).
    struct DialogoDiSalvataggio : platform::FakeFileChooser {
        QWidget finestra;
        std::optional<QString> saveFile(const platform::FileDialogRequest& r, QWidget* p) override
        {
            finestra.show();
            QApplication::setActiveWindow(&finestra);
            return FakeFileChooser::saveFile(r, p);
        }
    } salva;
    salva.fileAnswers = {file};
    platform::Services servizi = fakes.services();
    servizi.files = &salva;
    platform::ScopedServices conSalva(servizi);
    w->show();
    QApplication::setActiveWindow(w.get());
    w->cmdOK->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), w->cmdOK);
    QTest::keyClick(w->windowHandle(), Qt::Key_Return);
    ASSERT_TRUE(w->inCorso());
    salva.finestra.hide();
    QApplication::setActiveWindow(w.get());
    QTest::keyClick(w->windowHandle(), Qt::Key_Return);
    EXPECT_TRUE(w->inCorso());
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->ricevuti() >= 51200; }, 5000));
    EXPECT_EQ(w->dimensione(), 102400);
    EXPECT_EQ(w->lblReceive->text(), "51200 bytes");
    EXPECT_EQ(w->lblSize->text(), "102400 bytes");
    EXPECT_EQ(w->ProgressBar1->shownText(), "50%");
    // 10 s after the request, the counter one second before the hour.
    w->setSecondiTrascorsiPerProva([] { return 10.0; });
    w->setContatore(0, 59, 59);
    w->tmrTimeLeft_Timer();
    EXPECT_EQ(w->lblSpeed->text(), "5.12 KB");
    EXPECT_EQ(w->lblRemaining->text(), "00:00:09");
    EXPECT_EQ(w->lblElapsed->text(), "01:00:00");
    // Cancel: told, and nothing written.
    w->cmdCancel_Click();
    EXPECT_FALSE(w->inCorso());
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, mLang::Testo_Lingua("frmDownload", "downloadinterrotto") + "\r\n" +
                                              w->cmbFileRemoto->currentText());
    QTest::qWait(50);
    EXPECT_EQ(Leggi(file), vecchio);
}
