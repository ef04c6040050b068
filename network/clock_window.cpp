#include "network/clock_window.h"
#include "common/help.h"
#include "common/window_host.h"
#include "common/refilling_combo.h"

#include "controls/graph_button.h"
#include "core/clock.h"
#include "core/mglobal.h"
#include "core/mlang.h"
#include "core/mreg.h"
#include "core/settings.h"
#include "network/time_protocol.h"
#include "platform/clock_setter.h"
#include "platform/help_service.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/vb.h"

#include <QApplication>
#include <algorithm>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QTcpSocket>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kSezione = QStringLiteral("frmSyncro");
const QString kApp = QStringLiteral("Astrovela");
const QString kCrLf = QStringLiteral("\r\n");

} // namespace

frmSyncro::frmSyncro(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSyncro"));
    auto* combo = new ComboAperta(this);
    combo->aperta = [this] { cmbURL_DropDown(); };
    cmbURL = combo;
    cmbURL->setObjectName(QStringLiteral("cmbURL"));
    cmbURL->setEditable(false);
    cmbURL->setMinimumWidth(280);
    chkConnessione = new QCheckBox(this);
    chkConnessione->setObjectName(QStringLiteral("chkConnessione"));
    lblServer = new QLabel(this);
    lblServer->setObjectName(QStringLiteral("lblServer"));
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setTextFormat(Qt::PlainText);   // may hold the system's reason
    lblStatus->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblStatus->setMinimumHeight(22);
    cmdOK = new GraphButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new GraphButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdHelp = new GraphButton(this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    for (GraphButton* b : {cmdOK, cmdCancel, cmdHelp})
        b->setMinimumSize(85, 26);
    Winsock1 = new QTcpSocket(this);
    // The socket itself holds no more than a few bytes either.
    Winsock1->setReadBufferSize(64);
    m_scadenza = new QTimer(this);
    m_scadenza->setSingleShot(true);
    m_attesaChiusura = new QTimer(this);
    m_attesaChiusura->setSingleShot(true);

    auto* griglia = new QGridLayout;
    griglia->addWidget(lblServer, 0, 0);
    griglia->addWidget(cmbURL, 1, 0);
    griglia->addWidget(chkConnessione, 2, 0);
    griglia->addWidget(lblStatus, 3, 0);
    auto* pulsanti = new QVBoxLayout;
    pulsanti->addWidget(cmdOK);
    pulsanti->addWidget(cmdCancel);
    pulsanti->addWidget(cmdHelp);
    pulsanti->addStretch();
    auto* tutto = new QHBoxLayout(this);
    tutto->addLayout(griglia, 1);
    tutto->addLayout(pulsanti);
    setFixedSize(sizeHint().expandedTo(QSize(430, 150)));

    connect(chkConnessione, &QCheckBox::clicked, this, &frmSyncro::chkConnessione_Click);
    connect(cmdOK, &GraphButton::Click, this, &frmSyncro::cmdOK_Click);
    connect(cmdCancel, &GraphButton::Click, this, &frmSyncro::cmdCancel_Click);
    connect(cmdHelp, &GraphButton::Click, this, &frmSyncro::cmdHelp_Click);
    connect(Winsock1, &QTcpSocket::connected, this, &frmSyncro::Winsock1_Connect);
    connect(Winsock1, &QTcpSocket::readyRead, this, &frmSyncro::Winsock1_DataArrival);
    connect(Winsock1, &QTcpSocket::disconnected, this, &frmSyncro::Winsock1_Close);
    connect(Winsock1, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        // The server closing is how the reply ends, not an error.
        if (e != QAbstractSocket::RemoteHostClosedError)
            Winsock1_Error(int(e), Winsock1->errorString());
    });
    connect(m_scadenza, &QTimer::timeout, this, &frmSyncro::Tempo_scaduto);
    connect(m_attesaChiusura, &QTimer::timeout, this, &frmSyncro::Risposta_completa);
    Form_Load();
}

frmSyncro::~frmSyncro()
{
    m_attivo = false;
    Winsock1->disconnect(this);
    Winsock1->abort();
}

void frmSyncro::Mostra(QWidget* parent)
{
    frmSyncro finestra(parent);
    finestra.exec();
}

void frmSyncro::Lingua()
{
    setWindowTitle(mLang::Testo_Lingua(kSezione, QStringLiteral("sincronizzazioneorologio")));
    lblServer->setText(mLang::Testo_Lingua(kSezione, QStringLiteral("nomeserver")));
    chkConnessione->setText(mLang::Testo_Lingua(kSezione, QStringLiteral("verificaconnessione")));
    cmdOK->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("ok")));
    cmdCancel->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("cancel")));
    cmdHelp->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("help")));
}

