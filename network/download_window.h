#pragma once
// The download window: fetches one element file over HTTP or HTTPS from an
// entry of the options' download list and saves it under a name the user
// chooses. Redirects are followed (a few at most, never from HTTPS to HTTP),
// a server silent for too long or whose header runs past its bound is given
// up, its connection reset at once, and the file is written only
// when the whole reply has arrived, succeeded and holds element sets,
// through a temporary that then replaces the chosen file: a cancelled or
// failed transfer leaves whatever stood there byte for byte. Modal.
#include "platform/tcp_connections.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QSslError>
#include <functional>

class GraphButton;
class ProgressBar;
class QCheckBox;
class QComboBox;
class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

class frmDownload : public QDialog {
    Q_OBJECT
public:
    explicit frmDownload(QWidget* parent = nullptr);
    ~frmDownload() override;

    // Shows the window modally; afterwards, when the principal element file
    // was replaced, offers to reload it (the Tools menu's command).
    static void Mostra(QWidget* parent = nullptr);

    QComboBox* cmbFileRemoto = nullptr;
    QCheckBox* chkConnessione = nullptr;
    GraphButton* cmdOK = nullptr;
    GraphButton* cmdCancel = nullptr;
    GraphButton* cmdHelp = nullptr;
    ProgressBar* ProgressBar1 = nullptr;
    QLabel* lblSize = nullptr;
    QLabel* lblReceive = nullptr;
    QLabel* lblSpeed = nullptr;
    QLabel* lblElapsed = nullptr;
    QLabel* lblRemaining = nullptr;
    QLabel* lblStatus = nullptr;
    QLabel* lblDimensione = nullptr;
    QLabel* lblRicevuti = nullptr;
    QLabel* lblVelocita = nullptr;
    QLabel* lblFileRemoto = nullptr;
    QLabel* lblTempoRimasto = nullptr;
    QLabel* lblTempoTrascorso = nullptr;
    QNetworkAccessManager* wscHTTP = nullptr;
    QTimer* tmrTimeLeft = nullptr;

    // Milliseconds without a byte from the server before the transfer is
    // given up, and the largest body taken (tests make them small).
    int mintTempoMassimo;
    qint64 mlngLimiteCorpo;

    void Form_Load();
    void Lingua();
    void chkConnessione_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();
    void cmbFileRemoto_DropDown();
    // The reply's events: request sent, header arrived, body bytes arrived
    // (with the figures), and the end of the reply (success or not).
    void wscHTTP_SendComplete();
    void wscHTTP_Header();
    void wscHTTP_DataArrival();
    void wscHTTP_Close();
    void tmrTimeLeft_Timer();
    void Chiudi_connessione();
    void Fine_trasferimento(bool completato);

    // Transfer state (read by tests).
    bool inCorso() const { return !m_risposta.isNull(); }
    QString host() const { return mstrHost; }
    QString percorso() const { return mstrPercorso; }
    qint32 dimensione() const { return mlngDimensione; }
    qint32 ricevuti() const { return mlngRicevuti; }
    bool completato() const { return mblnCompletato; }
    // Seconds since the request was sent (the timer's clock); tests may set it.
    void setSecondiTrascorsiPerProva(std::function<double()> f) { m_secondi = std::move(f); }
    void setContatore(int ore, int minuti, int secondi)
    {
        mintOre = ore;
        mintMinuti = minuti;
        mintSecondi = secondi;
    }

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    enum class Motivo { Nessuno, Scaduto, TroppoGrande, Intestazione };
    void Termina_con_errore(const QString& testo);
    // The message of a refused secure connection: why, from the certificate
    // errors Qt listed, and what mends it.
    QString Testo_certificato(const QString& voce, const QString& motivo) const;
    void Salva_file();
    void Attivita();
    void Tempo_scaduto();
    void Sorveglia_intestazione();
    void Interrompi(Motivo motivo);
    double secondiDallaRichiesta() const;

    QString mstrHost;
    QString mstrPercorso;
    QByteArray mstrDati;
    bool mblnCompletato = false;
    bool mblnIntestazione = false;
    qint32 mlngDimensione = 0;
    qint32 mlngRicevuti = 0;
    QString mstrFileLocale;
    double msngVelocita = 0;
    QElapsedTimer m_inizio;   // from the request
    int mintSecondi = 0, mintMinuti = 0, mintOre = 0;
    QString mstrRicezione;
    std::function<double()> m_secondi;
    QPointer<QNetworkReply> m_risposta;
    QTimer* m_scadenza = nullptr;   // silence of the server
    Motivo m_motivo = Motivo::Nessuno;
    QList<QSslError> m_erroriSsl;    // of the transfer's last handshake
    // The reply's header as it comes, which Qt keeps to itself until it has
    // ended: bytes read from the connections, looked at a few times a second.
    platform::Connessioni m_connessioni;
    platform::Connessioni::Estremo m_estremo;   // where the request goes now: the server or the proxy
    QTimer* m_guardia = nullptr;
    QElapsedTimer m_attesa;          // since the server last did something
    qint64 m_lettiPrima = 0;         // at the previous look
    qint64 m_ultimaCrescita = -1;    // ms of m_attesa when the count last grew
    int m_oltreLimite = 0;           // looks in a row past the header's limit
};
