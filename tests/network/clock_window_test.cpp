// Clock setting by the TIME protocol: the reply's meaning, and the window
// against a TIME server the test starts on 127.0.0.1, with the fake clock.
#include <gtest/gtest.h>

#include "controls/graph_button.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "network/clock_window.h"
#include "network/time_protocol.h"
#include "platform/fakes.h"
#include "platform/prompt.h"
#include "support/x_input.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

namespace tp = network::timeproto;

namespace {

QDateTime Utc(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC);
}

// Sends `reply` to whoever connects, then closes; a silent one says nothing;
// one that stays open keeps the connection after its reply (and sends
// `poi`, when given, `dopoMs` later).
class ServerOra : public QObject {
public:
    enum Modo { Chiude, Muto, Aperto };
    explicit ServerOra(QByteArray reply, Modo modo = Chiude, QByteArray poi = {}, int dopoMs = 0)
        : m_reply(std::move(reply))
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this, modo, poi, dopoMs] {
            QTcpSocket* s = m_server.nextPendingConnection();
            if (modo == Muto)
                return;
            s->write(m_reply);
            if (modo == Chiude)
                s->disconnectFromHost();
            else if (!poi.isEmpty())
                QTimer::singleShot(dopoMs, s, [s, poi] { s->write(poi); });
        });
    }
    ServerOra(QByteArray reply, bool muto) : ServerOra(std::move(reply), muto ? Muto : Chiude) {}
    int porta() const { return m_server.serverPort(); }

private:
    QTcpServer m_server;
    QByteArray m_reply;
};

struct SyncroTest : ::testing::Test {
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    std::array<QString, 10> vecchi = gstrServerNTP;

    void SetUp() override
    {
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        fakes.settings.setValue("ServerNTP", "Verifica connessione", "0");
        gstrServerNTP.fill(QString());
        gstrServerNTP[3] = QStringLiteral("127.0.0.1");
    }
    void TearDown() override
    {
        gstrServerNTP = vecchi;
        mLang::Usa_File_Lingua(QString());
    }
    // One exchange with a server sending `reply`; waits until it is handled.
    void Sincronizza(frmSyncro& w, const QByteArray& reply, bool muto = false)
    {
        ServerOra server(reply, muto);
        w.mintPorta = server.porta();
        const auto prima = fakes.prompt.calls.size() + fakes.clock.calls.size();
        w.cmdOK_Click();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return fakes.prompt.calls.size() + fakes.clock.calls.size() > prima; }, 5000));
    }
};

// A whole second some hours from the computer's clock, and its reply.
QDateTime Vicino()
{
    QDateTime t = QDateTime::currentDateTimeUtc().addSecs(3 * 3600);
    return t.addMSecs(-t.time().msec());
}

} // namespace

TEST(TimeProtocol, RepliesGiveUniversalTimeMovedOnByHalfTheRoundTrip)
{
    const QByteArray r("\xE9\x0A\x8C\x80", 4);
    EXPECT_EQ(tp::Ora_Da_Risposta(r, 0.4).value(), Utc(2023, 11, 24, 2, 44, 16));
    EXPECT_EQ(tp::Ora_Da_Risposta(r, 1.5).value(), Utc(2023, 11, 24, 2, 44, 18));  // 1.5 rounds to 2
    EXPECT_EQ(tp::Ora_Da_Risposta(r, 2.5).value(), Utc(2023, 11, 24, 2, 44, 18));  // 2.5 rounds to 2
    // A last byte of 20 hex is an ordinary byte.
    EXPECT_EQ(tp::Ora_Da_Risposta(QByteArray("\xE9\x0A\x8C\x20", 4), 0).value(), Utc(2023, 11, 24, 2, 42, 40));
    EXPECT_FALSE(tp::Ora_Da_Risposta(QByteArray("\xE9\x0A\x8C", 3), 0));
    EXPECT_FALSE(tp::Ora_Da_Risposta(QByteArray("\xE9\x0A\x8C\x80\x00", 5), 0));
    // The count wraps to 0 one second after 2036-02-07 06:28:15 UTC; counts
    // with the top bit clear are read after the wrap (Python's datetime
    // arithmetic from 1900-01-01 gives the expected times).
    EXPECT_EQ(tp::Ora_Da_Risposta(QByteArray("\xFF\xFF\xFF\xFF", 4), 0).value(), Utc(2036, 2, 7, 6, 28, 15));
    EXPECT_EQ(tp::Ora_Da_Risposta(QByteArray("\x00\x00\x00\x00", 4), 0).value(), Utc(2036, 2, 7, 6, 28, 16));
    EXPECT_EQ(tp::Ora_Da_Risposta(QByteArray("\x12\x34\x56\x78", 4), 0).value(), Utc(2045, 10, 12, 5, 19, 52));
    EXPECT_EQ(tp::Ora_Da_Risposta(QByteArray("\x7F\xFF\xFF\xFF", 4), 0).value(), Utc(2104, 2, 26, 9, 42, 23));
    EXPECT_EQ(tp::Ora_Da_Risposta(QByteArray("\x80\x00\x00\x00", 4), 0).value(), Utc(1968, 1, 20, 3, 14, 8));
    EXPECT_EQ(tp::Ora_Da_Risposta(tp::Risposta_Per(Utc(2040, 1, 1, 0, 0, 0)), 0).value(), Utc(2040, 1, 1, 0, 0, 0));
}

