#include "network/download_window.h"
#include "common/refilling_combo.h"

#include "controls/graph_button.h"
#include "controls/progress_bar.h"
#include "core/clock.h"
#include "core/mglobal.h"
#include "core/mlang.h"
#include "core/mreg.h"
#include "core/settings.h"
#include "database/database_window.h"
#include "network/http_reply.h"
#include "network/http_socket.h"
#include "platform/file_chooser.h"
#include "platform/help_service.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/vb.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSaveFile>
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
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setMinimumWidth(110);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QLabel* didascalia(QWidget* parent, const char* name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QString Contatore(int ore, int minuti, int secondi)
{
    const auto due = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return due(ore) + u':' + due(minuti) + u':' + due(secondi);
}

} // namespace

frmDownload::frmDownload(QWidget* parent) : QDialog(parent)
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
    wscHTTP = new options::TcpClient(this);
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
    connect(wscHTTP, &options::TcpClient::Connected, this, &frmDownload::wscHTTP_Connect);
    connect(wscHTTP, &options::TcpClient::SendProgress, this, &frmDownload::wscHTTP_SendProgress);
    connect(wscHTTP, &options::TcpClient::SendComplete, this, &frmDownload::wscHTTP_SendComplete);
    connect(wscHTTP, &options::TcpClient::DataArrival, this, &frmDownload::wscHTTP_DataArrival);
    connect(wscHTTP, &options::TcpClient::Closed, this, &frmDownload::wscHTTP_Close);
    connect(wscHTTP, &options::TcpClient::Error, this, &frmDownload::wscHTTP_Error);
    connect(tmrTimeLeft, &QTimer::timeout, this, &frmDownload::tmrTimeLeft_Timer);
    Form_Load();
    setFixedSize(sizeHint().expandedTo(QSize(560, 250)));
    tmrTimeLeft->start();
}

frmDownload::~frmDownload() = default;

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
        platform::MsgBox(e.text(), platform::vbExclamation);
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
    const options::http::Indirizzo indirizzo = options::http::Dividi_URL(voce);
    mstrHost = indirizzo.host;
    mstrPercorso = indirizzo.percorso;

    mstrDati.clear();
    mblnIntestazione = false;
    mblnCompletato = false;
    mlngDimensione = 0;
    mlngRicevuti = 0;
    msngVelocita = 0;
    m_inizio.invalidate();
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
    wscHTTP->Connect(mstrHost, mintPorta);
}

void frmDownload::wscHTTP_Connect()
{
    wscHTTP->SendData(options::http::Richiesta({mstrHost, mstrPercorso}));
    m_inizio.start();
}

void frmDownload::wscHTTP_SendProgress()
{
    lblStatus->setText(L("frmDownload", "richiestaincorso"));
}

void frmDownload::wscHTTP_SendComplete()
{
    lblStatus->setText(L("frmDownload", "richiestainoltrata"));
}

void frmDownload::wscHTTP_DataArrival(qint64 bytesTotal)
{
    lblStatus->setText(mstrRicezione);
    const bool intestazione = mblnIntestazione;
    mstrDati += wscHTTP->GetData();
    mlngRicevuti += qint32(bytesTotal);
    if (intestazione) {
        lblReceive->setText(QString::number(mlngRicevuti) + QStringLiteral(" bytes"));
        if (mlngDimensione > 0) {
            lblSize->setText(QString::number(mlngDimensione) + QStringLiteral(" bytes"));
            ProgressBar1->setValue(std::min(100.0, mlngRicevuti / (mlngDimensione / 100.0)));
        }
        return;
    }
    const qsizetype p = options::http::Fine_intestazione(mstrDati);
    if (p < 0)
        return;
    mblnIntestazione = true;
    // The body bytes already in.
    mlngRicevuti = qint32(mstrDati.size() - (p + 4));
    mlngDimensione = options::http::Leggi_lunghezza(mstrDati.left(p));
}

void frmDownload::wscHTTP_Close()
{
    if (mblnCompletato)
        return;
    Chiudi_connessione();
    using options::http::Esito;
    const options::http::Risposta risposta = options::http::Esamina_risposta(mstrDati);
    if (risposta.esito == Esito::ErroreServer) {
        // The server answered with an error page: nothing is saved.
        Termina_con_errore(L("frmDownload", "errorehttp") + kCrLf + QString::fromLatin1(risposta.rigaStato));
        return;
    }
    if (risposta.esito == Esito::Incompleta) {
        Termina_con_errore(L("frmDownload", "rispostaincompleta") + kCrLf + cmbFileRemoto->currentText());
        return;
    }
    // Written whole to a temporary that then takes the chosen file's place.
    QSaveFile file(mstrFileLocale);
    QString errore;
    if (!file.open(QIODevice::WriteOnly)) {
        errore = file.errorString();
    } else {
        file.write(risposta.corpo);
        file.write("\r\n");
        if (!file.commit())
            errore = file.errorString();
    }
    if (!errore.isEmpty()) {
        Termina_con_errore(L("frmDownload", "erroresalvataggio") + kCrLf + mstrFileLocale + kCrLf + errore);
        return;
    }
    if (!gstrDatabasePrimario.isEmpty() && mstrFileLocale == gstrDatabasePrimario)
        pflgSostituzione = true;
    mstrDati = risposta.corpo;
    mblnCompletato = true;
    Fine_trasferimento(true);
    lblStatus->setText(L("frmDownload", "downloadcompleto"));
}

void frmDownload::Termina_con_errore(const QString& testo)
{
    Fine_trasferimento(false);
    platform::MsgBox(testo, platform::vbExclamation);
}

void frmDownload::wscHTTP_Error(int number, const QString& description)
{
    platform::MsgBox(QStringLiteral("Error #: ") + QString::number(number) + kCrLf + description,
                     platform::vbExclamation);
    Fine_trasferimento(false);
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
    if (const auto v = options::http::Velocita(mlngRicevuti, secondiDallaRichiesta()))
        msngVelocita = *v;
    if (++mintSecondi == 60) {
        mintSecondi = 0;
        if (++mintMinuti == 60) {
            mintMinuti = 0;
            ++mintOre;
        }
    }
    lblSpeed->setText(options::http::Testo_velocita(msngVelocita));
    lblElapsed->setText(Contatore(mintOre, mintMinuti, mintSecondi));
    if (const auto s = options::http::Secondi_rimasti(mlngDimensione, mlngRicevuti, msngVelocita))
        lblRemaining->setText(mGlobal::Formatta_Durata(float(*s)));
}

void frmDownload::Chiudi_connessione()
{
    if (wscHTTP->State() != 0) {
        wscHTTP->Close();
        wscHTTP->setLocalPort(0);
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
    if (wscHTTP->State() > 0) {
        Fine_trasferimento(false);
        platform::MsgBox(L("frmDownload", "downloadinterrotto") + kCrLf + cmbFileRemoto->currentText(),
                         platform::vbExclamation);
    }
    Chiudi_connessione();
    accept();
}

void frmDownload::cmdHelp_Click()
{
    if (platform::HelpService* help = platform::services().help)
        help->showContext(205, this);
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
