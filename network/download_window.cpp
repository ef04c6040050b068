#include "network/download_window.h"
#include "common/help.h"
#include "common/window_host.h"
#include "common/refilling_combo.h"

#include "controls/graph_button.h"
#include "controls/progress_bar.h"
#include "core/clock.h"
#include "core/mglobal.h"
#include "core/mlang.h"
#include "core/mreg.h"
#include "core/settings.h"
#include "database/database_window.h"
#include "network/download_checks.h"
#include "platform/file_chooser.h"
#include "platform/help_service.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/vb.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QSslCertificate>
#include <QSslError>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString kSezione = QStringLiteral("frmDownload");
const QString kApp = QStringLiteral("Astrovela");
const QString kCrLf = QStringLiteral("\r\n");

QString L(const char* section, const char* key)
{
    return mLang::Testo_Lingua(QLatin1String(section), QLatin1String(key));
}


QLabel* valore(QWidget* parent, const char* name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);   // server texts and file names, never markup
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMinimumWidth(110);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QLabel* didascalia(QWidget* parent, const char* name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    return l;
}

// The peer a request for `url` connects to, as Qt Network picks it for a
// manager without a proxy of its own: the first proxy of the application's
// answer that suits (for plain HTTP one that takes whole addresses or
// tunnels, for HTTPS one that tunnels), and the server itself when that is
// no proxy.
platform::Connessioni::Estremo Estremo_Per(const QUrl& url)
{
    const bool https = url.scheme() == QLatin1String("https");
    const platform::Connessioni::Estremo server{url.host(), url.port(https ? 443 : 80)};
    for (const QNetworkProxy& p : QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(url))) {
        const bool web = p.type() == QNetworkProxy::HttpProxy || p.type() == QNetworkProxy::HttpCachingProxy;
        if (!https && web && (p.capabilities() & QNetworkProxy::CachingCapability))
            return {p.hostName(), p.port()};
        if (p.isTransparentProxy())
            return p.type() == QNetworkProxy::NoProxy ? server : platform::Connessioni::Estremo{p.hostName(), p.port()};
    }
    return server;
}

QString Contatore(int ore, int minuti, int secondi)
{
    const auto due = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return due(ore) + u':' + due(minuti) + u':' + due(secondi);
}

} // namespace

