#pragma once
// The TCP client the download and clock windows talk through: connect, send,
// take what has arrived, close, and the events of the classic socket control
// (connected, data arrived, the peer closed, an error, send progress and
// completion). One connection at a time; Close() by us raises no Close event.
#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpSocket;

namespace options {

class TcpClient : public QObject {
    Q_OBJECT
public:
    explicit TcpClient(QObject* parent = nullptr);
    ~TcpClient() override;

    // Starts connecting; the outcome arrives as Connect or Error.
    void Connect(const QString& host, int port);
    // Sends the bytes as they are.
    void SendData(const QByteArray& bytes);
    // Everything that has arrived and not been taken yet.
    QByteArray GetData();
    // Ends the connection at once (no Close event for it).
    void Close();
    // 0 closed, any other value: resolving, connecting, connected or closing.
    int State() const;
    // The local port of the next connection (0: any).
    void setLocalPort(int port) { m_localPort = port; }
    int LocalPort() const { return m_localPort; }

signals:
    void Connected();
    void DataArrival(qint64 bytesTotal);
    void Closed();                        // the peer ended the connection
    void Error(int number, const QString& description);
    void SendProgress(qint64 bytesSent, qint64 bytesRemaining);
    void SendComplete();

private:
    void nuovoSocket();
    void leggi();

    QTcpSocket* m_socket = nullptr;
    QByteArray m_ricevuti;
    int m_localPort = 0;
    bool m_chiudendo = false;
};

} // namespace options