TEST_F(SyncroTest, AServerReplySetsTheClockAndTheWindowSaysSo)
{
    frmSyncro w;
    ASSERT_EQ(w.cmbURL->count(), 1);
    EXPECT_EQ(w.cmbURL->currentText(), "127.0.0.1");
    const QDateTime ora = Vicino();
    Sincronizza(w, tp::Risposta_Per(ora));
    ASSERT_EQ(fakes.clock.calls.size(), 1);
    // A local round trip is far below half a second.
    EXPECT_EQ(fakes.clock.calls[0], ora);
    EXPECT_EQ(w.lblStatus->text(), mLang::Testo_Lingua("frmSyncro", "oksincronizzazione"));
    EXPECT_EQ(w.cmdCancel->Caption(), mLang::Testo_Lingua("Buttons", "close"));
    EXPECT_FALSE(w.cmdOK->isEnabled());
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
}

namespace {
// Message boxes that note what the window's status line says while each is up.
struct PromptConStato : platform::FakePrompt {
    QLabel* stato = nullptr;
    QStringList statiVisti;
    int pausaMs = 0;   // how long the user takes to answer
    int MsgBox(const QString& text, int flags, const QString& title) override
    {
        statiVisti << (stato ? stato->text() : QString());
        if (pausaMs > 0)
            QTest::qWait(pausaMs);
        return FakePrompt::MsgBox(text, flags, title);
    }
};
} // namespace

TEST_F(SyncroTest, ATimeMoreThanADayAwayIsSetOnlyWhenTheUserAgrees)
{
    const QByteArray lontano("\xE9\x0A\x8C\x80", 4);   // 2023-11-24 02:44:16 UTC
    // The observer three and a half hours west of Greenwich, in summer time:
    // two and a half hours behind universal time, an offset no computer's
    // zone has on that day, so the time shown can only be the observer's.
    const float fuso = gsngFusoOrario;
    const std::uint8_t legale = gbytOraLegale;
    gsngFusoOrario = -3.5f;
    gbytOraLegale = 1;
    {
        PromptConStato domanda;
        platform::Services servizi = fakes.services();
        servizi.prompt = &domanda;
        platform::ScopedServices qui(servizi);
        frmSyncro w;
        domanda.stato = w.lblStatus;
        ServerOra server(lontano);
        w.mintPorta = server.porta();
        w.cmdOK_Click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !domanda.calls.isEmpty(); }, 5000));   // answered No
        ASSERT_EQ(domanda.calls.size(), 1);
        EXPECT_EQ(domanda.calls[0].flags, platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2);
        EXPECT_TRUE(domanda.calls[0].text.startsWith(mLang::Testo_Lingua("frmSyncro", "orariolontano")));
        EXPECT_TRUE(domanda.calls[0].text.contains("2023"));
        EXPECT_TRUE(domanda.calls[0].text.contains("24") && domanda.calls[0].text.contains("  00:14:16\r\n"))
            << domanda.calls[0].text.toStdString();
        // The exchange is over while the question is up: no "Connecting...".
        ASSERT_EQ(domanda.statiVisti.size(), 1);
        EXPECT_NE(domanda.statiVisti[0], mLang::Testo_Lingua("frmDownload", "connessioneincorso"));
        EXPECT_TRUE(fakes.clock.calls.isEmpty());
        EXPECT_EQ(w.lblStatus->text(), mLang::Testo_Lingua("frmSyncro", "nosincronizzazione"));
        EXPECT_NE(w.cmdCancel->Caption(), mLang::Testo_Lingua("Buttons", "close"));
    }
    fakes.prompt.calls.clear();
    fakes.prompt.answers = {platform::vbYes};
    frmSyncro w;
    Sincronizza(w, lontano);
    ASSERT_EQ(fakes.clock.calls.size(), 1);
    EXPECT_EQ(fakes.clock.calls[0], Utc(2023, 11, 24, 2, 44, 16));
    EXPECT_EQ(w.lblStatus->text(), mLang::Testo_Lingua("frmSyncro", "oksincronizzazione"));
    // Three seconds to read the question and answer Yes: the clock is set
    // three seconds after the server's time, not behind by the wait.
    {
        PromptConStato lento;
        lento.pausaMs = 3000;
        lento.answers = {platform::vbYes};
        platform::Services servizi = fakes.services();
        servizi.prompt = &lento;
        platform::ScopedServices qui(servizi);
        fakes.clock.calls.clear();
        frmSyncro w2;
        Sincronizza(w2, lontano);
        ASSERT_EQ(fakes.clock.calls.size(), 1);
        EXPECT_EQ(fakes.clock.calls[0], Utc(2023, 11, 24, 2, 44, 19));
    }
    gsngFusoOrario = fuso;
    gbytOraLegale = legale;
}

