#pragma once
// The clock window: sets the computer's clock from a time server chosen from
// the list of the options (TIME protocol, TCP port 37). Modal; the program
// clock follows at its next tick when it uses the computer's time.
#include <QDialog>
#include <QElapsedTimer>

#include "network/time_protocol.h"

class QTcpSocket;
class QTimer;

class GraphButton;
class QCheckBox;
class QComboBox;
class QLabel;

class frmSyncro : public QDialog {
    Q_OBJECT
public:
    explicit frmSyncro(QWidget* parent = nullptr);
    ~frmSyncro() override;

    // Shows the window modally and returns when it has closed.
    static void Mostra(QWidget* parent = nullptr);

    QComboBox* cmbURL = nullptr;
    QCheckBox* chkConnessione = nullptr;
    GraphButton* cmdOK = nullptr;
    GraphButton* cmdCancel = nullptr;
    GraphButton* cmdHelp = nullptr;
    QLabel* lblServer = nullptr;
    QLabel* lblStatus = nullptr;
    QTcpSocket* Winsock1 = nullptr;

    // The server's port (37; tests talk to a server of their own).
    int mintPorta = 37;
    // Milliseconds without a reply before the exchange is given up.
    int mintTempoMassimo = 15000;
    // Milliseconds the connection may stay open after the four bytes of the
    // reply before they are taken as the whole reply (a fifth byte within
    // them makes the reply invalid).
    int mintAttesaChiusura = 500;

    void Form_Load();
    void Lingua();
    void chkConnessione_Click();
    void cmbURL_DropDown();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdHelp_Click();
    void Connetti_server();
    void Winsock1_Connect();
    void Winsock1_DataArrival();
    void Winsock1_Close();
    void Winsock1_Error(int number, const QString& description);
    // Sets the computer's clock from the server's reply; a time more than a
    // day away from the computer's clock is set only when the user agrees.
    void Imposta_orologio(const QByteArray& risposta);

    const QByteArray& risposta() const { return mstrRisposta.byte(); }

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    void puntatoreNormale();
    void Chiudi_connessione();
    void Tempo_scaduto();
    void Risposta_completa();

    network::timeproto::Raccolta mstrRisposta;
    double msngRitardo = 0;     // half the round trip, seconds
    QElapsedTimer m_giro;       // from the connection
    QTimer* m_scadenza = nullptr;
    QTimer* m_attesaChiusura = nullptr;   // after four bytes, for the close
    qint64 m_arrivo = 0;                  // ms from the connection to the fourth byte
    bool m_attivo = false;      // an exchange is running
};
