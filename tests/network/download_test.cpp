// The element-file download: the HTTP pieces (entry, request, header,
// chunked coding, speed and time left) and the window against servers the
// test starts on 127.0.0.1.
#include <gtest/gtest.h>

#include "controls/graph_button.h"
#include "core/clock.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "network/download_window.h"
#include "network/http_reply.h"
#include "platform/fakes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

namespace http = options::http;

namespace {

// A one-shot HTTP server: records the request, sends `reply` and closes.
class ServerProva : public QObject {
public:
    explicit ServerProva(QByteArray reply, bool chiude = true) : m_reply(std::move(reply))
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this, chiude] {
            QTcpSocket* s = m_server.nextPendingConnection();
            QObject::connect(s, &QTcpSocket::readyRead, s, [this, s, chiude] {
                richiesta += s->readAll();
                if (richiesta.contains("\r\n\r\n")) {
                    s->write(m_reply);
                    if (chiude)
                        s->disconnectFromHost();
                }
            });
        });
    }
    int porta() const { return m_server.serverPort(); }
    QByteArray richiesta;

private:
    QTcpServer m_server;
    QByteArray m_reply;
};

QByteArray Leggi(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

struct DownloadTest : ::testing::Test {
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    QTemporaryDir dir;
    std::array<QString, 31> vecchi = gstrRemoto;
    QString vecchioPrimario = gstrDatabasePrimario;

    void SetUp() override
    {
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        fakes.settings.setValue("Download", "Verifica connessione", "0");
        gstrRemoto.fill(QString());
        gstrRemoto[0] = QStringLiteral("127.0.0.1/NORAD/elements/visual.txt");
        pflgSostituzione = false;
    }
    void TearDown() override
    {
        gstrRemoto = vecchi;
        gstrDatabasePrimario = vecchioPrimario;
        pflgSostituzione = false;
        mLang::Usa_File_Lingua(QString());
    }
    QString percorso(const char* nome) const { return dir.filePath(QLatin1String(nome)); }

    // Runs one transfer to `server`, saving to `file`; waits for its end.
    void Scarica(frmDownload& w, int porta, const QString& file)
    {
        fakes.files.fileAnswers = {file};
        w.mintPorta = porta;
        w.cmdOK_Click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return w.cmbFileRemoto->isEnabled(); }, 5000));
    }
};

} // namespace

TEST(DownloadHttp, EntriesSplitIntoHostAndPathAndTheRequestIsExact)
{
    auto a = http::Dividi_URL(QStringLiteral("http://celestrak.org/NORAD/elements/visual.txt"));
    EXPECT_EQ(a.host, "celestrak.org");
    EXPECT_EQ(a.percorso, "/NORAD/elements/visual.txt");
    EXPECT_EQ(http::Richiesta(a), QByteArray("GET /NORAD/elements/visual.txt HTTP/1.1\r\nHost: celestrak.org\r\n"
                                             "Connection: close\r\nAccept: */*\r\n\r\n"));
    auto b = http::Dividi_URL(QStringLiteral("example.org"));
    EXPECT_EQ(b.host, "example.org");
    EXPECT_EQ(b.percorso, "/");
    // Only the lower-case scheme is dropped.
    EXPECT_EQ(http::Dividi_URL(QStringLiteral("HTTP://x.org/a")).host, "HTTP:");
}

TEST(DownloadHttp, HeadersAndLengths)
{
    const QByteArray blocco = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nTransfer-Encoding: chunked";
    EXPECT_EQ(http::Leggi_intestazione(blocco, "Transfer-Encoding"), "chunked");  // last line of the header
    EXPECT_EQ(http::Leggi_intestazione(blocco, "HTTP/1.1"), "");                 // never the status line
    EXPECT_EQ(http::Leggi_lunghezza(blocco), 5);
    EXPECT_EQ(http::Leggi_lunghezza("HTTP/1.1 200 OK\r\nContent-Length:5"), 0);  // no blank after the colon
    EXPECT_EQ(http::Leggi_lunghezza("HTTP/1.1 200 OK\r\nContent-Length: x"), 0);
    EXPECT_EQ(http::Codice_stato(blocco), 200);
    EXPECT_EQ(http::Codice_stato("garbage"), 0);
}