TEST_F(SyncroTest, BadRepliesSilenceAndRefusalsLeaveTheClockAloneOrSaySo)
{
    for (const QByteArray& r : {QByteArray("\x01\x02\x03", 3), QByteArray("\x01\x02\x03\x04\x05", 5), QByteArray()}) {
        fakes.prompt.calls.clear();
        frmSyncro w;
        Sincronizza(w, r);
        EXPECT_TRUE(fakes.clock.calls.isEmpty());
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_EQ(fakes.prompt.calls[0].text, mLang::Testo_Lingua("frmSyncro", "rispostanonvalida"));
        EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbCritical);
        EXPECT_TRUE(w.lblStatus->text().isEmpty());
    }
    // A server that accepts and never answers is given up.
    {
        fakes.prompt.calls.clear();
        frmSyncro w;
        w.mintTempoMassimo = 300;
        Sincronizza(w, {}, true);
        EXPECT_TRUE(fakes.clock.calls.isEmpty());
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_EQ(fakes.prompt.calls[0].text, mLang::Testo_Lingua("frmSyncro", "temposcaduto"));
        EXPECT_EQ(w.lblStatus->text(), mLang::Testo_Lingua("frmSyncro", "nosincronizzazione"));
        EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);
    }
    // The system refuses: told, never reported as a success.
    fakes.prompt.calls.clear();
    fakes.clock.succeed = false;
    frmSyncro w;
    Sincronizza(w, tp::Risposta_Per(Vicino()));
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_TRUE(fakes.prompt.calls[0].text.contains(fakes.clock.failure));
    EXPECT_NE(w.lblStatus->text(), mLang::Testo_Lingua("frmSyncro", "oksincronizzazione"));
    EXPECT_NE(w.cmdCancel->Caption(), mLang::Testo_Lingua("Buttons", "close"));
}