void frmSyncro::Form_Load()
{
    Lingua();
    cmbURL->clear();
    for (const QString& server : gstrServerNTP)
        if (!server.trimmed().isEmpty())
            cmbURL->addItem(server);
    cmbURL->setCurrentIndex(cmbURL->count() > 0 ? 0 : -1);
    const QString verifica =
        mReg::Leggi_Impostazione(kApp, QStringLiteral("ServerNTP"), QStringLiteral("Verifica connessione"),
                                 QStringLiteral("-1"));
    chkConnessione->setChecked(verifica.trimmed() != QLatin1String("0"));
}

void frmSyncro::chkConnessione_Click()
{
    try {
        mReg::Salva_Impostazione(kApp, QStringLiteral("ServerNTP"), QStringLiteral("Verifica connessione"),
                                 chkConnessione->isChecked() ? QStringLiteral("-1") : QStringLiteral("0"));
    } catch (const mReg::RegistryError& e) {
        platform::MsgBox(Testo_Impostazioni_Non_Salvate(e), platform::vbExclamation);
    }
}

void frmSyncro::cmbURL_DropDown()
{
    cmdOK->setEnabled(true);
}

void frmSyncro::puntatoreNormale()
{
    unsetCursor();
}

void frmSyncro::cmdOK_Click()
{
    if (cmbURL->currentText().trimmed().isEmpty())
        return;
    setCursor(Qt::WaitCursor);
    cmdOK->setEnabled(false);
    if (chkConnessione->isChecked() && !mGlobal::Connessione_Internet()) {
        lblStatus->setText(mLang::Testo_Lingua(kSezione, QStringLiteral("noconnessione")));
        puntatoreNormale();
        return;
    }
    Connetti_server();
}

void frmSyncro::Connetti_server()
{
    if (cmbURL->currentText().isEmpty())
        return;
    Chiudi_connessione();
    mstrRisposta.clear();
    m_giro.invalidate();
    lblStatus->setText(mLang::Testo_Lingua(QStringLiteral("frmDownload"), QStringLiteral("connessioneincorso")));
    m_attivo = true;
    m_scadenza->start(mintTempoMassimo);
    Winsock1->connectToHost(cmbURL->currentText().trimmed(), quint16(mintPorta));
}

void frmSyncro::Chiudi_connessione()
{
    m_attivo = false;
    m_scadenza->stop();
    m_attesaChiusura->stop();
    Winsock1->abort();
}

void frmSyncro::Winsock1_Connect()
{
    // Nothing is sent: the server answers as soon as the connection stands.
    m_giro.start();
}

void frmSyncro::Winsock1_DataArrival()
{
    if (!m_attivo)
        return;
    // A reply is four bytes: only a few are ever taken from the socket, and
    // a fifth ends the exchange, however much the server goes on sending.
    while (Winsock1->bytesAvailable() > 0) {
        const QByteArray pezzo = Winsock1->read(std::max<qsizetype>(mstrRisposta.spazio(), 1));
        if (pezzo.isEmpty())
            break;
        if (!mstrRisposta.aggiungi(pezzo)) {
            Chiudi_connessione();
            Imposta_orologio(mstrRisposta.byte());
            return;
        }
    }
    // Four bytes are the whole reply: a server that keeps the connection open
    // after them has answered. A moment is left for the close (or for a fifth
    // byte, which makes the reply invalid).
    if (mstrRisposta.byte().size() == network::timeproto::kLunghezzaRisposta && !m_attesaChiusura->isActive()) {
        m_arrivo = m_giro.isValid() ? m_giro.elapsed() : 0;
        m_scadenza->stop();
        m_attesaChiusura->start(mintAttesaChiusura);
    }
}

void frmSyncro::Risposta_completa()
{
    if (!m_attivo)
        return;
    Chiudi_connessione();
    // Half the way to the fourth byte, and the time waited since: the
    // server's time now.
    const qint64 ora = m_giro.isValid() ? m_giro.elapsed() : m_arrivo;
    msngRitardo = double(m_arrivo) / 1000.0 / 2.0 + double(ora - m_arrivo) / 1000.0;
    Imposta_orologio(mstrRisposta.byte());
}

