#include "network/http_socket.h"

#include <QTcpSocket>

namespace options {

TcpClient::TcpClient(QObject* parent) : QObject(parent)
{
    nuovoSocket();
}

TcpClient::~TcpClient()
{
    m_chiudendo = true;
    if (m_socket)
        m_socket->abort();
}

void TcpClient::nuovoSocket()
{
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
    }
    m_socket = new QTcpSocket(this);
    connect(m_socket, &QTcpSocket::connected, this, [this] { emit Connected(); });
    connect(m_socket, &QTcpSocket::readyRead, this, &TcpClient::leggi);
    connect(m_socket, &QTcpSocket::bytesWritten, this, [this](qint64 n) {
        emit SendProgress(n, m_socket->bytesToWrite());
        if (m_socket->bytesToWrite() == 0)
            emit SendComplete();
    });
    connect(m_socket, &QTcpSocket::disconnected, this, [this] {
        if (m_chiudendo)
            return;
        leggi();  // what came with the close
        emit Closed();
    });
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        // The peer closing is the Close event, not an error.
        if (m_chiudendo || e == QAbstractSocket::RemoteHostClosedError)
            return;
        emit Error(int(e), m_socket->errorString());
    });
}

void TcpClient::leggi()
{
    const QByteArray nuovi = m_socket->readAll();
    if (nuovi.isEmpty())
        return;
    m_ricevuti += nuovi;
    emit DataArrival(nuovi.size());
}

void TcpClient::Connect(const QString& host, int port)
{
    nuovoSocket();
    m_chiudendo = false;
    m_ricevuti.clear();
    if (m_localPort > 0)
        m_socket->bind(QHostAddress::Any, quint16(m_localPort));
    m_socket->connectToHost(host, quint16(port));
}

void TcpClient::SendData(const QByteArray& bytes)
{
    m_socket->write(bytes);
}

QByteArray TcpClient::GetData()
{
    QByteArray out;
    out.swap(m_ricevuti);
    return out;
}

void TcpClient::Close()
{
    m_chiudendo = true;
    m_socket->abort();
    m_ricevuti.clear();
}

int TcpClient::State() const
{
    return int(m_socket->state());  // UnconnectedState is 0
}

} // namespace options