// The exchange ends while the user types in another program: a server that
// never answers is given up, or one answers a time far off, which is set
// only when the user agrees. That program keeps every key; the message, or
// the question, comes once the user is back.
TEST_F(SyncroTest, AnExchangeThatEndsLeavesTheKeyboardWhereTheUserIs)
{
    const QByteArray modo = qgetenv("ASTROVELA_FINE_OROLOGIO");
    if (modo.isEmpty()) {
        for (auto gestore : {testsupport::Gestore::Nessuno, testsupport::Gestore::Openbox})
            testsupport::Riesegui_Per_Ogni("ASTROVELA_FINE_OROLOGIO", {"muto", "lontano"}, gestore);
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
    const bool lontano = modo == "lontano";
    const QByteArray risposta("\xE9\x0A\x8C\x80", 4);   // 2023-11-24 02:44:16 UTC
    // Silent; or the reply two seconds after the connection, the line left open.
    ServerOra server({}, lontano ? ServerOra::Aperto : ServerOra::Muto, risposta, 2000);
    frmSyncro w;
    w.mintPorta = server.porta();
    w.mintTempoMassimo = 3000;
    ASSERT_TRUE(testsupport::Davanti_Con_La_Tastiera(w, w.size()));
    QTest::qWait(300);

    testsupport::MessaggiPresi messaggi;
    messaggi.start();
    const QString connessione = mLang::Testo_Lingua("frmDownload", "connessioneincorso");
    w.cmdOK_Click();
    x.clic(altro.campo());
    ASSERT_TRUE(QTest::qWaitFor([&] { return altro.attivo() && !QApplication::activeWindow(); }, 5000));
    x.premi('a');
    ASSERT_TRUE(QTest::qWaitFor([&] { return altro.testo() == "a"; }, 2000));
    ASSERT_EQ(w.lblStatus->text(), connessione) << "the exchange ended before the user was away";
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.lblStatus->text() != connessione; }, 10000));
    QTest::qWait(500);
    messaggi.stop();
    EXPECT_TRUE(messaggi.preso.isEmpty()) << "a message took the keyboard from the other program: " << messaggi.preso.toStdString();
    x.premi('b');
    EXPECT_TRUE(QTest::qWaitFor([&] { return altro.testo() == "ab"; }, 3000))
        << "the keys typed after the exchange went elsewhere (the other program has \"" << altro.testo().toStdString()
        << "\")";
    EXPECT_EQ(QApplication::activeWindow(), nullptr);
    EXPECT_TRUE(fakes.clock.calls.isEmpty());

    // Back in the program: the message, answered with OK; the question,
    // answered with Yes.
    testsupport::RispostaConUnClic risposte(x, [](QWidget*, QStringList&) { return nullptr; });
    QStringList domande;
    QTimer si;
    QObject::connect(&si, &QTimer::timeout, [&] {
        auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!m || !m->button(QMessageBox::Yes) || m->property("risposto").toBool() || !m->windowHandle()
            || !m->windowHandle()->isExposed())
            return;
        m->setProperty("risposto", true);
        domande << m->text();
        QWidget* b = m->button(QMessageBox::Yes);
        x.clic(b->mapToGlobal(b->rect().center()));
    });
    si.start(100);
    x.clic(w.lblStatus->mapToGlobal(w.lblStatus->rect().center()));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return risposte.messaggi.size() + domande.size() >= 1 && !QApplication::activeModalWidget(); }, 10000))
        << "the " << (lontano ? "question" : "message") << " did not come once the user was back";
    risposte.ferma();
    si.stop();
    if (lontano) {
        ASSERT_EQ(domande.size(), 1);
        EXPECT_TRUE(domande[0].startsWith(mLang::Testo_Lingua("frmSyncro", "orariolontano")));
        EXPECT_TRUE(risposte.messaggi.isEmpty());
        ASSERT_TRUE(QTest::qWaitFor([&] { return fakes.clock.calls.size() == 1; }, 2000));
        // The server's time, moved on by the wait for the user.
        EXPECT_GT(fakes.clock.calls[0], Utc(2023, 11, 24, 2, 44, 16));
        EXPECT_EQ(w.lblStatus->text(), mLang::Testo_Lingua("frmSyncro", "oksincronizzazione"));
    } else {
        EXPECT_EQ(risposte.messaggi, QStringList{mLang::Testo_Lingua("frmSyncro", "temposcaduto")});
        EXPECT_TRUE(fakes.clock.calls.isEmpty());
    }
}

TEST_F(SyncroTest, FourBytesAreTheWholeReplyAlsoWhenTheServerKeepsTheLineOpen)
{
    // The clock is set well before the exchange's time limit, with the time
    // waited for the close added: 0.2 s rounds to nothing, 1.6 s to 2 s.
    for (const int attesa : {200, 1600}) {
        SCOPED_TRACE(attesa);
        fakes.clock.calls.clear();
        const QDateTime ora = Vicino();
        ServerOra server(tp::Risposta_Per(ora), ServerOra::Aperto);
        frmSyncro w;
        w.mintPorta = server.porta();
        w.mintTempoMassimo = 4000;
        w.mintAttesaChiusura = attesa;
        w.cmdOK_Click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !fakes.clock.calls.isEmpty() || !fakes.prompt.calls.isEmpty(); },
                                    6000));
        EXPECT_TRUE(fakes.prompt.calls.isEmpty()) << fakes.prompt.texts().join("\n").toStdString();
        ASSERT_EQ(fakes.clock.calls.size(), 1);
        EXPECT_EQ(fakes.clock.calls[0], ora.addSecs(attesa > 1000 ? 2 : 0));
        EXPECT_EQ(w.lblStatus->text(), mLang::Testo_Lingua("frmSyncro", "oksincronizzazione"));
    }
    // A fifth byte while the line stays open still makes the reply invalid.
    fakes.clock.calls.clear();
    ServerOra server(tp::Risposta_Per(Vicino()), ServerOra::Aperto, QByteArray(1, '\x01'), 100);
    frmSyncro w;
    w.mintPorta = server.porta();
    w.mintAttesaChiusura = 1500;
    w.cmdOK_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !fakes.prompt.calls.isEmpty(); }, 5000));
    EXPECT_EQ(fakes.prompt.calls[0].text, mLang::Testo_Lingua("frmSyncro", "rispostanonvalida"));
    EXPECT_TRUE(fakes.clock.calls.isEmpty());
}

