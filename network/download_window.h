#pragma once
// The download window: fetches one element file over HTTP from an entry of
// the options' download list and saves it under a name the user chooses.
// The file is written only when the whole reply has arrived and is sound,
// through a temporary that then replaces the chosen file, so a cancelled or
// failed transfer leaves whatever stood there as it was. Modal.
#include <QDialog>
#include <QElapsedTimer>

class GraphButton;
class ProgressBar;
class QCheckBox;
class QComboBox;
class QLabel;
class QTimer;

namespace options {
class TcpClient;
}

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
    options::TcpClient* wscHTTP = nullptr;
    QTimer* tmrTimeLeft = nullptr;

    // The server's port (80; tests talk to a server of their own).
    int mintPorta = 80;

    void Form_Load();
    void Lingua();
    void chkConnessione_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();
    void cmbFileRemoto_DropDown();
    void wscHTTP_Connect();
    void wscHTTP_SendProgress();
    void wscHTTP_SendComplete();
    void wscHTTP_DataArrival(qint64 bytesTotal);
    void wscHTTP_Close();
    void wscHTTP_Error(int number, const QString& description);
    void tmrTimeLeft_Timer();
    void Chiudi_connessione();
    void Fine_trasferimento(bool completato);

    // Transfer state (read by tests).
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
    void Termina_con_errore(const QString& testo);
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
    bool m_chiusuraInCorso = false;
};