TEST(DownloadHttp, ChunkedBodies)
{
    EXPECT_EQ(http::Decodifica_chunked("5\r\nabcde\r\n3;ext=1\r\nfgh\r\n0\r\nTrailer: x\r\n\r\n").value_or("?"),
              "abcdefgh");
    const QByteArray grande(40000, 'q');
    EXPECT_EQ(http::Decodifica_chunked("9C40\r\n" + grande + "\r\n0\r\n\r\n").value_or("?"), grande);
    // Cut short before the last chunk, or a size line that is no number: nothing.
    EXPECT_FALSE(http::Decodifica_chunked("5\r\nabcde\r\n"));
    EXPECT_FALSE(http::Decodifica_chunked("5\r\nab"));
    EXPECT_FALSE(http::Decodifica_chunked("zz\r\nabcde\r\n0\r\n\r\n"));
}

TEST(DownloadHttp, SpeedAndTimeLeft)
{
    // 51200 of 102400 bytes in 10 s: 5.12 thousand bytes a second, 9 s left.
    const auto v = http::Velocita(51200, 10.0);
    ASSERT_TRUE(v);
    EXPECT_DOUBLE_EQ(*v, 5.12);
    EXPECT_EQ(http::Testo_velocita(*v), "5.12 KB");
    EXPECT_EQ(http::Testo_velocita(12.5), "12.5 KB");
    EXPECT_DOUBLE_EQ(http::Secondi_rimasti(102400, 51200, *v).value_or(-1), 9.0);
    EXPECT_FALSE(http::Velocita(100, 0.0));
    EXPECT_FALSE(http::Secondi_rimasti(100, 10, 0.0));
}

TEST_F(DownloadTest, SizedReplyIsSavedWithOneCrLfAndTheRequestIsSent)
{
    ServerProva server("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nabcde");
    frmDownload w;
    Scarica(w, server.porta(), percorso("visual.txt"));
    EXPECT_EQ(Leggi(percorso("visual.txt")), "abcde\r\n");
    EXPECT_TRUE(server.richiesta.startsWith("GET /NORAD/elements/visual.txt HTTP/1.1\r\nHost: 127.0.0.1\r\n"));
    EXPECT_TRUE(w.completato());
    EXPECT_FALSE(w.cmdOK->isEnabled());
    EXPECT_EQ(w.cmdCancel->Caption(), mLang::Testo_Lingua("Buttons", "close"));
    EXPECT_EQ(w.lblStatus->text(), mLang::Testo_Lingua("frmDownload", "downloadcompleto"));
    ASSERT_EQ(fakes.files.calls.size(), 1);
    EXPECT_EQ(fakes.files.calls[0].request.fileName, "visual.txt");
    EXPECT_EQ(fakes.files.calls[0].request.flags, platform::fileOverwritePrompt);
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
}

TEST_F(DownloadTest, ChunkedReplyIsDecodedAndAWronglyCasedCodingIsSavedRaw)
{
    const QByteArray corpo = "5\r\nabcde\r\n3\r\nfgh\r\n0\r\n\r\n";
    {
        ServerProva server("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + corpo);
        frmDownload w;
        Scarica(w, server.porta(), percorso("a.txt"));
        EXPECT_EQ(Leggi(percorso("a.txt")), "abcdefgh\r\n");
    }
    {
        ServerProva server("HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n" + corpo);
        frmDownload w;
        Scarica(w, server.porta(), percorso("b.txt"));
        EXPECT_EQ(Leggi(percorso("b.txt")), corpo + "\r\n");
    }
}

TEST_F(DownloadTest, BadRepliesSayWhyAndLeaveTheUsersFileWhole)
{
    const QString file = percorso("keep.txt");
    const auto scrivi = [&] {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old contents\r\n");
    };
    scrivi();
    gstrDatabasePrimario = file;
    struct Caso {
        QByteArray reply;
        const char* chiave;
    };
    const Caso casi[] = {
        {"HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\n\r\nnot found", "errorehttp"},
        {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nonly ten b", "rispostaincompleta"},   // closed early
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nabcde\r\n", "rispostaincompleta"},
        {"HTTP/1.1 200 OK\r\nContent-Le", "rispostaincompleta"},  // header never ended
        // Success statuses without a file must not empty the user's file.
        {"HTTP/1.1 204 No Content\r\n\r\n", "errorehttp"},
        {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", "errorehttp"},
        {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n", "errorehttp"},
    };
    for (const Caso& c : casi) {
        fakes.prompt.calls.clear();
        ServerProva server(c.reply);
        frmDownload w;
        Scarica(w, server.porta(), file);
        EXPECT_EQ(Leggi(file), "old contents\r\n") << c.reply.constData();
        ASSERT_EQ(fakes.prompt.calls.size(), 1) << c.reply.constData();
        EXPECT_TRUE(fakes.prompt.calls[0].text.startsWith(mLang::Testo_Lingua("frmDownload", c.chiave)));
        EXPECT_FALSE(w.completato());
        EXPECT_TRUE(w.cmdOK->isEnabled());
        // The principal file was not replaced: no reload is offered.
        EXPECT_FALSE(pflgSostituzione);
    }
}

TEST_F(DownloadTest, RefusedConnectionShowsTheSocketErrorAndReadiesTheWindow)
{
    QTcpServer chiuso;
    chiuso.listen(QHostAddress::LocalHost);
    const int porta = chiuso.serverPort();
    chiuso.close();
    frmDownload w;
    fakes.files.fileAnswers = {percorso("none.txt")};
    w.mintPorta = porta;
    w.cmdOK_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fakes.prompt.calls.isEmpty(); }, 5000));
    EXPECT_TRUE(fakes.prompt.calls[0].text.startsWith("Error #: "));
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbExclamation);
    EXPECT_TRUE(w.cmdOK->isEnabled());
    EXPECT_TRUE(w.cmbFileRemoto->isEnabled());
    EXPECT_FALSE(QFile::exists(percorso("none.txt")));
}