// A server that sends without stopping (up to a bound, so that a reader that
// keeps everything is seen to fail rather than to exhaust the machine), in
// pieces of any size; notes how much it sent before the client hung up.
class ServerFiume : public QObject {
public:
    static constexpr qint64 kTotale = 24 * 1024 * 1024;
    explicit ServerFiume(qint64 pezzo) : m_pezzo(pezzo, '\x5a')
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* s = m_server.nextPendingConnection();
            QObject::connect(s, &QTcpSocket::disconnected, this, [this] { chiuso = true; });
            QObject::connect(s, &QTcpSocket::bytesWritten, this, [this, s] { Manda(s); });
            Manda(s);
        });
    }
    int porta() const { return m_server.serverPort(); }
    qint64 mandati = 0;
    bool chiuso = false;

private:
    void Manda(QTcpSocket* s)
    {
        while (!chiuso && mandati < kTotale && s->bytesToWrite() < 4 * m_pezzo.size()) {
            s->write(m_pezzo);
            mandati += m_pezzo.size();
        }
        if (mandati >= kTotale && s->bytesToWrite() == 0)
            s->disconnectFromHost();
    }
    QTcpServer m_server;
    QByteArray m_pezzo;
};

TEST_F(SyncroTest, AServerThatNeverStopsSendingIsCutOffAfterAFewBytes)
{
    // One byte at a time and large pieces: both end after the fifth byte.
    for (const qint64 pezzo : {qint64(1), qint64(64 * 1024)}) {
        fakes.prompt.calls.clear();
        ServerFiume server(pezzo);
        frmSyncro w;
        w.mintPorta = server.porta();
        w.cmdOK_Click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !fakes.prompt.calls.isEmpty(); }, 10000)) << pezzo;
        EXPECT_EQ(fakes.prompt.calls[0].text, mLang::Testo_Lingua("frmSyncro", "rispostanonvalida"));
        EXPECT_TRUE(fakes.clock.calls.isEmpty());
        EXPECT_LE(w.risposta().size(), 5);
        // The client hung up long before the server's bound.
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.chiuso; }, 5000)) << pezzo;
        EXPECT_LT(server.mandati, ServerFiume::kTotale / 2) << pezzo;
        EXPECT_EQ(fakes.prompt.calls.size(), 1);
    }
}

TEST_F(SyncroTest, RefusedConnectionConnectionCheckAndEmptyList)
{
    QTcpServer chiuso;
    chiuso.listen(QHostAddress::LocalHost);
    const int porta = chiuso.serverPort();
    chiuso.close();
    {
        frmSyncro w;
        w.mintPorta = porta;
        w.cmdOK_Click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !fakes.prompt.calls.isEmpty(); }, 5000));
        EXPECT_EQ(fakes.prompt.calls[0].title, mLang::Testo_Lingua("frmSyncro", "nosincronizzazione"));
        EXPECT_EQ(w.lblStatus->text(), mLang::Testo_Lingua("frmSyncro", "nosincronizzazione"));
        EXPECT_TRUE(fakes.clock.calls.isEmpty());
        // Opening the list makes OK usable again.
        EXPECT_FALSE(w.cmdOK->isEnabled());
        w.cmbURL_DropDown();
        EXPECT_TRUE(w.cmdOK->isEnabled());
    }
    fakes.settings.setValue("ServerNTP", "Verifica connessione", "-1");
    fakes.network.connected = false;
    {
        frmSyncro w;
        EXPECT_TRUE(w.chkConnessione->isChecked());
        w.cmdOK_Click();
        EXPECT_EQ(w.lblStatus->text(), mLang::Testo_Lingua("frmSyncro", "noconnessione"));
        w.chkConnessione->click();
        EXPECT_EQ(fakes.settings.value("ServerNTP", "Verifica connessione").value_or("?"), "0");
    }
    gstrServerNTP.fill(QString());
    frmSyncro w;
    EXPECT_EQ(w.cmbURL->count(), 0);
    EXPECT_EQ(w.cmbURL->currentIndex(), -1);
    w.cmdOK_Click();
    EXPECT_TRUE(w.cmdOK->isEnabled());
    EXPECT_TRUE(w.lblStatus->text().isEmpty());
}
