#pragma once
// A small HTTP server on 127.0.0.1 for the tests of the program's HTTP requests: it answers every
// request with one canned reply, or ("silent") accepts and never answers. Test folders that use it
// link Qt6::Network.
#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Answers every request with one canned reply; "silent" accepts and never answers.
class CTinyHttpServer
{
public:
    enum class Mode
    {
        Answer,
        Silent
    };

    explicit CTinyHttpServer(Mode mode, QByteArray reply = {}) : m_mode(mode), m_reply(std::move(reply))
    {
        EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                m_sockets.push_back(socket);
                QObject::connect(socket, &QTcpSocket::readyRead, [this, socket] {
                    m_request += socket->readAll();
                    if (m_mode == Mode::Answer && m_request.contains("\r\n\r\n")) {
                        socket->write(m_reply);
                        socket->flush();
                        socket->disconnectFromHost();
                    }
                });
            }
        });
    }
    std::string Address(const char* path = "/software/orvex2.txt") const
    {
        return "http://127.0.0.1:" + std::to_string(m_server.serverPort()) + path;
    }
    const QByteArray& Request() const { return m_request; }

    static QByteArray Ok(const QByteArray& body)
    {
        return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size()) +
               "\r\nConnection: close\r\n\r\n" + body;
    }

private:
    Mode m_mode;
    QByteArray m_reply;
    QByteArray m_request;
    QTcpServer m_server;
    std::vector<QTcpSocket*> m_sockets;
};