TEST_F(DownloadTest, SavingOverThePrincipalFileOffersAReloadOnce)
{
    const QString file = percorso("principal.txt");
    gstrDatabasePrimario = file;
    ServerProva server("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nxyz");
    {
        frmDownload w;
        Scarica(w, server.porta(), file);
    }
    EXPECT_TRUE(pflgSostituzione);
    EXPECT_EQ(Leggi(file), "xyz\r\n");
    // The same path in other letter case is another file here.
    pflgSostituzione = false;
    ServerProva altro("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nxyz");
    frmDownload w2;
    Scarica(w2, altro.porta(), percorso("PRINCIPAL.txt"));
    EXPECT_FALSE(pflgSostituzione);
}

TEST_F(DownloadTest, ConnectionCheckEmptyListAndCancelledSaveDialog)
{
    // The check refuses before any dialog.
    fakes.settings.setValue("Download", "Verifica connessione", "-1");
    fakes.network.connected = false;
    {
        frmDownload w;
        EXPECT_TRUE(w.chkConnessione->isChecked());
        w.cmdOK_Click();
        EXPECT_EQ(w.lblStatus->text(), mLang::Testo_Lingua("frmDownload", "noconnessione"));
        EXPECT_FALSE(w.cmdOK->isEnabled());
        EXPECT_TRUE(fakes.files.calls.isEmpty());
        // Unticking stores "0" at once.
        w.chkConnessione->click();
        EXPECT_EQ(fakes.settings.value("Download", "Verifica connessione").value_or("?"), "0");
    }
    // A cancelled save dialog starts nothing.
    {
        frmDownload w;
        w.cmdOK_Click();
        EXPECT_TRUE(w.cmdOK->isEnabled());
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

TEST_F(DownloadTest, ProgressFiguresDuringATransferAndCancelLeavesNoFile)
{
    // Half of an announced 102400 bytes, then the server waits.
    ServerProva server("HTTP/1.1 200 OK\r\nContent-Length: 102400\r\n\r\n" + QByteArray(51200, 'x'), false);
    frmDownload w;
    fakes.files.fileAnswers = {percorso("slow.txt")};
    w.mintPorta = server.porta();
    w.cmdOK_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.ricevuti() >= 51200; }, 5000));
    EXPECT_EQ(w.dimensione(), 102400);
    // 10 s after the request, the counter one second before the hour.
    w.setSecondiTrascorsiPerProva([] { return 10.0; });
    w.setContatore(0, 59, 59);
    w.tmrTimeLeft_Timer();
    EXPECT_EQ(w.lblSpeed->text(), "5.12 KB");
    EXPECT_EQ(w.lblRemaining->text(), "00:00:09");
    EXPECT_EQ(w.lblElapsed->text(), "01:00:00");
    // Cancel: told, and nothing written.
    w.cmdCancel_Click();
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, mLang::Testo_Lingua("frmDownload", "downloadinterrotto") + "\r\n" +
                                              w.cmbFileRemoto->currentText());
    EXPECT_FALSE(QFile::exists(percorso("slow.txt")));
}