void frmSyncro::Winsock1_Close()
{
    if (!m_attivo)
        return;
    Winsock1_DataArrival();   // what came with the close
    if (!m_attivo)
        return;               // already ended by a reply too long
    Chiudi_connessione();
    // Half the round trip, on a clock that does not jump at midnight.
    msngRitardo = m_giro.isValid() ? double(m_giro.elapsed()) / 1000.0 / 2.0 : 0.0;
    Imposta_orologio(mstrRisposta.byte());
}

void frmSyncro::Winsock1_Error(int, const QString& description)
{
    if (!m_attivo)
        return;
    Chiudi_connessione();
    puntatoreNormale();
    const QString titolo = mLang::Testo_Lingua(kSezione, QStringLiteral("nosincronizzazione"));
    lblStatus->setText(titolo);
    // The server's end comes on its own: the user is told once in the
    // program, so that the message takes no keys typed in another one.
    common::Al_Ritorno(this, [description, titolo] { platform::MsgBox(description, platform::vbExclamation, titolo); });
}

void frmSyncro::Tempo_scaduto()
{
    // A server that accepts and never answers or never closes.
    Winsock1_Error(int(QAbstractSocket::SocketTimeoutError),
                   mLang::Testo_Lingua(kSezione, QStringLiteral("temposcaduto")));
}

void frmSyncro::Imposta_orologio(const QByteArray& risposta)
{
    const auto ora = network::timeproto::Ora_Da_Risposta(risposta, msngRitardo);
    if (!ora) {
        // Not four bytes: the clock stays as it is.
        lblStatus->clear();
        common::Al_Ritorno(this, [] {
            platform::MsgBox(mLang::Testo_Lingua(kSezione, QStringLiteral("rispostanonvalida")), platform::vbCritical);
        });
        puntatoreNormale();
        return;
    }
    const QString titolo = mLang::Testo_Lingua(kSezione, QStringLiteral("nosincronizzazione"));
    puntatoreNormale();
    cmdOK->setEnabled(false);
    // The exchange is over: nothing is connecting any more.
    lblStatus->clear();
    const auto imposta = [this, titolo](const QDateTime& ora) {
        QString motivo;
        platform::ClockSetter* orologio = platform::services().clock;
        const bool fatto = orologio && orologio->setSystemClock(ora, &motivo);
        if (!fatto) {
            // The system refused (the program may lack the right): say so.
            lblStatus->setText(titolo);
            common::Al_Ritorno(this, [motivo, titolo] {
                platform::MsgBox(mLang::Testo_Lingua(kSezione, QStringLiteral("orologiorifiutato")) + kCrLf + motivo,
                                 platform::vbExclamation, titolo);
            });
            return;
        }
        lblStatus->setText(mLang::Testo_Lingua(kSezione, QStringLiteral("oksincronizzazione")));
        cmdCancel->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("close")));
    };
    const QDateTime letta = *ora;
    const qint64 scarto = QDateTime::currentDateTimeUtc().secsTo(letta);
    if (qAbs(scarto) <= network::timeproto::kScartoDaConfermare) {
        imposta(letta);
        return;
    }
    // A server far off (or a reply that is no time at all) must not move
    // the clock by days without the user seeing it. The question waits for
    // the user to be in the program; the server's time goes on by the whole
    // seconds that pass until the answer, so that the wait does not set the
    // clock behind. The time is the observer's, as every other time the
    // program shows.
    QElapsedTimer attesa;
    attesa.start();
    common::Al_Ritorno(this, [this, imposta, letta, attesa, titolo] {
        const auto adesso = [&] { return letta.addSecs(qRound64(double(attesa.elapsed()) / 1000.0)); };
        const QString testo = mLang::Testo_Lingua(kSezione, QStringLiteral("orariolontano")) + kCrLf +
                              vb::Format(core::Ora_Locale_Osservatore(adesso()), u"dd mmmm yyyy  hh:mm:ss") + kCrLf +
                              mLang::Testo_Lingua(kSezione, QStringLiteral("confermaorario"));
        if (platform::MsgBox(testo, platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2) !=
            platform::vbYes) {
            lblStatus->setText(titolo);
            return;
        }
        imposta(adesso());
    });
}

void frmSyncro::cmdCancel_Click()
{
    Chiudi_connessione();
    accept();
}

void frmSyncro::cmdHelp_Click()
{
    Mostra_Aiuto(220, this);
}

void frmSyncro::closeEvent(QCloseEvent* e)
{
    Chiudi_connessione();
    QDialog::closeEvent(e);
}

void frmSyncro::reject()
{
    Chiudi_connessione();
    QDialog::reject();
}
