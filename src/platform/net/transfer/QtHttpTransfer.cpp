// The network library's side of an HTTP GET, in the module loaded with the first request.
#include "platform/net/HttpTransfer.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QUrl>

#include <utility>

namespace {

class CQtHttpTransfer final : public CHttpTransfer
{
public:
    CQtHttpTransfer(const char* address, const char* userAgent, int timeoutMs, std::size_t maxBytes, Done done)
        : m_done(std::move(done))
    {
        QNetworkRequest request{QUrl(QString::fromUtf8(address))};
        request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromUtf8(userAgent));
        request.setTransferTimeout(timeoutMs);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        m_reply = m_manager.get(request);
        QObject::connect(m_reply, &QNetworkReply::finished, &m_receiver, [this, maxBytes] {
            QNetworkReply* done = m_reply;
            if (!done)
                return;
            const int status = done->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
            const bool ok = done->error() == QNetworkReply::NoError && status == 200;
            const QByteArray body = ok ? done->read(static_cast<qint64>(maxBytes)) : QByteArray();
            done->deleteLater();
            m_reply = nullptr;
            // Last: whoever is told may delete this transfer.
            m_done(ok, status, body.toStdString());
        });
    }

    ~CQtHttpTransfer() override
    {
        if (QNetworkReply* reply = m_reply) {
            // Aborting emits the reply's finished signal; nothing of ours may answer it any more.
            QObject::disconnect(reply, nullptr, &m_receiver, nullptr);
            reply->abort();
        }
    }

    void Abort() override
    {
        if (QNetworkReply* reply = m_reply)
            reply->abort();
    }

private:
    Done m_done;
    QNetworkAccessManager m_manager; // owns the reply
    QObject m_receiver;              // the reply's signals reach this transfer through it
    QPointer<QNetworkReply> m_reply;
};

} // namespace

extern "C" __attribute__((visibility("default"))) CHttpTransfer*
ORVEX_START_HTTP_TRANSFER(const char* address, const char* userAgent, int timeoutMs, std::size_t maxBytes,
                          CHttpTransfer::Done done)
{
    return new CQtHttpTransfer(address, userAgent, timeoutMs, maxBytes, std::move(done));
}