frmDownload::frmDownload(QWidget* parent)
    : QDialog(parent), mintTempoMassimo(network::kTempoMassimoMs), mlngLimiteCorpo(network::kLimiteCorpo)
{
    setObjectName(QStringLiteral("frmDownload"));
    auto* combo = new ComboAperta(this);
    combo->aperta = [this] { cmbFileRemoto_DropDown(); };
    cmbFileRemoto = combo;
    cmbFileRemoto->setObjectName(QStringLiteral("cmbFileRemoto"));
    cmbFileRemoto->setEditable(false);
    cmbFileRemoto->setMinimumWidth(360);
    chkConnessione = new QCheckBox(this);
    chkConnessione->setObjectName(QStringLiteral("chkConnessione"));
    ProgressBar1 = new ProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setMinimumHeight(20);
    lblSize = valore(this, "lblSize");
    lblReceive = valore(this, "lblReceive");
    lblSpeed = valore(this, "lblSpeed");
    lblElapsed = valore(this, "lblElapsed");
    lblRemaining = valore(this, "lblRemaining");
    lblStatus = valore(this, "lblStatus");
    lblStatus->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lblDimensione = didascalia(this, "lblDimensione");
    lblRicevuti = didascalia(this, "lblRicevuti");
    lblVelocita = didascalia(this, "lblVelocita");
    lblFileRemoto = didascalia(this, "lblFileRemoto");
    lblTempoRimasto = didascalia(this, "lblTempoRimasto");
    lblTempoTrascorso = didascalia(this, "lblTempoTrascorso");
    cmdOK = new GraphButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new GraphButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdHelp = new GraphButton(this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    for (GraphButton* b : {cmdOK, cmdCancel, cmdHelp})
        b->setMinimumSize(85, 26);
    wscHTTP = new QNetworkAccessManager(this);
    m_scadenza = new QTimer(this);
    m_scadenza->setSingleShot(true);
    m_guardia = new QTimer(this);
    m_guardia->setInterval(250);
    tmrTimeLeft = new QTimer(this);
    tmrTimeLeft->setObjectName(QStringLiteral("tmrTimeLeft"));
    tmrTimeLeft->setInterval(1000);

    auto* griglia = new QGridLayout;
    griglia->addWidget(lblFileRemoto, 0, 0, 1, 4);
    griglia->addWidget(cmbFileRemoto, 1, 0, 1, 4);
    griglia->addWidget(lblDimensione, 2, 0);
    griglia->addWidget(lblSize, 2, 1);
    griglia->addWidget(lblTempoTrascorso, 2, 2);
    griglia->addWidget(lblElapsed, 2, 3);
    griglia->addWidget(lblRicevuti, 3, 0);
    griglia->addWidget(lblReceive, 3, 1);
    griglia->addWidget(lblTempoRimasto, 3, 2);
    griglia->addWidget(lblRemaining, 3, 3);
    griglia->addWidget(lblVelocita, 4, 0);
    griglia->addWidget(lblSpeed, 4, 1);
    griglia->addWidget(ProgressBar1, 5, 0, 1, 4);
    griglia->addWidget(lblStatus, 6, 0, 1, 4);
    griglia->addWidget(chkConnessione, 7, 0, 1, 4);
    auto* pulsanti = new QVBoxLayout;
    pulsanti->addWidget(cmdOK);
    pulsanti->addWidget(cmdCancel);
    pulsanti->addWidget(cmdHelp);
    pulsanti->addStretch();
    auto* tutto = new QHBoxLayout(this);
    tutto->addLayout(griglia, 1);
    tutto->addLayout(pulsanti);

    connect(chkConnessione, &QCheckBox::clicked, this, &frmDownload::chkConnessione_Click);
    connect(cmdOK, &GraphButton::Click, this, &frmDownload::cmdOK_Click);
    connect(cmdCancel, &GraphButton::Click, this, &frmDownload::cmdCancel_Click);
    connect(cmdHelp, &GraphButton::Click, this, &frmDownload::cmdHelp_Click);
    connect(m_scadenza, &QTimer::timeout, this, &frmDownload::Tempo_scaduto);
    connect(m_guardia, &QTimer::timeout, this, &frmDownload::Sorveglia_intestazione);
    connect(tmrTimeLeft, &QTimer::timeout, this, &frmDownload::tmrTimeLeft_Timer);
    Form_Load();
    setFixedSize(sizeHint().expandedTo(QSize(560, 250)));
    tmrTimeLeft->start();
}

frmDownload::~frmDownload()
{
    Chiudi_connessione();
}

void frmDownload::Mostra(QWidget* parent)
{
    {
        frmDownload finestra(parent);
        finestra.exec();
    }
    if (!pflgSostituzione)
        return;
    const int risposta = platform::MsgBox(L("frmDownload", "aggiornasatelliti1") + kCrLf +
                                              L("frmDownload", "aggiornasatelliti2"),
                                          platform::vbYesNo);
    pflgSostituzione = false;
    if (risposta == platform::vbYes) {
        QString file = gstrDatabasePrimario;
        if (!file.isEmpty())
            frmDatabase::instance()->Database_satelliti(file);
    }
}

void frmDownload::Lingua()
{
    setWindowTitle(L("frmDownload", "trasferimentofile"));
    lblDimensione->setText(L("frmDownload", "dimensione"));
    lblRicevuti->setText(L("frmDownload", "ricevuti"));
    lblVelocita->setText(L("frmDownload", "velocita"));
    lblFileRemoto->setText(L("frmDownload", "fileremoto"));
    lblTempoRimasto->setText(L("frmDownload", "temporimasto"));
    lblTempoTrascorso->setText(L("frmDownload", "tempotrascorso"));
    chkConnessione->setText(L("frmDownload", "verificaconnessione"));
    cmdOK->setCaption(L("Buttons", "ok"));
    cmdCancel->setCaption(L("Buttons", "cancel"));
    cmdHelp->setCaption(L("Buttons", "help"));
    mstrRicezione = L("frmDownload", "ricezioneincorso");
}

void frmDownload::Form_Load()
{
    Lingua();
    cmbFileRemoto->clear();
    for (const QString& voce : gstrRemoto)
        if (!voce.trimmed().isEmpty())
            cmbFileRemoto->addItem(voce);
    cmbFileRemoto->setCurrentIndex(cmbFileRemoto->count() > 0 ? 0 : -1);
    const QString verifica = mReg::Leggi_Impostazione(kApp, QStringLiteral("Download"),
                                                      QStringLiteral("Verifica connessione"), QStringLiteral("-1"));
    chkConnessione->setChecked(verifica.trimmed() != QLatin1String("0"));
    ProgressBar1->setMax(100);
    ProgressBar1->setValue(0);
    lblElapsed->setText(QStringLiteral("00:00:00"));
    lblRemaining->setText(QStringLiteral("00:00:00"));
    lblReceive->setText(QStringLiteral("0 bytes"));
    lblSize->setText(QStringLiteral("0 bytes"));
    lblSpeed->setText(QStringLiteral("0 KB"));
}

void frmDownload::chkConnessione_Click()
{
    try {
        mReg::Salva_Impostazione(kApp, QStringLiteral("Download"), QStringLiteral("Verifica connessione"),
                                 chkConnessione->isChecked() ? QStringLiteral("-1") : QStringLiteral("0"));
    } catch (const mReg::RegistryError& e) {
        platform::MsgBox(Testo_Impostazioni_Non_Salvate(e), platform::vbExclamation);
    }
}

void frmDownload::cmbFileRemoto_DropDown()
{
    Fine_trasferimento(false);
}

void frmDownload::cmdOK_Click()
{
    const QString voce = cmbFileRemoto->currentText();
    if (voce.trimmed().isEmpty())
        return;
    if (chkConnessione->isChecked() && !mGlobal::Connessione_Internet()) {
        lblStatus->setText(L("frmDownload", "noconnessione"));
        unsetCursor();
        cmdOK->setEnabled(false);
        return;
    }
    const QUrl url = network::Url_Da_Voce(voce);
    if (!url.isValid()) {
        platform::MsgBox(L("frmDownload", "indirizzononvalido") + kCrLf + voce, platform::vbExclamation);
        return;
    }
    mstrHost = url.host();
    mstrPercorso = url.path(QUrl::FullyEncoded);

    mstrDati.clear();
    mblnIntestazione = false;
    mblnCompletato = false;
    mlngDimensione = 0;
    mlngRicevuti = 0;
    msngVelocita = 0;
    m_inizio.invalidate();
    m_motivo = Motivo::Nessuno;
    ProgressBar1->setValue(0);
    lblReceive->clear();
    lblSize->clear();
    lblSpeed->clear();
    lblElapsed->setText(QStringLiteral("00:00:00"));
    lblRemaining->setText(QStringLiteral("00:00:00"));

    platform::FileDialogRequest richiesta;
    richiesta.title = L("Dialogs", "salvaconnome");
    richiesta.fileName = mGlobal::Nome_File_Da_URL(voce);
    richiesta.filter = L("Dialogs", "filtrotle");
    richiesta.filterIndex = 1;
    richiesta.flags = platform::fileOverwritePrompt;
    platform::FileChooser* files = platform::services().files;
    const std::optional<QString> scelto = files ? files->saveFile(richiesta, this) : std::nullopt;
    if (!scelto || scelto->isEmpty())
        return;
    mstrFileLocale = *scelto;
    cmdOK->setEnabled(false);
    cmbFileRemoto->setEnabled(false);
    Chiudi_connessione();
    lblStatus->setText(L("frmDownload", "connessioneincorso"));

    QNetworkRequest req(url);
    req.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    req.setMaximumRedirectsAllowed(network::kMassimoRedirect);
    req.setRawHeader("Accept", "*/*");
    // Uncompressed, so that the received count and the announced length
    // speak of the same bytes.
    req.setRawHeader("Accept-Encoding", "identity");
    req.setHeader(QNetworkRequest::UserAgentHeader,
                  QStringLiteral("Astrovela/%1").arg(QCoreApplication::applicationVersion()));
    // Before the request goes to Qt, so that every connection it opens for
    // it comes after.
    m_estremo = Estremo_Per(url);
    m_connessioni.Inizio(m_estremo);
    m_erroriSsl.clear();
    QNetworkReply* r = wscHTTP->get(req);
    m_risposta = r;
    connect(r, &QNetworkReply::socketStartedConnecting, this, &frmDownload::Attivita);
    connect(r, &QNetworkReply::encrypted, this, [this] {
        // The handshake's bytes are not the header's.
        Attivita();
        m_connessioni.Riparti(m_estremo);
    });
    connect(r, &QNetworkReply::sslErrors, this, [this](const QList<QSslError>& errori) { m_erroriSsl = errori; });
    connect(r, &QNetworkReply::redirected, this, [this](const QUrl& dove) {
        // Only the last reply's body is the file.
        Attivita();
        mstrDati.clear();
        mblnIntestazione = false;
        m_erroriSsl.clear();
        m_estremo = Estremo_Per(dove);
        m_connessioni.Riparti(m_estremo);
    });
    connect(r, &QNetworkReply::requestSent, this, &frmDownload::wscHTTP_SendComplete);
    connect(r, &QNetworkReply::metaDataChanged, this, &frmDownload::wscHTTP_Header);
    connect(r, &QNetworkReply::readyRead, this, &frmDownload::wscHTTP_DataArrival);
    connect(r, &QNetworkReply::downloadProgress, this, &frmDownload::Attivita);
    connect(r, &QNetworkReply::finished, this, &frmDownload::wscHTTP_Close);
    m_lettiPrima = 0;
    m_oltreLimite = 0;
    m_guardia->start();
    Attivita();
}

void frmDownload::Attivita()
{
    // The server is doing something: the time-out starts again.
    if (m_risposta) {
        m_scadenza->start(mintTempoMassimo);
        m_attesa.start();
        m_ultimaCrescita = -1;
    }
}

void frmDownload::Sorveglia_intestazione()
{
    if (!m_risposta || mblnIntestazione)
        return;
    const qint64 letti = m_connessioni.Letti();
    // A header that has just ended may have its news still waiting in the
    // queue: it arrives first, so that its body is not taken for header.
    QCoreApplication::sendPostedEvents(m_risposta, QEvent::MetaCall);
    if (!m_risposta || mblnIntestazione)
        return;
    if (letti > m_lettiPrima)
        m_ultimaCrescita = m_attesa.elapsed();
    m_lettiPrima = letti;
    // Past the limit at two looks in a row: over an encrypted connection the
    // bytes read may already hold some of a body whose header Qt is reading.
    m_oltreLimite = letti > network::kLimiteIntestazione ? m_oltreLimite + 1 : 0;
    if (m_oltreLimite >= 2)
        Interrompi(Motivo::Intestazione);
}

void frmDownload::wscHTTP_SendComplete()
{
    Attivita();
    if (!m_inizio.isValid())
        m_inizio.start();
    lblStatus->setText(L("frmDownload", "richiestainoltrata"));
}

void frmDownload::wscHTTP_Header()
{
    Attivita();
    if (!m_risposta)
        return;
    const qint64 lunghezza = m_risposta->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (lunghezza > mlngLimiteCorpo) {
        Interrompi(Motivo::TroppoGrande);
        return;
    }
    mlngDimensione = qint32(std::max<qint64>(lunghezza, 0));
    mblnIntestazione = true;
}

void frmDownload::wscHTTP_DataArrival()
{
    Attivita();
    if (!m_risposta)
        return;
    lblStatus->setText(mstrRicezione);
    mstrDati += m_risposta->readAll();
    if (mstrDati.size() > mlngLimiteCorpo) {
        Interrompi(Motivo::TroppoGrande);
        return;
    }
    // Body bytes only: the reply comes uncompressed (see the request), so
    // they count against the announced length.
    mlngRicevuti = qint32(mstrDati.size());
    lblReceive->setText(QString::number(mlngRicevuti) + QStringLiteral(" bytes"));
    if (mlngDimensione > 0) {
        lblSize->setText(QString::number(mlngDimensione) + QStringLiteral(" bytes"));
        ProgressBar1->setValue(std::min(100.0, mlngRicevuti / (mlngDimensione / 100.0)));
    }
}

void frmDownload::Interrompi(Motivo motivo)
{
    // abort() ends the reply here at once, but tells Qt's reading thread only
    // after its finished signal, and a thread still reading a header hears it
    // only once its reading stops. So: the abort first, then the connections
    // reset (the thread's next read fails, and the abort waiting for it comes
    // before any new attempt), and only then the end of the transfer, whose
    // message waits for the user.
    m_motivo = motivo;
    QNetworkReply* r = m_risposta;
    if (!r)
        return;
    disconnect(r, &QNetworkReply::finished, this, &frmDownload::wscHTTP_Close);
    r->abort();
    m_connessioni.Interrompi();
    wscHTTP_Close();
}

void frmDownload::Tempo_scaduto()
{
    // Waiting for a header while bytes kept coming in the second half of the
    // wait: the server did not stop, its header never ended.
    Sorveglia_intestazione();
    if (!m_risposta)
        return;
    const bool intestazione = !mblnIntestazione && m_ultimaCrescita >= mintTempoMassimo / 2;
    Interrompi(intestazione ? Motivo::Intestazione : Motivo::Scaduto);
}

void frmDownload::wscHTTP_Close()
{
    QNetworkReply* r = m_risposta;
    if (!r || mblnCompletato)
        return;
    m_scadenza->stop();
    m_guardia->stop();
    m_connessioni.Fine();
    m_risposta = nullptr;
    r->disconnect(this);
    r->deleteLater();
    if (m_motivo == Motivo::Nessuno)
        mstrDati += r->readAll();
    const QString voce = cmbFileRemoto->currentText();
    if (m_motivo == Motivo::Scaduto) {
        Termina_con_errore(L("frmDownload", "temposcaduto") + kCrLf + voce);
        return;
    }
    if (m_motivo == Motivo::TroppoGrande) {
        Termina_con_errore(L("frmDownload", "troppogrande") + kCrLf + voce);
        return;
    }
    if (m_motivo == Motivo::Intestazione) {
        Termina_con_errore(L("frmDownload", "intestazionelunga") + kCrLf + voce);
        return;
    }
    const int stato = r->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString rigaStato = QStringLiteral("HTTP %1 %2")
                                  .arg(stato)
                                  .arg(r->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())
                                  .trimmed();
    const QNetworkReply::NetworkError errore = r->error();
    if (errore == QNetworkReply::TooManyRedirectsError || errore == QNetworkReply::InsecureRedirectError) {
        Termina_con_errore(L("frmDownload", "redirectrifiutato") + kCrLf + r->errorString());
        return;
    }
    if (errore == QNetworkReply::SslHandshakeFailedError) {
        Termina_con_errore(Testo_certificato(voce, r->errorString()));
        return;
    }
    if (errore != QNetworkReply::NoError && stato < 300) {
        // No reply, or one that broke off: the header had come when the
        // connection ended before the announced body or the last chunk.
        Termina_con_errore(errore == QNetworkReply::RemoteHostClosedError && mblnIntestazione
                               ? L("frmDownload", "rispostaincompleta") + kCrLf + voce
                               : QStringLiteral("Error #: ") + QString::number(int(errore)) + kCrLf +
                                     r->errorString());
        return;
    }
    if (stato < 200 || stato > 299 || mstrDati.isEmpty()) {
        // An error page, a redirect not followed, or a success without a
        // file: saving it would spoil the user's element file.
        Termina_con_errore(L("frmDownload", "errorehttp") + kCrLf + rigaStato);
        return;
    }
    const network::ControlloElementi controllo = network::Controlla_elementi(mstrDati);
    if (!controllo.valido) {
        const char* motivo = controllo.controllo ? "nomecontrollo"
                             : controllo.da > 0  ? "camponumerico"
                                                 : "nonelementi";
        QString dove = L("frmDownload", "riga") + u' ' + QString::number(controllo.riga);
        if (controllo.da > 0)
            dove += QStringLiteral(", ") + L("MDIForm1", "colonne") + u' ' + QString::number(controllo.da) + u'-'
                + QString::number(controllo.a);
        Termina_con_errore(L("frmDownload", motivo) + kCrLf + dove + kCrLf + voce);
        return;
    }
    Salva_file();
}

QString frmDownload::Testo_certificato(const QString& voce, const QString& motivo) const
{
    // Only an authority this computer does not know is mended on this
    // computer, by trusting it (its certificate in the system's store). A
    // certificate for another name, or outside its dates, is the server's
    // to mend, whoever signed it.
    bool autorita = false;
    const QSslError* nome = nullptr;
    const QSslError* date = nullptr;
    for (const QSslError& e : m_erroriSsl) {
        switch (e.error()) {
        case QSslError::SelfSignedCertificate:
        case QSslError::SelfSignedCertificateInChain:
        case QSslError::UnableToGetIssuerCertificate:
        case QSslError::UnableToGetLocalIssuerCertificate:
        case QSslError::UnableToVerifyFirstCertificate:
        case QSslError::CertificateUntrusted:
            autorita = true;
            break;
        case QSslError::HostNameMismatch:
            nome = &e;
            break;
        case QSslError::CertificateExpired:
        case QSslError::CertificateNotYetValid:
            if (!date)
                date = &e;
            break;
        default:
            break;
        }
    }
    // No word on the certificate: the secure connection failed otherwise
    // (a server that does not speak TLS there, no protocol in common).
    const char* titolo = m_erroriSsl.isEmpty() ? "connessionesicura"
                         : autorita || (!nome && !date) ? "certificatorifiutato"
                         : nome                         ? "certificatonome"
                                                        : "certificatodate";
    QString testo = L("frmDownload", titolo) + kCrLf + voce + kCrLf + motivo;
    if (nome) {
        // The names the certificate is for (at most ten), as the server sent them.
        const QSslCertificate c = nome->certificate();
        QStringList nomi;
        const auto alternativi = c.subjectAlternativeNames();
        for (auto it = alternativi.cbegin(); it != alternativi.cend(); ++it)
            if (it.key() == QSsl::DnsEntry || it.key() == QSsl::IpAddressEntry)
                nomi << it.value();
        if (nomi.isEmpty())
            nomi = c.subjectInfo(QSslCertificate::CommonName);
        nomi.removeDuplicates();
        const bool altri = nomi.size() > 10;
        nomi = nomi.mid(0, 10);
        for (QString& n : nomi)
            n = vb::displayable(n.left(100));
        testo += kCrLf + L("frmDownload", "certificatonomi") + u' ' + nomi.join(QStringLiteral(", ")) +
                 (altri ? QStringLiteral(", ...") : QString());
    }
    if (date) {
        const QSslCertificate c = date->certificate();
        const auto giorno = [](const QDateTime& d) {
            return d.isValid() ? d.toUTC().toString(QStringLiteral("yyyy-MM-dd")) : QStringLiteral("?");
        };
        testo += kCrLf + L("frmDownload", "certificatovalido")
                             .arg(giorno(c.effectiveDate()), giorno(c.expiryDate()),
                                  giorno(QDateTime::currentDateTimeUtc()));
    }
    if (autorita)
        testo += kCrLf + kCrLf + L("frmDownload", "certificatoprivato");
    QStringList consigli;
    if (nome)
        consigli << L("frmDownload", "certificatonomeconsiglio");
    if (date)
        consigli << L("frmDownload", "certificatodateconsiglio");
    if (!consigli.isEmpty()) {
        if (!autorita)
            consigli.prepend(L("frmDownload", "certificatoinutile"));
        testo += kCrLf + kCrLf + consigli.join(u' ');
    }
    return testo;
}

void frmDownload::Salva_file()
{
    // Written whole to a temporary that then takes the chosen file's place:
    // a full disk leaves the old file as it was, and the reason is the
    // system's ("No space left on device").
    QString errore;
    if (!vb::writeFileWhole(mstrFileLocale, mstrDati + QByteArrayLiteral("\r\n"), &errore) && errore.isEmpty())
        errore = L("frmFile", "nonscrittointero");
    if (!errore.isEmpty()) {
        Termina_con_errore(L("frmDownload", "erroresalvataggio") + kCrLf + mstrFileLocale + kCrLf + errore);
        return;
    }
    if (!gstrDatabasePrimario.isEmpty() && mstrFileLocale == gstrDatabasePrimario)
        pflgSostituzione = true;
    mblnCompletato = true;
    Fine_trasferimento(true);
    lblStatus->setText(L("frmDownload", "downloadcompleto"));
}

void frmDownload::Termina_con_errore(const QString& testo)
{
    Fine_trasferimento(false);
    // A transfer ends on its own: the user may be typing in another program
    // meanwhile, and is told once back in this one.
    common::Al_Ritorno(this, [testo] { platform::MsgBox(testo, platform::vbExclamation); });
}

double frmDownload::secondiDallaRichiesta() const
{
    if (m_secondi)
        return m_secondi();
    return m_inizio.isValid() ? double(m_inizio.elapsed()) / 1000.0 : 0.0;
}

void frmDownload::tmrTimeLeft_Timer()
{
    if (mlngDimensione - mlngRicevuti <= 0 || mlngRicevuti <= 0)
        return;
    if (const auto v = network::Velocita(mlngRicevuti, secondiDallaRichiesta()))
        msngVelocita = *v;
    if (++mintSecondi == 60) {
        mintSecondi = 0;
        if (++mintMinuti == 60) {
            mintMinuti = 0;
            ++mintOre;
        }
    }
    lblSpeed->setText(network::Testo_velocita(msngVelocita));
    lblElapsed->setText(Contatore(mintOre, mintMinuti, mintSecondi));
    if (const auto s = network::Secondi_rimasti(mlngDimensione, mlngRicevuti, msngVelocita))
        lblRemaining->setText(mGlobal::Formatta_Durata(float(*s)));
}

void frmDownload::Chiudi_connessione()
{
    m_scadenza->stop();
    m_guardia->stop();
    if (QNetworkReply* r = m_risposta) {
        m_risposta = nullptr;
        r->disconnect(this);
        r->abort();
        m_connessioni.Interrompi();
        r->deleteLater();
    }
}

void frmDownload::Fine_trasferimento(bool completato)
{
    Chiudi_connessione();
    if (completato) {
        ProgressBar1->setValue(100);
        lblElapsed->setText(Contatore(mintOre, mintMinuti, mintSecondi));
        cmdOK->setEnabled(false);
        cmdCancel->setCaption(L("Buttons", "close"));
    } else {
        ProgressBar1->setValue(0);
        lblSpeed->setText(QStringLiteral("0 KB"));
        lblElapsed->setText(QStringLiteral("00:00:00"));
        lblReceive->clear();
        lblSize->clear();
        cmdOK->setEnabled(true);
        cmdCancel->setCaption(L("Buttons", "cancel"));
    }
    lblRemaining->setText(QStringLiteral("00:00:00"));
    cmbFileRemoto->setEnabled(true);
    lblStatus->clear();
    mintSecondi = mintMinuti = mintOre = 0;
    mblnIntestazione = false;
    mlngDimensione = 0;
    mlngRicevuti = 0;
}

void frmDownload::cmdCancel_Click()
{
    if (inCorso()) {
        Fine_trasferimento(false);
        platform::MsgBox(L("frmDownload", "downloadinterrotto") + kCrLf + cmbFileRemoto->currentText(),
                         platform::vbExclamation);
    }
    Chiudi_connessione();
    accept();
}

void frmDownload::cmdHelp_Click()
{
    Mostra_Aiuto(205, this);
}

void frmDownload::closeEvent(QCloseEvent* e)
{
    Chiudi_connessione();
    QDialog::closeEvent(e);
}

void frmDownload::reject()
{
    Chiudi_connessione();
    QDialog::reject();
}
