#include "platform/net/HttpGet.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

struct CHttpGet::Transfer
{
    QNetworkAccessManager* manager = nullptr; // children of the request object
    QPointer<QNetworkReply> reply;
    QTimer* timer = nullptr;
};

CHttpGet::CHttpGet(QObject* parent) : QObject(parent), m_transfer(std::make_unique<Transfer>()) {}

CHttpGet::~CHttpGet()
{
    if (QNetworkReply* reply = m_transfer->reply) {
        // Aborting emits the reply's finished signal; nothing of ours may answer it any more.
        reply->disconnect(this);
        reply->abort();
    }
}

bool CHttpGet::IsWebAddress(const std::string& address)
{
    const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

void CHttpGet::Start(const std::string& address, const std::string& userAgent, int timeoutMs, size_t maxBytes)
{
    if (!IsWebAddress(address)) {
        QTimer::singleShot(0, this, [this] { Finish(false, 0, std::string()); });
        return;
    }
    m_transfer->manager = new QNetworkAccessManager(this);
    QNetworkRequest request{QUrl(QString::fromStdString(address))};
    request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromStdString(userAgent));
    request.setTransferTimeout(timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply* reply = m_transfer->manager->get(request);
    m_transfer->reply = reply;

    // The transfer timeout covers a silent transfer; this one bounds the whole request.
    m_transfer->timer = new QTimer(this);
    m_transfer->timer->setSingleShot(true);
    connect(m_transfer->timer, &QTimer::timeout, this, [this] {
        if (m_transfer->reply)
            m_transfer->reply->abort();
    });
    m_transfer->timer->start(timeoutMs);

    connect(reply, &QNetworkReply::finished, this, [this, maxBytes] {
        QNetworkReply* done = m_transfer->reply;
        if (!done)
            return;
        const int status = done->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const bool ok = done->error() == QNetworkReply::NoError && status == 200;
        const QByteArray body = ok ? done->read(static_cast<qint64>(maxBytes)) : QByteArray();
        done->deleteLater();
        m_transfer->reply = nullptr;
        Finish(ok, status, body.toStdString());
    });
}

void CHttpGet::Finish(bool ok, int status, std::string body)
{
    if (m_finished)
        return;
    m_finished = true;
    if (m_transfer->timer)
        m_transfer->timer->stop();
    m_result = HttpGetResult{ok, status, ok ? std::move(body) : std::string()};
    emit Finished();
}

HttpGetResult CHttpGet::Fetch(const std::string& address, const std::string& userAgent, int timeoutMs, size_t maxBytes)
{
    CHttpGet get;
    QEventLoop loop;
    QObject::connect(&get, &CHttpGet::Finished, &loop, &QEventLoop::quit);
    get.Start(address, userAgent, timeoutMs, maxBytes);
    if (!get.IsFinished())
        loop.exec();
    return get.Result();
}
